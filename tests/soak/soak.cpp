// A long run of seeded random use of the whole program on the simulated desktop: a million
// ticks by default, with the timer cycle's promises checked after every event (see session.h)
// and, at the end, a check that nothing grew: every block the program allocated is either the
// clipboard's or freed. Prints what the run did; a broken promise aborts it.
//
//   quenlix_soak [TICKS [SEED]]
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "app/app.h"
#include "res/resource.h"
#include "tests/support/session.h"

namespace {

constexpr int64_t DEFAULT_TICKS = 1000000;
constexpr uint64_t DEFAULT_SEED = 20240601;
constexpr UINT CODE_PAGES[] = {932, 932, 932, 1252};  // mostly the home code page
constexpr int CODE_PAGE_COUNT = sizeof CODE_PAGES / sizeof CODE_PAGES[0];
constexpr int RANDOM_TEXT_MAX = 1100;  // past the read limit
constexpr int PAD_MAX = 1000;
constexpr int MUTATIONS_MAX = 3;
constexpr int COMMAND_ID_MAX = 256;

// Bytes that matter to recognition, and some that do not.
constexpr char INTERESTING[] = "0123456789-~rstRSTazAZ.:/w\r\n\x81\x82\x7E\xA1\xFF\xE0";

enum Event {
  EV_TICK,
  EV_COPY_CANNED,
  EV_COPY_MUTATED,
  EV_COPY_CONTROL,
  EV_COPY_RANDOM,
  EV_COPY_LONG,
  EV_COPY_IMAGE,
  EV_OFFER_EMPTY,
  EV_HOLD_OPEN,
  EV_RELEASE,
  EV_FAIL_ALLOC,
  EV_FAIL_LOCK,
  EV_FAIL_SET_DATA,
  EV_CLICK_OK,
  EV_CLICK_CANCEL,
  EV_FOCUS,
  EV_ESCAPE,
  EV_ENTER,
  EV_POST_COMMAND,
  EV_POST_END,
  EV_WAIT_OUT,
};

struct Weight {
  Event event;
  int weight;  // in ten-thousandths
};

// Mostly ticks, a new text every few seconds, and now and then something goes wrong or the
// user answers.
constexpr Weight WEIGHTS[] = {
    {EV_TICK, 7054},         {EV_COPY_CANNED, 800},   {EV_COPY_MUTATED, 600},
    {EV_COPY_CONTROL, 250},  {EV_COPY_RANDOM, 300},   {EV_COPY_LONG, 100},
    {EV_COPY_IMAGE, 80},     {EV_OFFER_EMPTY, 40},    {EV_HOLD_OPEN, 60},
    {EV_RELEASE, 120},       {EV_FAIL_ALLOC, 80},     {EV_FAIL_LOCK, 80},
    {EV_FAIL_SET_DATA, 60},  {EV_CLICK_OK, 30},       {EV_CLICK_CANCEL, 100},
    {EV_FOCUS, 60},          {EV_ESCAPE, 100},        {EV_ENTER, 20},
    {EV_POST_COMMAND, 60},   {EV_POST_END, 5},        {EV_WAIT_OUT, 1},
};
constexpr int WEIGHT_TOTAL = 10000;

constexpr int WeightSum() {
  int sum = 0;
  for (const Weight& w : WEIGHTS) sum += w.weight;
  return sum;
}
static_assert(WeightSum() == WEIGHT_TOTAL, "the weights are ten-thousandths");

class Use {
 public:
  explicit Use(uint64_t seed) : random_(seed) {}

  Event NextEvent() {
    int pick = Below(WEIGHT_TOTAL);
    for (const Weight& w : WEIGHTS) {
      if (pick < w.weight) return w.event;
      pick -= w.weight;
    }
    return EV_TICK;
  }

  int Below(int bound) { return static_cast<int>(random_() % static_cast<uint64_t>(bound)); }
  char Interesting() { return INTERESTING[Below(sizeof INTERESTING - 1)]; }
  UINT CodePage() { return CODE_PAGES[Below(CODE_PAGE_COUNT)]; }
  const char* Canned() { return CANNED_TEXTS[Below(CANNED_TEXT_COUNT)]; }

  // A known text with a few bytes replaced or inserted.
  std::string Mutated() {
    std::string text = Canned();
    for (int n = 1 + Below(MUTATIONS_MAX); n > 0; --n) {
      size_t at = static_cast<size_t>(Below(static_cast<int>(text.size()) + 1));
      if (at < text.size() && Below(2))
        text[at] = Interesting();
      else
        text.insert(at, 1, Interesting());
    }
    return text;
  }

  std::string Random() {
    std::string text(static_cast<size_t>(Below(RANDOM_TEXT_MAX)), ' ');
    for (char& c : text) c = Below(4) ? Interesting() : static_cast<char>(Below(256));
    return text;
  }

  // Cancel, OK, or an id that no button has (IDOK among them).
  int PostedCommand() {
    const int pick = Below(4);
    return pick == 0 ? IDC_OK : pick == 1 ? IDCANCEL : Below(COMMAND_ID_MAX);
  }

  std::string Long() { return "a://b/" + std::string(Below(PAD_MAX), 'x') + Canned(); }

 private:
  std::mt19937_64 random_;
};

void Run(Session* session, Use* use, Event event) {
  switch (event) {
    case EV_TICK: session->Tick(); break;
    case EV_COPY_CANNED: session->Copy(use->Canned()); break;
    case EV_COPY_MUTATED: session->Copy(use->Mutated()); break;
    case EV_COPY_CONTROL: session->Copy(CONTROL_TEXTS[use->Below(CONTROL_TEXT_COUNT)]); break;
    case EV_COPY_RANDOM: session->Copy(use->Random()); break;
    case EV_COPY_LONG: session->Copy(use->Long()); break;
    case EV_COPY_IMAGE: session->CopyImage(); break;
    case EV_OFFER_EMPTY: session->OfferTextWithoutData(); break;
    case EV_HOLD_OPEN: session->HoldOpen(true); break;
    case EV_RELEASE: session->HoldOpen(false); break;
    case EV_FAIL_ALLOC: session->FailNextAlloc(); break;
    case EV_FAIL_LOCK: session->FailNextLock(); break;
    case EV_FAIL_SET_DATA: session->FailNextSetData(); break;
    case EV_CLICK_OK: session->Click(IDC_OK); break;
    case EV_CLICK_CANCEL: session->Click(IDCANCEL); break;
    case EV_FOCUS: session->Focus(use->Below(2) ? IDC_OK : IDCANCEL); break;
    case EV_ESCAPE: session->Escape(); break;
    case EV_ENTER: session->Enter(); break;
    case EV_POST_COMMAND: session->Post(WM_COMMAND, use->PostedCommand()); break;
    case EV_POST_END: session->Post(use->Below(2) ? WM_CLOSE : WM_DESTROY, 0); break;
    case EV_WAIT_OUT: session->WaitOutCountdown(); break;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int64_t ticks = argc > 1 ? std::strtoll(argv[1], nullptr, 10) : DEFAULT_TICKS;
  const uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : DEFAULT_SEED;
  std::printf("soak: %lld ticks, seed %llu\n", static_cast<long long>(ticks),
              static_cast<unsigned long long>(seed));
  const auto began = std::chrono::steady_clock::now();

  Use use(seed);
  Session session(use.CodePage());
  while (session.Figures().ticks < ticks) {
    if (session.Ended()) session.Restart(use.CodePage());
    Run(&session, &use, use.NextEvent());
  }
  // Nothing grew: the clipboard's text, if it holds one, is the only block alive.
  std::string text;
  const int expectedBlocks = SimClipboardText(&text) ? 1 : 0;
  const bool leaked = SimLiveBlocks() != expectedBlocks;

  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  const UseFigures& f = session.Figures();
  std::printf(
      "soak: %lld ticks (%lld polls, %lld new texts) in %.1f s; %lld lists made, %lld written; "
      "%lld copies, %lld failures injected, %lld answers, %lld program runs; "
      "%d live blocks, %d expected\n",
      static_cast<long long>(f.ticks), static_cast<long long>(f.polls),
      static_cast<long long>(f.newTexts), seconds, static_cast<long long>(f.expansions),
      static_cast<long long>(f.writes), static_cast<long long>(f.copies),
      static_cast<long long>(f.failuresInjected), static_cast<long long>(f.answers),
      static_cast<long long>(f.runs), SimLiveBlocks(), expectedBlocks);
  if (leaked) {
    std::printf("soak: FAILED, memory blocks outlived their use\n");
    return 1;
  }
  std::printf("soak: passed\n");
  return 0;
}
