// The end-to-end tests' hands and eyes: a console program that runs in the same Wine session as
// Quenlix.exe and sees the clipboard and the status window as any neighbouring program does.
//
//   quenlix-cliptool read [FILE]           the CF_TEXT bytes: hex on stdout, or raw into FILE
//   quenlix-cliptool write FILE [HOLD-MS]  puts FILE's bytes on the clipboard as CF_TEXT. With
//                                          HOLD-MS they are offered unrendered and the tool ends
//                                          once another program has read them; from the moment
//                                          that reader closes the clipboard the tool holds it
//                                          open HOLD-MS ms, which shuts out the reader's write
//   quenlix-cliptool hold MS               holds the clipboard open MS ms
//   quenlix-cliptool window                the status window, one "key=value" line each: visible,
//                                          foreground, focus (a control id), text (hex), ok and
//                                          cancel (shown or not), the window, client and work
//                                          area rectangles, and dialog: 212 x 39 dialog units
//                                          in pixels at the template's font
//   quenlix-cliptool command ID            posts WM_COMMAND ID to the status window
//   quenlix-cliptool close                 posts WM_CLOSE to the status window
//   quenlix-cliptool acp                   the ANSI code page
//
// Exit code 0 when the job is done, 1 with a message on stderr when not, 2 for a wrong command,
// 3 when a hold came too late: the reader had written already.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int EXIT_DONE = 0;
constexpr int EXIT_FAILED = 1;
constexpr int EXIT_USAGE = 2;
constexpr int EXIT_LATE = 3;  // the reader wrote before the clipboard could be held

constexpr size_t TEXT_MAX = 65536;          // more than the program ever reads or writes
constexpr size_t LINE_MAX = 2 * TEXT_MAX + 64;  // one "key=hex" line of a whole text
constexpr DWORD READ_WAIT_MS = 30000;       // how long an unrendered offer waits for a reader
constexpr DWORD REOPEN_WAIT_MS = 2000;      // how long to try to open a clipboard held open
constexpr DWORD SERVE_STEP_MS = 100;        // how often the owner looks at its deadline
constexpr DWORD HOLDER_START_MS = 1000;     // how long a reader waits for the holder to start
constexpr char PROGRAM_FILE[] = "quenlix.exe";
constexpr char DIALOG_CLASS[] = "#32770";
constexpr char DIALOG_TEMPLATE[] = "IDDIALOG";
constexpr int IDC_TEXT = 1000;
constexpr int IDC_OK = 1002;
// The status window's size in dialog units, as its template gives it.
constexpr int DIALOG_WIDTH_DLU = 212;
constexpr int DIALOG_HEIGHT_DLU = 39;
// DLGTEMPLATEEX: dlgVer, signature, helpID, exStyle, then the style.
constexpr size_t TEMPLATE_STYLE_OFFSET = 12;

char g_text[TEXT_MAX];
char g_line[LINE_MAX];
char g_seen[TEXT_MAX];
char g_template[TEXT_MAX];

// Plain bytes to the standard output: the C runtime's text mode would add a CR to each line.
void Out(const char* text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, lstrlenA(text), &written, nullptr);
}

int Fail(const char* message) {
  fprintf(stderr, "quenlix-cliptool: %s\n", message);
  return EXIT_FAILED;
}

void OutHexLine(const char* key, const char* bytes, size_t count) {
  size_t at = snprintf(g_line, sizeof g_line, "%s=", key);
  for (size_t i = 0; i < count; ++i)
    at += snprintf(g_line + at, sizeof g_line - at, "%02x", static_cast<unsigned char>(bytes[i]));
  snprintf(g_line + at, sizeof g_line - at, "\n");
  Out(g_line);
}

void OutRectLine(const char* key, const RECT& r) {
  snprintf(g_line, sizeof g_line, "%s=%ld %ld %ld %ld\n", key, r.left, r.top, r.right, r.bottom);
  Out(g_line);
}

void OutNumberLine(const char* key, long long value) {
  snprintf(g_line, sizeof g_line, "%s=%lld\n", key, value);
  Out(g_line);
}

// Another program, Quenlix.exe at its poll above all, may have the clipboard open for a moment.
bool OpenClipboardSoon(HWND window) {
  DWORD start = GetTickCount();
  while (!OpenClipboard(window)) {
    if (GetTickCount() - start > REOPEN_WAIT_MS) return false;
    Sleep(1);
  }
  return true;
}

// The clipboard's CF_TEXT into a TEXT_MAX buffer; the clipboard must be open. Returns the byte
// count, or -1 when there is no text.
long CopyClipText(char* into) {
  HANDLE data = GetClipboardData(CF_TEXT);
  const char* bytes = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
  if (!bytes) return -1;
  size_t count = strnlen(bytes, TEXT_MAX - 1);
  memcpy(into, bytes, count);
  GlobalUnlock(data);
  return static_cast<long>(count);
}

int Read(const char* file) {
  if (!OpenClipboardSoon(nullptr)) return Fail("the clipboard is held open by another window");
  long count = CopyClipText(g_text);
  CloseClipboard();
  if (count < 0) return Fail("the clipboard holds no text");
  if (!file) {
    OutHexLine("text", g_text, count);
    return EXIT_DONE;
  }
  FILE* out = fopen(file, "wb");
  if (!out) return Fail("cannot write the output file");
  fwrite(g_text, 1, count, out);
  fclose(out);
  return EXIT_DONE;
}

HGLOBAL TextBlock(const char* bytes, size_t count) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, count + 1);
  if (block) {
    memcpy(GlobalLock(block), bytes, count);
    GlobalUnlock(block);
  }
  return block;
}

size_t g_offerCount;
bool g_offerRead;
std::atomic<bool> g_offerRendered;  // set while the reader still holds the clipboard open
std::atomic<bool> g_holderTrying;   // the holder has found the clipboard open, and goes on
DWORD g_holdMs;
int g_holdResult;

// The owner of an unrendered offer renders it when a reader asks for it, inside that reader's
// open clipboard.
LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_RENDERFORMAT && wParam == CF_TEXT) {
    SetClipboardData(CF_TEXT, TextBlock(g_text, g_offerCount));
    g_offerRead = true;
    g_offerRendered = true;
    // The reader waits for this answer: it goes on only once the holder is trying hard.
    DWORD start = GetTickCount();
    while (g_holdMs > 0 && !g_holderTrying && GetTickCount() - start < HOLDER_START_MS) {
    }
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND OwnerWindow() {
  WNDCLASSA owner = {};
  owner.lpfnWndProc = OwnerProc;
  owner.hInstance = GetModuleHandleA(nullptr);
  owner.lpszClassName = "QuenlixCliptoolOwner";
  RegisterClassA(&owner);
  return CreateWindowA(owner.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                       owner.hInstance, nullptr);
}

// Already trying to open while the reader renders, so that it opens the clipboard the moment
// the reader closes it, before the reader can open it again to write. On a busy machine the
// reader may still win: that is reported apart, as no fault of the reader's.
DWORD WINAPI Holder(void* owner) {
  MSG message;
  PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, made before the race
  while (!g_offerRendered) Sleep(0);
  DWORD start = GetTickCount();
  while (!OpenClipboard(static_cast<HWND>(owner))) {
    g_holderTrying = true;
    if (GetTickCount() - start > REOPEN_WAIT_MS) {
      g_holdResult = Fail("the reader kept the clipboard open");
      return 0;
    }
  }
  long count = CopyClipText(g_seen);
  if (count == static_cast<long>(g_offerCount) && memcmp(g_seen, g_text, count) == 0) {
    Out("held\n");
    Sleep(g_holdMs);
    g_holdResult = EXIT_DONE;
  } else {
    fprintf(stderr, "quenlix-cliptool: the reader wrote before the clipboard could be held\n");
    g_holdResult = EXIT_LATE;
  }
  CloseClipboard();
  return 0;
}

// Serves the offer until it has been read and, with a holder, until the hold is over; the
// reader's messages to the owner are answered all the while.
int ServeOffer(HANDLE holder) {
  DWORD start = GetTickCount();
  MSG message;
  for (;;) {
    DWORD woken = MsgWaitForMultipleObjects(holder ? 1 : 0, &holder, FALSE, SERVE_STEP_MS,
                                            QS_ALLINPUT);
    if (holder && woken == WAIT_OBJECT_0) return g_holdResult;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    if (!holder && g_offerRead) return EXIT_DONE;
    if (!g_offerRead && GetTickCount() - start > READ_WAIT_MS)
      return Fail("nobody read the offered text");
  }
}

int Write(const char* file, const char* holdMs) {
  FILE* in = fopen(file, "rb");
  if (!in) return Fail("cannot read the input file");
  g_offerCount = fread(g_text, 1, TEXT_MAX - 1, in);
  fclose(in);
  HWND owner = OwnerWindow();
  if (!OpenClipboardSoon(owner)) return Fail("the clipboard is held open by another window");
  EmptyClipboard();
  SetClipboardData(CF_TEXT, holdMs ? nullptr : TextBlock(g_text, g_offerCount));
  CloseClipboard();
  if (!holdMs) return EXIT_DONE;
  g_holdMs = strtoul(holdMs, nullptr, 10);
  HANDLE holder = nullptr;
  if (g_holdMs > 0) holder = CreateThread(nullptr, 0, Holder, owner, 0, nullptr);
  return ServeOffer(holder);
}

// Opened for a window: Wine lets a second opener in when both name the same window, and so
// when both name none.
int Hold(const char* ms) {
  if (!OpenClipboardSoon(OwnerWindow()))
    return Fail("the clipboard is held open by another window");
  Out("held\n");
  Sleep(strtoul(ms, nullptr, 10));
  CloseClipboard();
  return EXIT_DONE;
}

// The status window: a dialog of the class "#32770" that belongs to a Quenlix.exe process.
struct StatusWindow {
  HWND window;
  char file[MAX_PATH];
};

BOOL CALLBACK FindStatusWindow(HWND window, LPARAM found) {
  char name[sizeof DIALOG_CLASS + 1];
  if (!GetClassNameA(window, name, sizeof name) || strcmp(name, DIALOG_CLASS) != 0) return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return TRUE;
  StatusWindow* status = reinterpret_cast<StatusWindow*>(found);
  DWORD size = sizeof status->file;
  BOOL named = QueryFullProcessImageNameA(process, 0, status->file, &size);
  CloseHandle(process);
  const char* base = strrchr(status->file, '\\');
  base = base ? base + 1 : status->file;
  if (!named || lstrcmpiA(base, PROGRAM_FILE) != 0) return TRUE;
  status->window = window;
  return FALSE;
}

HWND FindStatus(StatusWindow* status) {
  status->window = nullptr;
  EnumWindows(FindStatusWindow, reinterpret_cast<LPARAM>(status));
  return status->window;
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The template's size in pixels at its own font. Wine maps dialog units only for a dialog of
// the calling process, so the program's template is loaded from its file and made into a
// hidden dialog here, without the styles that would bring it to the front.
bool DialogSizeInPixels(const char* file, RECT* size) {
  HMODULE module = LoadLibraryExA(file, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HRSRC found = module ? FindResourceA(module, DIALOG_TEMPLATE, RT_DIALOG) : nullptr;
  DWORD bytes = found ? SizeofResource(module, found) : 0;
  const void* loaded = bytes ? LockResource(LoadResource(module, found)) : nullptr;
  if (!loaded || bytes > sizeof g_template) return false;
  memcpy(g_template, loaded, bytes);
  DWORD style;
  memcpy(&style, g_template + TEMPLATE_STYLE_OFFSET, sizeof style);
  style &= ~static_cast<DWORD>(DS_SETFOREGROUND | DS_SYSMODAL);
  memcpy(g_template + TEMPLATE_STYLE_OFFSET, &style, sizeof style);
  HWND copy = CreateDialogIndirectParamA(module, reinterpret_cast<LPCDLGTEMPLATEA>(g_template),
                                         nullptr, QuietDialogProc, 0);
  if (!copy) return false;
  *size = RECT{0, 0, DIALOG_WIDTH_DLU, DIALOG_HEIGHT_DLU};
  MapDialogRect(copy, size);
  DestroyWindow(copy);
  FreeLibrary(module);
  return true;
}

bool ControlShown(HWND window, int id) {
  return (GetWindowLongA(GetDlgItem(window, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

int Window() {
  StatusWindow status;
  HWND window = FindStatus(&status);
  if (!window) return Fail("no status window of Quenlix.exe");
  OutNumberLine("visible", IsWindowVisible(window) ? 1 : 0);
  OutNumberLine("foreground", GetForegroundWindow() == window ? 1 : 0);
  GUITHREADINFO thread = {};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
  OutNumberLine("focus", thread.hwndFocus ? GetDlgCtrlID(thread.hwndFocus) : 0);
  long count = SendDlgItemMessageA(window, IDC_TEXT, WM_GETTEXT, TEXT_MAX,
                                   reinterpret_cast<LPARAM>(g_text));
  OutHexLine("text", g_text, count > 0 ? count : 0);
  OutNumberLine("ok", ControlShown(window, IDC_OK) ? 1 : 0);
  OutNumberLine("cancel", ControlShown(window, IDCANCEL) ? 1 : 0);
  RECT rect;
  GetWindowRect(window, &rect);
  OutRectLine("window", rect);
  GetClientRect(window, &rect);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  OutRectLine("client", rect);
  if (!DialogSizeInPixels(status.file, &rect)) return Fail("cannot load the dialog template");
  OutRectLine("dialog", rect);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &rect, 0);
  OutRectLine("workarea", rect);
  return EXIT_DONE;
}

int Post(UINT message, WPARAM wParam) {
  StatusWindow status;
  HWND window = FindStatus(&status);
  if (!window) return Fail("no status window of Quenlix.exe");
  return PostMessageA(window, message, wParam, 0) ? EXIT_DONE : Fail("cannot post the message");
}

int Usage() {
  fprintf(stderr,
          "usage: quenlix-cliptool read [FILE] | write FILE [HOLD-MS] | hold MS | window |\n"
          "       command ID | close | acp\n");
  return EXIT_USAGE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const char* verb = argv[1];
  const char* first = argc > 2 ? argv[2] : nullptr;
  const char* second = argc > 3 ? argv[3] : nullptr;
  if (strcmp(verb, "read") == 0) return Read(first);
  if (strcmp(verb, "write") == 0 && first) return Write(first, second);
  if (strcmp(verb, "hold") == 0 && first) return Hold(first);
  if (strcmp(verb, "window") == 0) return Window();
  if (strcmp(verb, "command") == 0 && first)
    return Post(WM_COMMAND, MAKEWPARAM(strtoul(first, nullptr, 10), BN_CLICKED));
  if (strcmp(verb, "close") == 0) return Post(WM_CLOSE, 0);
  if (strcmp(verb, "acp") == 0) {
    snprintf(g_line, sizeof g_line, "%u\n", GetACP());
    Out(g_line);
    return EXIT_DONE;
  }
  return Usage();
}
