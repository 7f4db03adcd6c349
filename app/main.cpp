// The program's entry: it opens the status window modally and ends when the window does.
#include "app/app.h"
#include "res/resource.h"
#include "text/text.h"

namespace {

constexpr int EXIT_CODE = 0;

// Every text operation must see the system's code page, so the text rules are set up while
// the program is loaded, before WinMain runs.
struct TextRulesAtLoad {
  TextRulesAtLoad() { TextSetCodePage(); }
} textRulesAtLoad;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  DialogBoxParamA(instance, IDD_MAIN, nullptr, MainDlgProc, 0);
  return EXIT_CODE;
}
