// What the watcher makes of one new text in the status window: a control word, a candidate
// for expansion, or nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/app.h"
#include "app/modes.h"
#include "res/resource.h"
#include "tests/support/program.h"
#include "tests/support/status_texts.h"
#include "text/text.h"
#include "watch/watch.h"

namespace {

constexpr int32_t WATCHING = 4;
constexpr int32_t MODE_TEXT_COUNTDOWN = 1;
constexpr int32_t QUIT_COUNTDOWN = -32767;
constexpr int EXPAND = 3;
constexpr int NOTHING = 1;
const char PREVIOUS[] = "a://b/before.jpg";

// The status window as the program has it once watching, in the given mode; text is this
// poll's text.
HWND Watching(int32_t mode, const char* text) {
  ResetProgram();
  HWND window = SimCreateDialogForTest(IDD_MAIN, MainDlgProc);
  g_mode = mode;
  BytesCopy(g_lastText, PREVIOUS);
  BytesCopy(g_clipText, text);
  return window;
}

TEST(CheckClip, ANewTextIsAControlWordACandidateOrNothing) {
  const struct {
    const char* text;
    int32_t mode;
    int result;
    int32_t modeAfter;
    const std::string& status;  // START_TEXT: none was set
    int32_t countdown;
    int buttons;
  } cases[] = {
      // Control words: the lower-cased text begins with one.
      {"CLIP 1", MODE_PAUSE, NOTHING, MODE_EXPAND, EXPAND_TEXT, MODE_TEXT_COUNTDOWN, 0},
      {"Clip 1", MODE_PAUSE, NOTHING, MODE_EXPAND, EXPAND_TEXT, MODE_TEXT_COUNTDOWN, 0},
      {"clip 10", MODE_PAUSE, NOTHING, MODE_EXPAND, EXPAND_TEXT, MODE_TEXT_COUNTDOWN, 0},
      {"clip 1\r\nmore", MODE_PAUSE, NOTHING, MODE_EXPAND, EXPAND_TEXT, MODE_TEXT_COUNTDOWN, 0},
      {"clip 1", MODE_EXPAND, NOTHING, MODE_EXPAND, EXPAND_TEXT, MODE_TEXT_COUNTDOWN, 0},
      {"clip 01", MODE_EXPAND, NOTHING, MODE_PAUSE, PAUSE_TEXT, MODE_TEXT_COUNTDOWN, 0},
      {"clip 0", MODE_PAUSE, NOTHING, MODE_PAUSE, PAUSE_TEXT, MODE_TEXT_COUNTDOWN, 0},
      {"clip endless", MODE_PAUSE, NOTHING, MODE_PAUSE, QUIT_TEXT, QUIT_COUNTDOWN, 2},
      {"Clip End", MODE_EXPAND, NOTHING, MODE_EXPAND, QUIT_TEXT, QUIT_COUNTDOWN, 2},
      // No control words: on to the trigger test, like any other text.
      {"clip1 www", MODE_EXPAND, EXPAND, MODE_EXPAND, START_TEXT, WATCHING, 0},
      {" clip 1 www", MODE_EXPAND, EXPAND, MODE_EXPAND, START_TEXT, WATCHING, 0},
      {"clip  1 www", MODE_EXPAND, EXPAND, MODE_EXPAND, START_TEXT, WATCHING, 0},
      {"clip a://b/img1-3.jpg", MODE_EXPAND, EXPAND, MODE_EXPAND, START_TEXT, WATCHING, 0},
      {"clip1", MODE_EXPAND, NOTHING, MODE_EXPAND, START_TEXT, WATCHING, 0},
      // Triggers: case-sensitive, anywhere, on a character boundary, in expansion mode only.
      {"a.net", MODE_EXPAND, EXPAND, MODE_EXPAND, START_TEXT, WATCHING, 0},
      {"xwwwx", MODE_EXPAND, EXPAND, MODE_EXPAND, START_TEXT, WATCHING, 0},
      {"a://b", MODE_EXPAND, EXPAND, MODE_EXPAND, START_TEXT, WATCHING, 0},
      {"a.cookie", MODE_EXPAND, EXPAND, MODE_EXPAND, START_TEXT, WATCHING, 0},
      {"WWW.EXAMPLE.NET/A.CO", MODE_EXPAND, NOTHING, MODE_EXPAND, START_TEXT, WATCHING, 0},
      {"\x82www", MODE_EXPAND, NOTHING, MODE_EXPAND, START_TEXT, WATCHING, 0},
      {"a://b/img1-3.jpg", MODE_PAUSE, NOTHING, MODE_PAUSE, START_TEXT, WATCHING, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    HWND window = Watching(c.mode, c.text);
    int32_t countdown = WATCHING;
    EXPECT_EQ(CheckClip(window, &countdown), c.result);
    EXPECT_EQ(g_mode, c.modeAfter);
    EXPECT_EQ(SimControlText(IDC_TEXT), c.status);
    EXPECT_EQ(countdown, c.countdown);
    EXPECT_EQ(SimControlShown(IDC_OK) + SimControlShown(IDCANCEL), c.buttons);
    EXPECT_EQ(std::string(g_lastText), c.text);  // a new text is the last text, whatever it was
  }
  SimDesktopReset();
}

TEST(CheckClip, TheSameTextAgainIsNothingAndWritesNoBuffer) {
  const char MARK = 0x5A;
  HWND window = Watching(MODE_EXPAND, "clip 0");
  BytesCopy(g_lastText, "clip 0");
  std::memset(g_msgBuf, MARK, 8);
  int32_t countdown = WATCHING;
  EXPECT_EQ(CheckClip(window, &countdown), NOTHING);
  EXPECT_EQ(countdown, WATCHING);
  EXPECT_EQ(g_mode, MODE_EXPAND);
  EXPECT_EQ(std::string(g_msgBuf, 8), std::string(8, MARK));
  EXPECT_EQ(std::string(g_lastText), "clip 0");
  SimDesktopReset();
}

}  // namespace
