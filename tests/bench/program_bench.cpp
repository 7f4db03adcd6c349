// The cost of one poll tick: the common one, which finds the clipboard unchanged, beside the
// clipboard read alone, and one that expands a list of 500 lines.
#include <benchmark/benchmark.h>

#include <string>

#include "app/app.h"
#include "res/resource.h"
#include "tests/support/program.h"
#include "text/text.h"
#include "watch/watch.h"

namespace {

const char SEEN[] = "a://b/img001.jpg";
const char ADDRESS_500[] = "a://b/img001-500.jpg";
constexpr size_t LIST_BYTES = 500 * (sizeof "a://b/img001.jpg\r\n" - 1);

// The status window, watching, with the clipboard holding text.
HWND Watching(const char* text) {
  ResetProgram();
  HWND window = SimCreateDialogForTest(IDD_MAIN, MainDlgProc);
  g_tick = g_tickLimit;
  SimClipboardCopyText(text);
  return window;
}

void BM_ClipboardRead(benchmark::State& state) {
  HWND window = Watching(SEEN);
  for (auto _ : state) benchmark::DoNotOptimize(GetClipText(window, g_clipText));
}
BENCHMARK(BM_ClipboardRead);

void BM_UnchangedPollTick(benchmark::State& state) {
  HWND window = Watching(SEEN);
  BytesCopy(g_lastText, SEEN);
  for (auto _ : state) MainDlgProc(window, WM_TIMER, ID_POLL_TIMER, 0);
  if (SimClipboardOpenCount() == 0) state.SkipWithError("the tick did not read the clipboard");
}
BENCHMARK(BM_UnchangedPollTick);

void BM_ExpandingPollTick(benchmark::State& state) {
  HWND window = Watching(ADDRESS_500);
  for (auto _ : state) {
    state.PauseTiming();
    SimClipboardCopyText(ADDRESS_500);  // the last tick put its list there
    state.ResumeTiming();
    MainDlgProc(window, WM_TIMER, ID_POLL_TIMER, 0);
  }
  std::string list;
  if (!SimClipboardText(&list) || list.size() != LIST_BYTES)
    state.SkipWithError("the list did not reach the clipboard");
}
BENCHMARK(BM_ExpandingPollTick);

}  // namespace
