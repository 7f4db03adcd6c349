// The status window's procedure: start-up, the timer cycle's messages, the two buttons of
// the quit question and the closing of the window.
#include "app/app.h"
#include "app/modes.h"
#include "app/status_texts.h"
#include "res/resource.h"
#include "text/text.h"
#include "watch/watch.h"

namespace {

constexpr INT_PTR DIALOG_RESULT = 1;

void StartUp(HWND dialog) {
  g_mode = MODE_EXPAND;
  g_clipText[0] = 0;
  g_lastText[0] = 0;
  BytesFormat(g_msgBuf, START_FORMAT, PRODUCT_NAME, PRODUCT_VERSION);
  SetDlgItemTextA(dialog, IDC_TEXT, g_msgBuf);
  ShowQuitButtons(dialog, SW_HIDE);
  // The first tick runs at once, inside this message: it shows the window and arms the timer.
  SendMessageA(dialog, WM_TIMER, 0, 0);
}

// The quit question is answered "no", or a status text is sent away: watching goes on at the
// next tick, in the mode that held before.
void Cancel(HWND dialog) {
  g_tick = g_tickLimit;
  ShowWindow(dialog, SW_HIDE);
  ShowQuitButtons(dialog, SW_HIDE);
}

void Quit(HWND dialog) {
  KillTimer(dialog, ID_POLL_TIMER);
  EndDialog(dialog, DIALOG_RESULT);
}

}  // namespace

INT_PTR CALLBACK MainDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      StartUp(dialog);
      return TRUE;  // the dialog manager sets the default focus
    case WM_TIMER:  // every timer message is a tick, whatever its id
      TimerTick(dialog);
      return FALSE;
    case WM_COMMAND:
      // Only the command id counts: a click, the Enter key or a message from elsewhere alike,
      // whether the button shows or not.
      switch (LOWORD(wParam)) {
        case IDCANCEL:
          Cancel(dialog);
          return FALSE;
        case IDC_OK:
          Quit(dialog);
          return TRUE;
        default:
          return FALSE;
      }
    case WM_CLOSE:
    case WM_DESTROY:
      Quit(dialog);
      return FALSE;
    default:
      return FALSE;
  }
}
