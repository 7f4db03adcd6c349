// The expander's cost against a plain 32 KB copy, the size of the largest list.
// Goals: recognition of the longest text within 5 us; a 500-line expansion, clipboard write
// included, within ten times the 32 KB copy.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "expand/expand.h"
#include "platform/sim/sim_control.h"
#include "tests/support/code_page.h"
#include "text/text.h"
#include "watch/watch.h"

namespace {

const HWND kWindow = reinterpret_cast<HWND>(1);

// The longest text a read keeps, double-byte characters throughout and the address with its
// range at the very end, so that every search and the byte types walk all of it.
void FindRangeOnLongestText(benchmark::State& state) {
  ScopedCodePage shiftJis(HOME_CODE_PAGE);
  const std::string address = "a://b/img001-120.jpg";
  const char hiragana[] = "\x82\xA0";
  std::string copied;
  while (copied.size() + address.size() < static_cast<size_t>(CLIP_READ_MAX))
    copied += hiragana;
  copied += address;
  char read[CLIP_TEXT_SIZE] = {};
  std::memcpy(read, copied.data(), copied.size());

  RangeSpec spec;
  bool found = false;
  for (auto _ : state) {
    std::memcpy(g_clipText, read, sizeof read);  // recognition may cut the text
    found = FindRange(g_clipText, &spec);
    benchmark::DoNotOptimize(found);
  }
  if (!found || spec.itemCount != 120) state.SkipWithError("the range was not recognised");
  state.counters["bytes"] = static_cast<double>(copied.size());
}
BENCHMARK(FindRangeOnLongestText);

void ExpandFiveHundredLines(benchmark::State& state) {
  ScopedCodePage shiftJis(HOME_CODE_PAGE);
  SimClipboardReset();
  SimClipboardCopyText("a://b/img1-999.jpg");
  GetClipText(kWindow, g_clipText);
  char read[CLIP_TEXT_SIZE];
  std::memcpy(read, g_clipText, sizeof read);

  for (auto _ : state) {
    std::memcpy(g_clipText, read, sizeof read);
    benchmark::DoNotOptimize(ExpandRange(kWindow));
  }
  std::string list;
  if (!SimClipboardText(&list) || list.size() != static_cast<size_t>(BytesLength(g_listBuf)))
    state.SkipWithError("the list did not reach the clipboard");
  state.counters["list bytes"] = static_cast<double>(list.size());
  SimClipboardReset();
}
BENCHMARK(ExpandFiveHundredLines);

// The yardstick: copying a buffer of the list's size once.
void Copy32K(benchmark::State& state) {
  static char from[LIST_BUF_SIZE];
  static char to[LIST_BUF_SIZE];
  std::memset(from, 'x', sizeof from);
  char* source = from;
  char* target = to;
  for (auto _ : state) {
    // Both buffers escape, so the copy cannot be left out.
    benchmark::DoNotOptimize(source);
    benchmark::DoNotOptimize(target);
    std::memcpy(target, source, LIST_BUF_SIZE);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(Copy32K);

}  // namespace
