// Texts that fuzzing found mishandled, each kept as a case once fixed.
#include <gtest/gtest.h>

#include <string>

#include "expand/expand.h"
#include "platform/sim/sim_control.h"
#include "tests/support/code_page.h"
#include "text/text.h"
#include "watch/watch.h"

namespace {

const HWND kWindow = reinterpret_cast<HWND>(1);

struct Finding {
  const char* what;
  UINT codePage;
  std::string copied;
  std::string list;  // what the clipboard holds afterwards
};

// In the volume rule the counter is the three bytes before the separator, and the middle
// one may be any byte. Counted up from 0xFF it becomes 0, which ends the line as a text: the
// list then holds that line up to the zero, with its CR LF, and goes on with the next line,
// instead of ending at the zero in the middle of the list.
TEST(FuzzFindings, ACounterByteCountedRoundToZeroEndsOnlyItsLine) {
  const Finding cases[] = {
      {"0xFF before a one-digit start, Shift JIS", 932, "a://b/r\xFF" "8-11",
       "a://b/r\xFF" "8\r\na://b/r\xFF" "9\r\na://b/r\r\na://b/r\r\n"},
      {"the same in UTF-8, with a tail", 65001, "a://b/r\xFF" "9-10.x",
       "a://b/r\xFF" "9.x\r\na://b/r\r\n"},
  };
  for (const Finding& c : cases) {
    SCOPED_TRACE(c.what);
    ScopedCodePage codePage(c.codePage);
    SimClipboardReset();
    SimClipboardCopyText(c.copied);
    ASSERT_EQ(GetClipText(kWindow, g_clipText), CLIP_DONE);
    EXPECT_EQ(ExpandRange(kWindow), EXPAND_DONE);
    std::string clipboard;
    ASSERT_TRUE(SimClipboardText(&clipboard));
    EXPECT_EQ(clipboard, c.list);
    EXPECT_EQ(std::string(g_listBuf), c.list);
  }
  SimClipboardReset();
}

}  // namespace
