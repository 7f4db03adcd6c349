// The mode switch and the status texts that announce it.
#include "app/modes.h"

#include "app/status_texts.h"
#include "res/resource.h"
#include "text/text.h"
#include "watch/watch.h"

int32_t g_mode;

int SetClipMode(int32_t request, HWND window) {
  if (request == MODE_EXPAND) {
    g_mode = MODE_EXPAND;
    BytesFormat(g_msgBuf, MODE_FORMAT, MODE_WORD, MODE_ON_ENDING);
  } else if (request == MODE_PAUSE) {
    g_mode = MODE_PAUSE;
    BytesFormat(g_msgBuf, MODE_FORMAT, MODE_WORD, MODE_PAUSED_ENDING);
  } else {
    BytesFormat(g_msgBuf, QUIT_FORMAT, PRODUCT_NAME);  // the mode stays as it was
  }
  SetDlgItemTextA(window, IDC_TEXT, g_msgBuf);
  return 0;
}

void ShowQuitButtons(HWND window, int command) {
  ShowWindow(GetDlgItem(window, IDC_OK), command);
  ShowWindow(GetDlgItem(window, IDCANCEL), command);
}
