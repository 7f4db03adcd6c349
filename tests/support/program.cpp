#include "tests/support/program.h"

#include <cstring>

#include "app/app.h"
#include "app/modes.h"
#include "expand/expand.h"
#include "res/resource.h"
#include "text/text.h"
#include "watch/watch.h"

namespace {

constexpr UINT HOME_CODE_PAGE = 932;
constexpr int NO_ID = -1;
constexpr DWORD TICK_MS = 1000;
constexpr int32_t LOAD_TIME_TICK = 1;

// The status window's controls in template order, all visible, as its resource has them.
const SimControlTemplate STATUS_WINDOW[] = {
    {IDC_OK, SIM_DEFAULT_PUSH_BUTTON, "OK", true},
    {IDC_TEXT, SIM_STATIC_TEXT, " ", true},
    {NO_ID, SIM_STATIC_ICON, "", true},
    {IDCANCEL, SIM_PUSH_BUTTON, "\xB7\xAC\xDD\xBE\xD9", true},  // "ｷｬﾝｾﾙ", half-width kana
};

int RunWinMain() {
  char commandLine[] = "";
  return WinMain(nullptr, nullptr, commandLine, SW_SHOWNORMAL);
}

}  // namespace

void ResetProgram() {
  SimDesktopReset();
  SimRegisterDialog(IDD_MAIN, STATUS_WINDOW, sizeof STATUS_WINDOW / sizeof STATUS_WINDOW[0]);
  SimClipboardReset();
  SimSetAnsiCodePage(HOME_CODE_PAGE);
  TextSetCodePage();
  g_tick = LOAD_TIME_TICK;
  g_mode = 0;
  std::memset(g_clipText, 0, sizeof g_clipText);
  std::memset(g_lastText, 0, sizeof g_lastText);
  std::memset(g_msgBuf, 0, sizeof g_msgBuf);
  std::memset(g_listBuf, 0, sizeof g_listBuf);
}

void Program::Start() { SimStartProgram(RunWinMain); }

void Program::Tick(int count) { SimAdvance(static_cast<DWORD>(count) * TICK_MS); }

std::string Program::Clipboard() const {
  std::string text;
  return SimClipboardText(&text) ? text : std::string();
}

std::string Program::Text() const { return SimControlText(IDC_TEXT); }

int Program::ButtonsShown() const {
  return SimControlShown(IDC_OK) + SimControlShown(IDCANCEL);
}
