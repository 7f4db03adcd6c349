// How a test (or a tool built on the simulated desktop) steers it: what the "system" reports
// and what "other programs" do to the clipboard. The program's own sources never include this.
#pragma once

#include <string>

#include "platform/sim/sim.h"

// Code page services.
void SimSetAnsiCodePage(UINT codePage);  // what GetACP reports from now on (start: 932)

// Clipboard, as other programs use it. Every call here leaves the clipboard closed unless
// it says otherwise.
void SimClipboardReset();                             // empty, closed, no owner, no failures
void SimClipboardCopyText(const std::string& bytes);  // another program copies a text
void SimClipboardCopyImage();                         // another program copies an image
void SimClipboardOfferTextWithoutData();              // CF_TEXT offered, no data behind it
void SimClipboardHoldOpen(bool held);                 // another program holds it open
bool SimClipboardText(std::string* bytes);            // the CF_TEXT bytes, if there is a text
HWND SimClipboardOwner();
bool SimClipboardIsOpen();
int SimClipboardOpenCount();  // successful OpenClipboard calls since the last reset
int SimClipboardFormatQueries();  // IsClipboardFormatAvailable calls since the last reset
int SimInvalidateCount();     // InvalidateRect calls since the last reset

// Global memory.
void SimFailNextAlloc();      // the next GlobalAlloc returns no block
void SimFailNextLock();       // the next GlobalLock returns no pointer
void SimFailNextSetData();    // the next SetClipboardData refuses the block
int SimLiveBlocks();          // blocks allocated and not yet freed (clipboard's included)

// ---- Windows, dialogs and timers ----------------------------------------------------------
// Dialog templates the desktop knows (up to 4), with their controls in template order (up to
// 8). The texts are not copied: pass literals.
enum SimControlKind { SIM_DEFAULT_PUSH_BUTTON, SIM_PUSH_BUTTON, SIM_STATIC_TEXT, SIM_STATIC_ICON };
struct SimControlTemplate {
  int id;
  SimControlKind kind;
  const char* text;
  bool visible;  // initially
};
void SimRegisterDialog(const char* name, const SimControlTemplate* controls, int count);
// No dialog, no timers, the clock at 0; a running program is stopped first. Templates stay.
void SimDesktopReset();

// Running the program: entry (WinMain, say) runs on a program thread; the test thread and the
// program thread strictly alternate, so the program runs only inside the Sim* calls below,
// each of which returns once the program waits for its next message or has ended.
void SimStartProgram(int (*entry)());  // returns after WM_INITDIALOG (and what it runs)
void SimStopProgram();                 // the window is destroyed under a running program
bool SimProgramEnded();
int SimExitCode();                     // entry's result once ended
// The dialog without a modal loop or a thread (for benchmarks and direct calls): created from
// the template and sent WM_INITDIALOG; the Sim* calls below then drive it on the calling
// thread. nullptr while a program runs or a dialog lives.
HWND SimCreateDialogForTest(const char* templateName, DLGPROC proc);

// The virtual clock: each timer that falls due posts WM_TIMER with its id to its window, in
// time order, and the message is handled fully before the next; periodic until killed.
DWORD SimNow();
void SimAdvance(DWORD milliseconds);
void SimAdvanceTo(DWORD when);
bool SimTimerArmed(HWND window, UINT_PTR id, DWORD* due);

// The user, and other programs. Each returns whether the input reached the dialog.
bool SimClick(int id);         // a click on a shown push button of a shown dialog
bool SimFocusControl(int id);  // moves the focus to a shown push button of the active dialog
bool SimKeyEscape();           // Esc on the active dialog: IDCANCEL
bool SimKeyEnter();            // Enter on the active dialog: the focused push button, else the
                               // default push button
bool SimPostMessage(UINT message, WPARAM wParam, LPARAM lParam);  // to the dialog

// What the user sees.
HWND SimDialog();          // the live dialog, or nullptr
bool SimWindowShown();     // the dialog itself
bool SimWindowActive();
int SimWindowShowCalls();  // ShowWindow calls with SW_SHOWNORMAL on the dialog since it was made
bool SimControlShown(int id);  // the control's own visibility, shown even in a hidden dialog
std::string SimControlText(int id);
INT_PTR SimDialogResult();  // EndDialog's result
