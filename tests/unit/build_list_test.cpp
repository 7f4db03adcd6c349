// List generation, end to end as a poll runs it: a text copied by another program is read
// from the clipboard, expanded, and the list is read back from the clipboard.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "expand/expand.h"
#include "platform/sim/sim_control.h"
#include "tests/support/code_page.h"
#include "text/text.h"
#include "watch/watch.h"

namespace {

const HWND kWindow = reinterpret_cast<HWND>(1);

// ---- Expected lists, written from the description of each case -------------------------

std::string Line(const std::string& text) { return text + "\r\n"; }

// prefix + n + suffix for n = from to to, n written with at least width digits.
std::string Numbered(const std::string& prefix, long from, long to, int width,
                     const std::string& suffix) {
  std::string lines;
  for (long n = from; n <= to; ++n) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%0*ld", width, n);
    lines += Line(prefix + digits + suffix);
  }
  return lines;
}

// For each letter from first to last by byte value, the numbers from to to.
std::string Lettered(const std::string& prefix, char first, char last, int from, int to,
                     int width, const std::string& suffix) {
  std::string lines;
  for (char letter = first; letter <= last; ++letter)
    lines += Numbered(prefix + letter, from, to, width, suffix);
  return lines;
}

// Volume names: a letter and two digits, the letter moving on after 99.
std::string Volumes(const std::string& prefix, char letter, int from, int count) {
  std::string lines;
  for (int n = from; n < from + count; ++n) {
    char name[8];
    std::snprintf(name, sizeof name, "%c%02d", letter + n / 100, n % 100);
    lines += Line(prefix + name);
  }
  return lines;
}

std::string Repeat(char c, int count) { return std::string(static_cast<size_t>(count), c); }

std::string FirstLine(const std::string& list) { return list.substr(0, list.find("\r\n")); }

// ---- The poll ------------------------------------------------------------------------------

class ExpandTest : public ::testing::Test {
 protected:
  void SetUp() override { SimClipboardReset(); }
  void TearDown() override { SimClipboardReset(); }

  ScopedCodePage shiftJis_{HOME_CODE_PAGE};

  // Another program copies text; the poll reads it, the watch records it as the last text
  // and hands it to the expander.
  static int CopyAndExpand(const std::string& copied) {
    SimClipboardCopyText(copied);
    return ExpandFromClipboard();
  }

  static int ExpandFromClipboard() {
    EXPECT_EQ(GetClipText(kWindow, g_clipText), CLIP_DONE);
    BytesCopy(g_lastText, g_clipText);
    return ExpandRange(kWindow);
  }

  static std::string Clipboard() {
    std::string bytes;
    EXPECT_TRUE(SimClipboardText(&bytes));
    return bytes;
  }
};

struct Expanded {
  std::string copied;
  std::string list;  // the clipboard afterwards
};

std::vector<Expanded> ExpandedCases() {
  const std::string img01to03 = Numbered("a://b/img", 1, 3, 2, ".jpg");
  const std::string x85 = "a://b/" + Repeat('x', 85);
  const std::string x250 = "a://b/" + Repeat('x', 250);
  const std::string x996 = "a://b/" + Repeat('x', 996);
  return {
      {"a://b/img01-03.jpg", img01to03},
      {"a://b/img01~03.jpg", img01to03},
      {"a://b/img1-3.jpg", Numbered("a://b/img", 1, 3, 1, ".jpg")},
      {"a://b/img001-120.jpg", Numbered("a://b/img", 1, 120, 3, ".jpg")},
      {"a://b/img05-05.jpg", Line("a://b/img05.jpg")},
      {"a://b/img8-12.jpg", Numbered("a://b/img", 8, 12, 1, ".jpg")},
      {"a://b/img98-102.jpg", Numbered("a://b/img", 98, 102, 2, ".jpg")},
      {"a://b/img095-05.jpg", Numbered("a://b/img", 95, 105, 3, ".jpg")},
      {"a://b/x123-45.jpg", Numbered("a://b/x", 123, 145, 3, ".jpg")},
      {"a://b/img03-01.jpg", Numbered("a://b/img", 3, 101, 2, ".jpg")},
      {"a://b/page1-3.HTM", Numbered("a://b/page", 1, 3, 1, ".HTM")},
      // Letter ranges: A to c passes through the six bytes [ \ ] ^ _ ` between Z and a.
      {"a://b/a01-c03.jpg", Lettered("a://b/", 'a', 'c', 1, 3, 2, ".jpg")},
      {"a://b/A01-C02.jpg", Lettered("a://b/", 'A', 'C', 1, 2, 2, ".jpg")},
      {"a://b/A01-c02.jpg", Lettered("a://b/", 'A', 'c', 1, 2, 2, ".jpg")},
      {"a://b/a8-b10.jpg", Lettered("a://b/", 'a', 'b', 8, 10, 1, ".jpg")},
      {"a://b/a1-b.jpg", Lettered("a://b/", 'a', 'b', 1, 2, 1, ".jpg")},
      // Split archives, with the first volume's name last.
      {"a://b/file.r00-05", Volumes("a://b/file.", 'r', 0, 6) + Line("a://b/file.rar")},
      {"a://b/file.R00-05", Volumes("a://b/file.", 'R', 0, 6) + Line("a://b/file.rar")},
      {"a://b/file.r00-s05", Volumes("a://b/file.", 'r', 0, 106) + Line("a://b/file.rar")},
      {"a://b/file.r95-05", Volumes("a://b/file.", 'r', 95, 11)},
      {"a://b/file.r05-r03", Volumes("a://b/file.", 'r', 5, 500)},
      {"a://b/file.part1.r00-02",
       Volumes("a://b/file.part1.", 'r', 0, 3) + Line("a://b/file.part1.rar")},
      // The volume mark anywhere in the line makes a final line of the range's last bytes.
      {"a://b/r00/img01-03.jpg",
       Numbered("a://b/r00/img", 1, 3, 2, ".jpg") + Line("a://b/r00/imrar.jpg")},
      {"a://b/r001-t003.jpg", Numbered("a://b/r", 1, 3, 3, ".jpg") + Line("a://b/srar.jpg")},
      {"a://b/r001-c003.jpg",
       Lettered("a://b/", 'r', 't', 1, 3, 3, ".jpg") + Line("a://b/urar.jpg")},
      {"a://b/x.r0001-0003", Numbered("a://b/x.r", 1, 3, 4, "") + Line("a://b/x.r1rar")},
      // The separator at index 1 or 2: only the last bytes of rar have a place.
      {"1-3://r00", Numbered("", 1, 3, 1, "://r00") + Line("r://r00")},
      {"12-3://r00", Numbered("", 12, 13, 2, "://r00") + Line("ar://r00")},
      // A counter of r, a full stop and 5 counts the full stop on like a digit.
      {"a://b/r.5-05", Numbered("a://b/r.", 5, 9, 1, "") + Numbered("a://b/r/", 0, 9, 1, "") +
                           Numbered("a://b/r", 0, 85, 2, "")},
      // Caps: 500 lines; and no line once the list has reached 31744 bytes.
      {"a://b/img1-999.jpg", Numbered("a://b/img", 1, 500, 1, ".jpg")},
      {x85 + "1-400.jpg", Numbered(x85, 1, 319, 1, ".jpg")},
      // Only the first line counts, and a line break at index 0 begins every line.
      {"a://b/img01-03.jpg\r\nmore text", img01to03},
      {"\na://b/img01-03.jpg", Numbered("\na://b/img", 1, 3, 2, ".jpg")},
      {"a://b/img01-03.jpg a://b/img07-09.jpg",
       Numbered("a://b/img01-03.jpg a://b/img", 7, 9, 2, ".jpg")},
      // Growing counters move the rest of the line.
      {"a://b/999999999-01", Numbered("a://b/", 999999999, 1000000001, 9, "")},
      {x250 + "9-10.jpg", Numbered(x250, 9, 10, 1, ".jpg")},
      // 1014 bytes, the longest text a read keeps.
      {x996 + "img01-03.jpg", Numbered(x996 + "img", 1, 3, 2, ".jpg")},
  };
}

TEST_F(ExpandTest, CopiedRangesBecomeLists) {
  for (const Expanded& c : ExpandedCases()) {
    SCOPED_TRACE(c.copied.substr(0, 60));
    EXPECT_EQ(CopyAndExpand(c.copied), EXPAND_DONE);
    EXPECT_EQ(Clipboard(), c.list);
    EXPECT_EQ(SimClipboardOwner(), kWindow);
    EXPECT_EQ(std::string(g_lastText), FirstLine(c.list));
  }
}

// The figures the cases above rest on, as the description gives them.
TEST_F(ExpandTest, CaseFiguresMatchTheirDescription) {
  const std::string x85 = "a://b/" + Repeat('x', 85);
  EXPECT_EQ((x85 + "1-400.jpg").size(), 100u);
  EXPECT_EQ(Numbered(x85, 1, 319, 1, ".jpg").size(), 31792u);
  EXPECT_EQ(("a://b/" + Repeat('x', 996) + "img01-03.jpg").size(),
            static_cast<size_t>(CLIP_READ_MAX));
  EXPECT_EQ(FirstLine(Volumes("a://b/file.", 'r', 5, 500)), "a://b/file.r05");
  EXPECT_EQ(Volumes("", 'r', 5, 500).substr(499 * 5), "w04\r\n");
}

TEST_F(ExpandTest, TextsWithoutRangeStayOnTheClipboard) {
  const std::string cases[] = {
      "a://b/page1-3.html",
      "a://b/x.cgi?p=1-3",
      "a://b/img01-03.jpg?k=x-y",
      "a://b/a01-C02.jpg",
      "\r\na://b/img01-03.jpg",
  };
  for (const std::string& copied : cases) {
    SCOPED_TRACE(copied);
    std::memset(g_listBuf, 'z', sizeof g_listBuf);  // an earlier list is dropped all the same
    EXPECT_EQ(CopyAndExpand(copied), EXPAND_LEFT_ALONE);
    EXPECT_EQ(Clipboard(), copied);
    EXPECT_EQ(SimClipboardOwner(), nullptr);
    EXPECT_EQ(std::string(g_lastText), copied);
    EXPECT_EQ(g_listBuf[0], '\0');
    EXPECT_EQ(g_listBuf[LIST_BUF_SIZE - 1], '\0');
  }
}

// The list comes back at the next poll; its first line has no range left, unless it holds a
// second range further left, which is expanded in turn.
TEST_F(ExpandTest, TheNextPollExaminesTheListsFirstLine) {
  EXPECT_EQ(CopyAndExpand("a://b/img01-03.jpg"), EXPAND_DONE);
  const std::string list = Clipboard();
  EXPECT_EQ(ExpandFromClipboard(), EXPAND_LEFT_ALONE);
  EXPECT_EQ(Clipboard(), list);

  EXPECT_EQ(CopyAndExpand("a://b/vol12-13/img01-05.jpg"), EXPAND_DONE);
  EXPECT_EQ(Clipboard(), Numbered("a://b/vol12-13/img", 1, 5, 2, ".jpg"));
  EXPECT_EQ(ExpandFromClipboard(), EXPAND_DONE);
  EXPECT_EQ(Clipboard(), Line("a://b/vol12/img01.jpg") + Line("a://b/vol13/img01.jpg"));
  EXPECT_EQ(std::string(g_lastText), "a://b/vol12/img01.jpg");
}

// A list that would reach the size of the list buffer with its final volume line does not
// go on the clipboard; one byte less does, cut to what a write puts there.
TEST_F(ExpandTest, FinalVolumeLineAtTheEndOfTheListBuffer) {
  const std::string x900 = "a://b/" + Repeat('x', 900);
  const std::string r00 = "a://b/R00/" + Repeat('x', 593);
  const std::string r00Short = "a://b/R00/" + Repeat('x', 551);
  struct Case {
    std::string copied;
    std::string numbered;  // the numbered lines
    std::string final;     // the final volume line
    size_t size;           // the list with its final line, worked out by hand
  };
  const Case cases[] = {
      // 35 lines of 912 bytes pass 31744; a 36th would make 32832.
      {x900 + ".r00-s99", Volumes(x900 + ".", 'r', 0, 35), Line(x900 + ".rar"), 32832},
      // 1 to 9 at 606 bytes, 10 to 53 at 607: 32162; the final line of 606 makes 32768.
      {r00 + "1-400", Numbered(r00, 1, 53, 1, ""),
       Line("a://b/R00/" + Repeat('x', 591) + "rar"), 32768},
      // 8 and 9 at 564 bytes, 10 to 64 at 565: 32203; the final line of 564 makes 32767.
      {r00Short + "8-400", Numbered(r00Short, 8, 64, 1, ""),
       Line("a://b/R00/" + Repeat('x', 549) + "rar"), 32767},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    ASSERT_EQ(c.numbered.size() + c.final.size(), c.size);
    EXPECT_EQ(CopyAndExpand(c.copied), EXPAND_DONE);
    EXPECT_EQ(std::string(g_lastText), FirstLine(c.numbered));
    if (c.size < static_cast<size_t>(LIST_BUF_SIZE)) {
      EXPECT_EQ(std::string(g_listBuf), c.numbered + c.final);
      EXPECT_EQ(Clipboard(), (c.numbered + c.final).substr(0, CLIP_WRITE_MAX));
    } else {
      EXPECT_EQ(std::string(g_listBuf), c.numbered);
      EXPECT_EQ(Clipboard(), c.copied);
    }
  }
}

// A write that fails leaves the copied text; the list stays built, its first line recorded.
TEST_F(ExpandTest, FailedWriteLeavesTheCopiedText) {
  struct Case {
    const char* name;
    void (*fail)();
  };
  const Case cases[] = {
      {"clipboard held open", [] { SimClipboardHoldOpen(true); }},
      {"no memory", [] { SimFailNextAlloc(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SimClipboardReset();
    SimClipboardCopyText("a://b/img01-03.jpg");
    ASSERT_EQ(GetClipText(kWindow, g_clipText), CLIP_DONE);
    c.fail();
    EXPECT_EQ(ExpandRange(kWindow), EXPAND_DONE);
    SimClipboardHoldOpen(false);
    EXPECT_EQ(Clipboard(), "a://b/img01-03.jpg");
    EXPECT_EQ(std::string(g_listBuf), Numbered("a://b/img", 1, 3, 2, ".jpg"));
    EXPECT_EQ(std::string(g_lastText), "a://b/img01.jpg");
    EXPECT_EQ(SimLiveBlocks(), 1);  // only the copied text's
  }
}

}  // namespace
