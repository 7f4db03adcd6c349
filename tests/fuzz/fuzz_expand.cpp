// Any bytes as a copied text: read from the simulated clipboard as the program reads it,
// expanded, and the clipboard checked afterwards. A list reaches the clipboard only when
// recognition accepted the text, and then it has the shape of the list of that text.
//
// Input: [code page][clipboard bytes]; the bytes may hold NULs, as a clipboard block may.
#include <cstdint>
#include <cstdio>
#include <string>

#include "expand/expand.h"
#include "platform/sim/sim_control.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/list_check.h"
#include "text/text.h"
#include "watch/watch.h"

namespace {

constexpr UINT CODE_PAGES[] = {932, 1252, 65001};
constexpr int CODE_PAGE_COUNT = sizeof CODE_PAGES / sizeof CODE_PAGES[0];
constexpr UINT SHIFT_JIS = 932;
constexpr char LINE_END[] = "\r\n";
constexpr char UNSET_LAST_TEXT[] = "\x01(no list yet)";

CodePageRules g_rules[CODE_PAGE_COUNT];

// Under Shift JIS a line holds no line break but a leading one, which no CR LF pair can
// start: the list's CR LF pairs are its line ends. Every line ends in one, unless the write
// limit cut the list; there are at most the capped numbered lines and a first volume; and
// the first line is the last text.
void CheckLines(const std::string& list) {
  int lines = 0;
  size_t start = 0;
  for (size_t end; (end = list.find(LINE_END, start)) != std::string::npos; start = end + 2) {
    if (lines == 0) FUZZ_CHECK(list.compare(0, end, g_lastText) == 0);
    ++lines;
  }
  FUZZ_CHECK(lines >= 1 && lines <= LIST_LINES_MAX + 1);
  FUZZ_CHECK(start == list.size() || list.size() == static_cast<size_t>(CLIP_WRITE_MAX));
}

// The status window's handle: only the clipboard's owner records it.
char g_window;
HWND Window() { return reinterpret_cast<HWND>(&g_window); }

std::string ClipboardText() {
  std::string text;
  FUZZ_CHECK(SimClipboardText(&text));
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  UseCodePage(CODE_PAGES, g_rules, CODE_PAGE_COUNT, data[0] % CODE_PAGE_COUNT);
  const std::string copied(reinterpret_cast<const char*>(data + 1), size - 1);

  SimClipboardReset();
  SimClipboardCopyText(copied);
  const std::string onClipboard = ClipboardText();
  FUZZ_CHECK(GetClipText(Window(), g_clipText) == CLIP_DONE);
  const std::string read(g_clipText);
  FUZZ_CHECK(read == onClipboard.substr(0, CLIP_READ_MAX));
  for (int i = static_cast<int>(read.size()); i < CLIP_TEXT_SIZE; ++i)
    FUZZ_CHECK(g_clipText[i] == 0);

  BytesCopy(g_lastText, UNSET_LAST_TEXT);
  int result = ExpandRange(Window());

  ListVerdict verdict = CheckList(read, g_listBuf, g_lastText, UNSET_LAST_TEXT);
  if (verdict.fault) {
    std::fprintf(stderr, "list fault: %s\n", verdict.fault);
    FUZZ_CHECK(verdict.fault == nullptr);
  }
  FUZZ_CHECK(result == (verdict.accepted ? EXPAND_DONE : EXPAND_LEFT_ALONE));
  const std::string after = ClipboardText();
  if (verdict.putOnClipboard) {
    FUZZ_CHECK(after == verdict.clipboard);
    FUZZ_CHECK(SimClipboardOwner() == Window());
  } else {
    FUZZ_CHECK(after == onClipboard);
  }
  FUZZ_CHECK(after.size() <= static_cast<size_t>(CLIP_WRITE_MAX));
  if (verdict.putOnClipboard && CODE_PAGES[data[0] % CODE_PAGE_COUNT] == SHIFT_JIS)
    CheckLines(after);
  FUZZ_CHECK(!SimClipboardIsOpen());
  FUZZ_CHECK(SimLiveBlocks() == 1);  // the clipboard's one text, nothing else
  return 0;
}
