#include "tests/support/session.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/app.h"
#include "app/modes.h"
#include "expand/expand.h"
#include "res/resource.h"
#include "tests/support/list_check.h"
#include "text/text.h"
#include "watch/watch.h"

namespace {

int64_t g_events;  // events so far, for the report of a broken promise

[[noreturn]] void Broken(const char* file, int line, const char* what) {
  std::fprintf(stderr, "%s:%d: promise broken at event %lld: %s\n", file, line,
               static_cast<long long>(g_events), what);
  std::abort();
}

#define SESSION_CHECK(condition) \
  do {                           \
    if (!(condition)) Broken(__FILE__, __LINE__, #condition); \
  } while (0)

constexpr char CONTROL_PREFIX[] = "clip ";
constexpr int CONTROL_WORD_MAX = 8;  // "clip end"

struct ControlWord {
  const char* literal;
  int32_t request;
  int32_t countdown;
};

constexpr ControlWord CONTROL_WORDS[] = {
    {"clip 1", MODE_EXPAND, COUNTDOWN_MODE_TEXT},
    {"clip 0", MODE_PAUSE, COUNTDOWN_MODE_TEXT},
    {"clip end", MODE_END, COUNTDOWN_QUIT_QUESTION},
};

// The control word a text begins with, in any case, or nullptr. The words are ASCII and
// stand at the very start, so ASCII case folding of the first bytes decides.
const ControlWord* ControlWordOf(const std::string& text) {
  std::string start = text.substr(0, CONTROL_WORD_MAX);
  for (char& c : start)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (start.compare(0, sizeof CONTROL_PREFIX - 1, CONTROL_PREFIX) != 0) return nullptr;
  for (const ControlWord& word : CONTROL_WORDS)
    if (start.compare(0, std::strlen(word.literal), word.literal) == 0) return &word;
  return nullptr;
}

std::string ClipboardText(bool* hasText) {
  std::string text;
  *hasText = SimClipboardText(&text);
  return text;
}

}  // namespace

const char* const CANNED_TEXTS[] = {
    "a://b/img01-03.jpg",
    "a://b/img01~03.jpg",
    "a://b/img001-120.jpg",
    "a://b/img095-05.jpg",
    "a://b/x123-45.jpg",
    "a://b/img03-01.jpg",
    "a://b/a01-c03.jpg",
    "a://b/A01-c02.jpg",
    "a://b/a1-b.jpg",
    "a://b/file.r00-s05",
    "a://b/file.r05-r03",
    "a://b/file.part1.r00-02",
    "a://b/r00/img01-03.jpg",
    "a://b/r001-c003.jpg",
    "a://b/x.r0001-0003",
    "a://b/img1-999.jpg",
    "a://b/r.5-05",
    "a://b/999999999-01",
    "a://b/10-12/img01-03.jpg",
    "a://b/vol12-13/img01-05.jpg",
    "a://b/img01-03.jpg\r\nmore text",
    "\na://b/img01-03.jpg",
    "\r\na://b/img01-03.jpg",
    "a://b/page1-3.html",
    "a://b/x.cgi?p=1-3",
    "a://b/img01-03.jpg?k=x-y",
    "www.example.com/a1-9",
    "x.net/1-2",
    "a://b/\x83\x41" "1-b3.jpg",
    "a://b/img1\x81\x7E" "3.jpg",
    "a://b/r\xFF" "8-11",
    "a://b/"
    "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
    "1-400.jpg",  // 100 bytes: the list reaches the append limit
    "plain text",
    "",
};
const int CANNED_TEXT_COUNT = sizeof CANNED_TEXTS / sizeof CANNED_TEXTS[0];

const char* const CONTROL_TEXTS[] = {
    "clip 1", "clip 0", "clip end", "CLIP 1", "Clip 0", "cLiP eNd", "clip 10", "clip 01",
    "clip endless", "clip 1\r\na://b/img01-03.jpg", "clip1", " clip 1", "clip  1",
    "clip a://b/img1-3.jpg",
};
const int CONTROL_TEXT_COUNT = sizeof CONTROL_TEXTS / sizeof CONTROL_TEXTS[0];

Session::Session(UINT codePage) { Begin(codePage); }

void Session::Restart(UINT codePage) { Begin(codePage); }

void Session::Begin(UINT codePage) {
  ++g_events;
  ResetProgram();
  SimSetAnsiCodePage(codePage);
  TextSetCodePage();
  program_.Start();
  ++figures_.runs;
  ++figures_.ticks;  // the first tick runs inside WM_INITDIALOG
  offer_ = OFFER_NOTHING;
  held_ = failAlloc_ = failLock_ = failSetData_ = false;
  focus_ = 0;
  SESSION_CHECK(!program_.Ended());
  SESSION_CHECK(g_mode == MODE_EXPAND);
  SESSION_CHECK(g_tick == 2);
  SESSION_CHECK(program_.Shown());
  SESSION_CHECK(program_.ButtonsShown() == 0);
  CheckAtRest();
}

// Whatever happened, the clipboard is closed again, every block is either the clipboard's or
// freed, and the countdown is within its limit.
void Session::CheckAtRest() {
  SESSION_CHECK(!SimClipboardIsOpen());
  std::string text;
  SESSION_CHECK(SimLiveBlocks() == (SimClipboardText(&text) ? 1 : 0));
  SESSION_CHECK(g_tick <= g_tickLimit);
  SESSION_CHECK(g_tick >= COUNTDOWN_QUIT_QUESTION);
}

void Session::Tick() {
  ++g_events;
  const int32_t tick = g_tick;
  const int32_t mode = g_mode;
  const std::string last(g_lastText);
  bool hadText;
  const std::string before = ClipboardText(&hadText);
  const HWND ownerBefore = SimClipboardOwner();
  const int queries = SimClipboardFormatQueries();
  const int opens = SimClipboardOpenCount();
  const int repaints = SimInvalidateCount();
  const int shows = SimWindowShowCalls();

  program_.Tick();
  ++figures_.ticks;

  // Foretell the tick from what it found.
  int32_t expectedTick = tick;
  int32_t expectedMode = mode;
  std::string expectedLast = last;
  int expectedQueries = 0;
  int expectedOpens = 0;
  int expectedRepaints = 0;
  bool step = tick < g_tickLimit;
  bool quitQuestion = false;
  bool wrote = false;
  bool refused = false;  // the clipboard was emptied for the list, then refused it
  std::string written;
  if (!step) {
    ++figures_.polls;
    expectedQueries = 1;
    bool read = false;
    if ((offer_ == OFFER_TEXT || offer_ == OFFER_TEXT_WITHOUT_DATA) && !held_) {
      expectedOpens = 1;
      if (offer_ == OFFER_TEXT) {
        read = !failLock_;
        failLock_ = false;
      }
    }
    const std::string source = before.substr(0, CLIP_READ_MAX);
    if (read) expectedRepaints = 1;
    if (read && source != last) {
      ++figures_.newTexts;
      expectedLast = source;
      const ControlWord* word = ControlWordOf(source);
      if (word) {
        if (word->request != MODE_END) expectedMode = word->request;
        quitQuestion = word->request == MODE_END;
        expectedTick = word->countdown;
        step = true;
      } else if (mode == MODE_EXPAND && HasAddressTrigger(source.c_str())) {
        ListVerdict verdict = CheckList(source, g_listBuf, g_lastText, source);
        if (verdict.fault) Broken(__FILE__, __LINE__, verdict.fault);
        if (verdict.accepted) {
          ++figures_.expansions;
          expectedLast = g_lastText;  // the list's first line, as CheckList found
        }
        if (verdict.putOnClipboard) {
          bool allocated = !failAlloc_;
          failAlloc_ = false;
          if (allocated) {
            expectedOpens = 2;
            wrote = !failSetData_;
            refused = failSetData_;
            failSetData_ = false;
            written = verdict.clipboard;
          }
        }
      }
    }
  }
  if (step) {
    SESSION_CHECK(program_.Shown() == (expectedTick != g_tickLimit - 1));
    SESSION_CHECK(SimWindowShowCalls() - shows == (expectedTick != g_tickLimit - 1 ? 1 : 0));
    ++expectedTick;
  } else {
    SESSION_CHECK(SimWindowShowCalls() == shows);
  }

  SESSION_CHECK(!program_.Ended());
  SESSION_CHECK(g_tick == expectedTick);
  SESSION_CHECK(g_mode == expectedMode);
  SESSION_CHECK(std::string(g_lastText) == expectedLast);
  SESSION_CHECK(SimClipboardFormatQueries() - queries == expectedQueries);
  SESSION_CHECK(SimClipboardOpenCount() - opens == expectedOpens);
  SESSION_CHECK(SimInvalidateCount() - repaints == expectedRepaints);
  if (quitQuestion) SESSION_CHECK(program_.ButtonsShown() == 2);
  bool hasText;
  const std::string after = ClipboardText(&hasText);
  if (wrote) {
    ++figures_.writes;
    offer_ = OFFER_TEXT;
    SESSION_CHECK(hasText && after == written);
    SESSION_CHECK(SimClipboardOwner() == SimDialog());
  } else if (refused) {
    offer_ = OFFER_NOTHING;
    SESSION_CHECK(!hasText && !IsClipboardFormatAvailable(CF_TEXT));
    SESSION_CHECK(SimClipboardOwner() == SimDialog());
  } else {
    SESSION_CHECK(hasText == hadText && after == before);
    SESSION_CHECK(SimClipboardOwner() == ownerBefore);
  }
  CheckAtRest();
}

void Session::WaitOutCountdown() {
  if (g_tick >= g_tickLimit) return;
  ++g_events;
  const int32_t steps = g_tickLimit - g_tick;
  const int32_t mode = g_mode;
  const int queries = SimClipboardFormatQueries();
  const int opens = SimClipboardOpenCount();
  program_.Tick(steps);
  figures_.ticks += steps;
  SESSION_CHECK(!program_.Ended());
  SESSION_CHECK(g_tick == g_tickLimit);
  SESSION_CHECK(g_mode == mode);
  SESSION_CHECK(!program_.Shown());
  SESSION_CHECK(SimClipboardFormatQueries() == queries);
  SESSION_CHECK(SimClipboardOpenCount() == opens);
  CheckAtRest();
}

void Session::Copy(const std::string& text) {
  ++g_events;
  program_.Copy(text);
  offer_ = OFFER_TEXT;
  ++figures_.copies;
  CheckAtRest();
}

void Session::CopyImage() {
  ++g_events;
  SimClipboardCopyImage();
  offer_ = OFFER_IMAGE;
  ++figures_.copies;
  CheckAtRest();
}

void Session::OfferTextWithoutData() {
  ++g_events;
  SimClipboardOfferTextWithoutData();
  offer_ = OFFER_TEXT_WITHOUT_DATA;
  ++figures_.copies;
  CheckAtRest();
}

void Session::HoldOpen(bool held) {
  ++g_events;
  SimClipboardHoldOpen(held);
  if (held && !held_) ++figures_.failuresInjected;
  held_ = held;
}

void Session::FailNextAlloc() {
  ++g_events;
  SimFailNextAlloc();
  failAlloc_ = true;
  ++figures_.failuresInjected;
}

void Session::FailNextLock() {
  ++g_events;
  SimFailNextLock();
  failLock_ = true;
  ++figures_.failuresInjected;
}

void Session::FailNextSetData() {
  ++g_events;
  SimFailNextSetData();
  failSetData_ = true;
  ++figures_.failuresInjected;
}

// A command reached the window, or did not: OK ends the program, cancel ends the question and
// polls at the next tick, anything else changes nothing.
void Session::AfterCommand(bool delivered, int command) {
  const bool ends = delivered && command == IDC_OK;
  SESSION_CHECK(program_.Ended() == ends);
  if (ends) {
    SESSION_CHECK(program_.ExitCode() == 0);
    return;
  }
  if (delivered && command == IDCANCEL) {
    SESSION_CHECK(g_tick == g_tickLimit);
    SESSION_CHECK(!program_.Shown());
    SESSION_CHECK(program_.ButtonsShown() == 0);
  }
  CheckAtRest();
}

void Session::Click(int id) {
  ++g_events;
  const bool reaches = SimControlShown(id) && program_.Shown();
  const bool delivered = SimClick(id);
  SESSION_CHECK(delivered == reaches);
  if (delivered) {
    ++figures_.answers;
    focus_ = id;
  }
  AfterCommand(delivered, id);
}

void Session::Focus(int id) {
  ++g_events;
  if (SimFocusControl(id)) focus_ = id;
}

void Session::Escape() {
  ++g_events;
  const bool active = SimWindowActive();
  const bool delivered = SimKeyEscape();
  SESSION_CHECK(delivered == active);
  if (delivered) ++figures_.answers;
  AfterCommand(delivered, IDCANCEL);
}

// Enter presses the focused push button while it shows, else the default one, OK.
void Session::Enter() {
  ++g_events;
  const bool active = SimWindowActive();
  const int command = focus_ != 0 && SimControlShown(focus_) ? focus_ : IDC_OK;
  const bool delivered = SimKeyEnter();
  SESSION_CHECK(delivered == active);
  if (delivered) ++figures_.answers;
  AfterCommand(delivered, command);
}

void Session::Post(UINT message, WPARAM wParam) {
  ++g_events;
  const int32_t tick = g_tick;
  SESSION_CHECK(SimPostMessage(message, wParam, 0));
  ++figures_.answers;
  if (message == WM_CLOSE || message == WM_DESTROY) {
    SESSION_CHECK(program_.Ended());
    SESSION_CHECK(program_.ExitCode() == 0);
    return;
  }
  const int command = message == WM_COMMAND ? LOWORD(wParam) : 0;
  if (command != IDC_OK && command != IDCANCEL) SESSION_CHECK(g_tick == tick);
  AfterCommand(message == WM_COMMAND, command);
}
