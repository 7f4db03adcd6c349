// The program as a user meets it: the status window's countdown tick by tick, the answers to
// the quit question, the messages the window takes, its texts, and what the polls make of the
// texts that other programs copy.
#include <gtest/gtest.h>

#include <string>

#include "app/app.h"
#include "app/modes.h"
#include "res/resource.h"
#include "tests/support/program.h"
#include "tests/support/status_texts.h"
#include "watch/watch.h"

namespace {

constexpr int32_t WATCHING = 4;  // the countdown's limit: every tick polls
constexpr int QUIT_QUESTION_TICKS = 32770;
constexpr DWORD POLL_PERIOD = 1000;

const std::string ADDRESS = "a://b/img01-03.jpg";
const std::string ADDRESS_LIST =
    "a://b/img01.jpg\r\n"
    "a://b/img02.jpg\r\n"
    "a://b/img03.jpg\r\n";

// What one tick did, as seen from outside.
struct TickRow {
  const char* tick;
  bool shown;
  bool read;  // the clipboard, which holds a text, was opened
  int32_t countdownAfter;
};

void ExpectTick(Program& p, const TickRow& row) {
  SCOPED_TRACE(row.tick);
  int opens = p.Opens();
  p.Tick();
  EXPECT_EQ(p.Shown(), row.shown);
  EXPECT_EQ(p.Opens() > opens, row.read);
  EXPECT_EQ(g_tick, row.countdownAfter);
}

// Started and past the start-up text: the first poll (tick 4) has run.
void StartWatching(Program& p) {
  p.Start();
  p.Tick(3);
}

// Copies a control word at a poll and lets its countdown run out.
void CopyControlWord(Program& p, const std::string& word) {
  p.Copy(word);
  p.Tick(4);
}

// ---- Timer cycle -----------------------------------------------------------------------

TEST(TimerCycle, StartShowsTheWindowForTwoTicksAndFirstReadsTheClipboardAtTickFour) {
  Program p;
  p.Copy("hello");
  p.Start();  // tick 1
  EXPECT_TRUE(p.Shown());
  EXPECT_EQ(p.Opens(), 0);
  EXPECT_EQ(g_tick, 2);
  const TickRow rows[] = {
      {"tick 2", true, false, 3},
      {"tick 3", false, false, WATCHING},
      {"tick 4", false, true, WATCHING},
      {"tick 5", false, true, WATCHING},
  };
  for (const TickRow& row : rows) ExpectTick(p, row);
}

TEST(TimerCycle, AModeWordShowsItsTextAtOnceForTwoTicksWithoutReading) {
  Program p;
  StartWatching(p);
  p.Copy("clip 0");
  const TickRow rows[] = {
      {"T", true, true, 2},
      {"T+1", true, false, 3},
      {"T+2", false, false, WATCHING},
      {"T+3", false, true, WATCHING},
  };
  for (const TickRow& row : rows) ExpectTick(p, row);
  EXPECT_EQ(p.Text(), PAUSE_TEXT);
  EXPECT_EQ(g_mode, MODE_PAUSE);
}

TEST(TimerCycle, AnyTimerMessageIsATickThatArmsThePollTimerAgain) {
  const UINT_PTR ids[] = {0, 7, ID_POLL_TIMER, 0xFFFF};
  for (UINT_PTR id : ids) {
    SCOPED_TRACE(id);
    Program p;
    p.Start();  // tick 1 leaves the countdown at 2
    ASSERT_TRUE(SimPostMessage(WM_TIMER, id, 0));
    EXPECT_EQ(g_tick, 3);
    EXPECT_TRUE(p.Shown());
    DWORD due = 0;
    EXPECT_TRUE(SimTimerArmed(SimDialog(), ID_POLL_TIMER, &due));
    EXPECT_EQ(due, SimNow() + POLL_PERIOD);
  }
}

// ---- The quit question ------------------------------------------------------------------

TEST(QuitQuestion, OkOrEnterQuitsCancelOrEscGoesOnInTheModeBefore) {
  struct Answer {
    const char* name;
    bool (*give)();
    bool quits;
  };
  const Answer answers[] = {
      {"click OK", [] { return SimClick(IDC_OK); }, true},
      {"Enter", SimKeyEnter, true},
      {"click cancel", [] { return SimClick(IDCANCEL); }, false},
      {"Esc", SimKeyEscape, false},
      {"Enter on the focused cancel button",
       [] { return SimFocusControl(IDCANCEL) && SimKeyEnter(); }, false},
  };
  for (const Answer& answer : answers) {
    SCOPED_TRACE(answer.name);
    Program p;
    StartWatching(p);
    CopyControlWord(p, "clip 0");
    p.Copy("clip end");
    p.Tick();
    ASSERT_TRUE(p.Shown());
    ASSERT_EQ(p.Text(), QUIT_TEXT);
    ASSERT_EQ(p.ButtonsShown(), 2);
    ASSERT_TRUE(answer.give());
    EXPECT_EQ(p.Ended(), answer.quits);
    if (answer.quits) {
      EXPECT_EQ(p.ExitCode(), 0);
      continue;
    }
    EXPECT_FALSE(p.Shown());
    EXPECT_EQ(p.ButtonsShown(), 0);
    EXPECT_EQ(g_mode, MODE_PAUSE);
    // The next tick polls; the word still on the clipboard is no longer new.
    ExpectTick(p, {"after the answer", false, true, WATCHING});
  }
}

TEST(QuitQuestion, LeftUnansweredItShowsFor32770TicksThenItsButtonsComeBackWithTheNextText) {
  Program p;
  StartWatching(p);
  p.Copy("clip end");
  p.Tick();  // T
  int opens = p.Opens();
  int shows = SimWindowShowCalls();
  p.Copy("clip 0");  // not read while the question shows
  for (int k = 1; k < QUIT_QUESTION_TICKS; ++k) {
    p.Tick();
    if (!p.Shown() || SimWindowShowCalls() != shows + k) {
      ADD_FAILURE() << "not shown again at T+" << k;
      break;
    }
  }
  EXPECT_EQ(p.Opens(), opens);
  EXPECT_EQ(g_mode, MODE_EXPAND);

  ExpectTick(p, {"T+32770", false, false, WATCHING});
  EXPECT_EQ(p.ButtonsShown(), 2);
  ExpectTick(p, {"T+32771", true, true, 2});  // the copied "clip 0", read at last
  EXPECT_EQ(p.Text(), PAUSE_TEXT);
  EXPECT_EQ(p.ButtonsShown(), 2);
  EXPECT_TRUE(SimClick(IDC_OK));
  EXPECT_TRUE(p.Ended());
}

// ---- The status window's messages and texts ----------------------------------------------

TEST(StatusWindow, QuitMessagesEndTheProgramWithExitCodeZero) {
  const struct {
    const char* name;
    UINT message;
    WPARAM wParam;
  } quits[] = {
      {"command 1002 while the OK button is hidden", WM_COMMAND, IDC_OK},
      {"command 1002 with a notification code", WM_COMMAND, (1u << 16) | IDC_OK},
      {"WM_CLOSE", WM_CLOSE, 0},
      {"WM_DESTROY", WM_DESTROY, 0},
  };
  for (const auto& quit : quits) {
    SCOPED_TRACE(quit.name);
    Program p;
    StartWatching(p);
    ASSERT_EQ(p.ButtonsShown(), 0);
    ASSERT_TRUE(SimPostMessage(quit.message, quit.wParam, 0));
    EXPECT_TRUE(p.Ended());
    EXPECT_EQ(SimDialogResult(), 1);
    EXPECT_EQ(p.ExitCode(), 0);
  }
}

TEST(StatusWindow, OtherCommandsAndMessagesDoNothing) {
  const struct {
    const char* name;
    UINT message;
    WPARAM wParam;
  } ignored[] = {
      {"IDOK", WM_COMMAND, IDOK},
      {"an unknown command", WM_COMMAND, 1001},
      {"an unknown message", 0x0400, 0},
  };
  for (const auto& message : ignored) {
    SCOPED_TRACE(message.name);
    Program p;
    p.Start();
    int opens = p.Opens();
    ASSERT_TRUE(SimPostMessage(message.message, message.wParam, 0));
    EXPECT_FALSE(p.Ended());
    EXPECT_TRUE(p.Shown());
    EXPECT_EQ(g_tick, 2);
    EXPECT_EQ(p.Text(), START_TEXT);
    EXPECT_EQ(p.Opens(), opens);
  }
}

TEST(StatusWindow, EscWhileAStatusTextShowsEndsTheCountdownEarly) {
  Program p;
  p.Copy("hello");
  p.Start();
  ASSERT_TRUE(SimKeyEscape());
  EXPECT_FALSE(p.Shown());
  EXPECT_EQ(p.ButtonsShown(), 0);
  ExpectTick(p, {"the tick after Esc", false, true, WATCHING});
}

TEST(StatusTexts, EachOccasionShowsItsExactBytes) {
  const struct {
    const char* copied;  // nullptr: the start
    const std::string& text;
    size_t length;
    int buttons;
  } cases[] = {
      {nullptr, START_TEXT, 32, 0},
      {"clip 1", EXPAND_TEXT, 19, 0},  // expansion was on already: shown again all the same
      {"clip 0", PAUSE_TEXT, 31, 0},
      {"clip end", QUIT_TEXT, 22, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.copied ? c.copied : "start");
    Program p;
    if (c.copied) {
      StartWatching(p);
      p.Copy(c.copied);
      p.Tick();
    } else {
      p.Start();
    }
    EXPECT_TRUE(p.Shown());
    EXPECT_TRUE(SimWindowActive());
    EXPECT_EQ(p.Text(), c.text);
    EXPECT_EQ(p.Text().size(), c.length);
    EXPECT_EQ(p.ButtonsShown(), c.buttons);
  }
}

// ---- What the polls make of copied texts --------------------------------------------------

TEST(Polling, AnAddressOnTheClipboardAtStartIsExpandedAtTickFourAndItsListThenRests) {
  Program p;
  p.Copy(ADDRESS);
  p.Start();
  p.Tick(2);
  EXPECT_EQ(p.Clipboard(), ADDRESS);
  p.Tick();  // tick 4: the first poll
  EXPECT_EQ(p.Clipboard(), ADDRESS_LIST);
  EXPECT_EQ(SimClipboardOwner(), SimDialog());
  // The list read back is new (its first line alone was recorded), but holds no range.
  ExpectTick(p, {"the poll after", false, true, WATCHING});
  EXPECT_EQ(std::string(g_lastText), ADDRESS_LIST);
  int opens = p.Opens();
  p.Tick(2);
  EXPECT_EQ(p.Opens(), opens + 2);  // reads only: nothing is written again
  EXPECT_EQ(p.Clipboard(), ADDRESS_LIST);
}

TEST(Polling, ATextWithTwoRangesIsExpandedOverTwoPolls) {
  Program p;
  StartWatching(p);
  p.Copy("a://b/10-12/img01-03.jpg");
  const struct {
    const char* poll;
    const char* clipboard;
    int opens;  // a read, and a write when a list is put on the clipboard
  } polls[] = {
      {"first",
       "a://b/10-12/img01.jpg\r\na://b/10-12/img02.jpg\r\na://b/10-12/img03.jpg\r\n", 2},
      {"second", "a://b/10/img01.jpg\r\na://b/11/img01.jpg\r\na://b/12/img01.jpg\r\n", 2},
      {"third", "a://b/10/img01.jpg\r\na://b/11/img01.jpg\r\na://b/12/img01.jpg\r\n", 1},
      {"fourth", "a://b/10/img01.jpg\r\na://b/11/img01.jpg\r\na://b/12/img01.jpg\r\n", 1},
  };
  for (const auto& poll : polls) {
    SCOPED_TRACE(poll.poll);
    int opens = p.Opens();
    p.Tick();
    EXPECT_EQ(p.Clipboard(), poll.clipboard);
    EXPECT_EQ(p.Opens() - opens, poll.opens);
  }
}

TEST(Polling, AFailedWriteIsDoneAgainAtTheNextPoll) {
  Program p;
  StartWatching(p);
  p.Copy(ADDRESS);
  SimFailNextAlloc();  // no memory for the list's block
  p.Tick();
  EXPECT_EQ(p.Clipboard(), ADDRESS);
  p.Tick();
  EXPECT_EQ(p.Clipboard(), ADDRESS_LIST);
}

TEST(Polling, PauseModeLeavesAddressesAlone) {
  Program p;
  StartWatching(p);
  CopyControlWord(p, "clip 0");
  p.Copy(ADDRESS);
  int opens = p.Opens();
  p.Tick();
  EXPECT_EQ(p.Opens(), opens + 1);
  EXPECT_EQ(p.Clipboard(), ADDRESS);
  EXPECT_EQ(std::string(g_lastText), ADDRESS);
}

TEST(Polling, ATextCopiedAndReplacedDuringACountdownIsNeverSeen) {
  Program p;
  StartWatching(p);
  p.Copy("clip 0");
  p.Tick();  // T
  p.Copy("clip 1");
  p.Tick();  // T+1
  p.Copy("hello");
  p.Tick(2);  // T+2, then the poll at T+3
  EXPECT_EQ(g_mode, MODE_PAUSE);
  EXPECT_FALSE(p.Shown());
  EXPECT_EQ(std::string(g_lastText), "hello");
}

TEST(Polling, AnImageLeavesEverythingAloneAndTheSameTextAfterItIsNoLongerNew) {
  Program p;
  StartWatching(p);
  CopyControlWord(p, "clip 0");
  SimClipboardCopyImage();
  int opens = p.Opens();
  p.Tick();
  EXPECT_EQ(p.Opens(), opens);
  std::string text;
  EXPECT_FALSE(SimClipboardText(&text));
  EXPECT_EQ(std::string(g_lastText), "clip 0");

  p.Copy("clip 0");
  ExpectTick(p, {"the same word again", false, true, WATCHING});
}

TEST(Polling, TextsThatDifferOnlyAfterTheirFirst1014BytesAreTheSame) {
  const std::string head = "clip 0" + std::string(CLIP_READ_MAX - 6, 'a');
  Program p;
  StartWatching(p);
  CopyControlWord(p, head + "X");
  ASSERT_EQ(g_mode, MODE_PAUSE);
  p.Copy(head + "Y");
  ExpectTick(p, {"the second text", false, true, WATCHING});
}

TEST(Polling, AnEmptyTextAtTheFirstPollIsUnchanged) {
  Program p;
  p.Copy("");
  StartWatching(p);
  EXPECT_EQ(p.Opens(), 1);
  EXPECT_EQ(std::string(g_msgBuf), START_TEXT);  // no lower-cased copy was made over it
}

}  // namespace
