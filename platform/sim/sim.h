// The simulated desktop: the subset of Win32 types, constants and functions that Quenlix
// calls, declared under their Win32 names so that the program's sources compile unchanged.
// Written from what the program expects of each call; the behaviour lives in the .cpp files
// beside this header, and tests steer it through sim_control.h.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- Basic types -------------------------------------------------------------------------
typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef unsigned int UINT;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef DWORD LCID;
typedef char16_t WCHAR;  // UTF-16 code unit, as on Windows
typedef char CHAR;
typedef CHAR* LPSTR;
typedef const CHAR* LPCSTR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef BOOL* LPBOOL;
typedef WORD* LPWORD;
typedef void* LPVOID;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef size_t SIZE_T;
typedef void* HANDLE;
typedef HANDLE HGLOBAL;
typedef struct SimWindow* HWND;
typedef struct SimInstance* HINSTANCE;
typedef struct SimRect { LONG left, top, right, bottom; } RECT;
typedef const RECT* LPCRECT;

#define WINAPI
#define CALLBACK
#define APIENTRY

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// ---- Code pages -------------------------------------------------------------------------
constexpr int MAX_LEADBYTES = 12;
constexpr int MAX_DEFAULTCHAR = 2;
struct CPINFO {
  UINT MaxCharSize;
  BYTE DefaultChar[MAX_DEFAULTCHAR];
  BYTE LeadByte[MAX_LEADBYTES];
};
typedef CPINFO* LPCPINFO;

constexpr DWORD CT_CTYPE1 = 0x0001;
constexpr WORD C1_UPPER = 0x0001;
constexpr DWORD LCMAP_LOWERCASE = 0x00000100;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x00000008;
constexpr UINT CP_ACP = 0;

UINT GetACP();
BOOL GetCPInfo(UINT codePage, LPCPINFO info);
BOOL GetStringTypeA(LCID locale, DWORD infoType, LPCSTR src, int srcLen, LPWORD charType);
int LCMapStringA(LCID locale, DWORD flags, LPCSTR src, int srcLen, LPSTR dst, int dstLen);
int LCMapStringW(LCID locale, DWORD flags, LPCWSTR src, int srcLen, LPWSTR dst, int dstLen);
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR src, int srcLen, LPWSTR dst,
                        int dstLen);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR src, int srcLen, LPSTR dst,
                        int dstLen, LPCSTR defaultChar, LPBOOL usedDefaultChar);

// ---- Clipboard and global memory ----------------------------------------------------------
constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;

BOOL IsClipboardFormatAvailable(UINT format);
BOOL OpenClipboard(HWND owner);
HANDLE GetClipboardData(UINT format);
BOOL EmptyClipboard();
HANDLE SetClipboardData(UINT format, HANDLE data);
BOOL CloseClipboard();
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
LPVOID GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
HGLOBAL GlobalFree(HGLOBAL block);
int lstrlenA(LPCSTR text);
BOOL InvalidateRect(HWND window, LPCRECT rect, BOOL erase);

// ---- Windows, dialogs and timers ----------------------------------------------------------
typedef INT_PTR (*DLGPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void (*TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_TIMER = 0x0113;

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

constexpr WORD LOWORD(UINT_PTR value) { return static_cast<WORD>(value & 0xFFFF); }

INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC proc,
                        LPARAM init);
BOOL EndDialog(HWND dialog, INT_PTR result);
HWND GetDlgItem(HWND dialog, int id);
BOOL ShowWindow(HWND window, int command);
BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC callback);
BOOL KillTimer(HWND window, UINT_PTR id);

// The program's entry, which the program defines.
int WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
