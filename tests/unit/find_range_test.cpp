// Range recognition: which copied texts carry a range, and what it is made of.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>

#include "expand/expand.h"
#include "tests/support/code_page.h"
#include "text/text.h"
#include "watch/watch.h"

// Field by field, so that a failing row names the field.
static bool operator==(const RangeSpec& a, const RangeSpec& b) {
  return a.sepIndex == b.sepIndex && a.startLen == b.startLen &&
         a.startHasLetter == b.startHasLetter && a.endLen == b.endLen &&
         a.itemCount == b.itemCount && a.letterSteps == b.letterSteps;
}

static void PrintTo(const RangeSpec& s, std::ostream* os) {
  *os << "{sepIndex " << s.sepIndex << ", startLen " << s.startLen << ", startHasLetter "
      << s.startHasLetter << ", endLen " << s.endLen << ", itemCount " << s.itemCount
      << ", letterSteps " << s.letterSteps << "}";
}

namespace {

constexpr UINT CP_WESTERN = 1252;

class FindRangeTest : public ::testing::Test {
 protected:
  ScopedCodePage shiftJis_{HOME_CODE_PAGE};

  // Recognition on the text as a read leaves it: in a zero-filled current-text buffer.
  bool Find(const std::string& copied, RangeSpec* spec) {
    std::memset(text_, 0, sizeof text_);
    std::memcpy(text_, copied.data(), copied.size());
    return FindRange(text_, spec);
  }

  char text_[CLIP_TEXT_SIZE];
};

TEST_F(FindRangeTest, CharKindClasses) {
  struct Case {
    char byte;
    int kind;
  };
  const Case cases[] = {
      {'0', CK_DIGIT},  {'5', CK_DIGIT},   {'9', CK_DIGIT},   {'/', CK_OTHER},
      {':', CK_OTHER},  {'A', CK_LETTER},  {'Q', CK_LETTER},  {'Z', CK_LETTER},
      {'a', CK_LETTER}, {'q', CK_LETTER},  {'z', CK_LETTER},  {'U', CK_LETTER},
      {'u', CK_LETTER}, {'R', CK_VOLUME},  {'S', CK_VOLUME},  {'T', CK_VOLUME},
      {'r', CK_VOLUME}, {'s', CK_VOLUME},  {'t', CK_VOLUME},  {'@', CK_OTHER},
      {'[', CK_OTHER},  {'`', CK_OTHER},   {'{', CK_OTHER},   {'-', CK_OTHER},
      {'~', CK_OTHER},  {'\0', CK_OTHER},  {'\r', CK_OTHER},  {'\x80', CK_OTHER},
      {'\xB0', CK_OTHER}, {'\xC1', CK_OTHER}, {'\xF2', CK_OTHER}, {'\xFF', CK_OTHER},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(c.byte)));
    EXPECT_EQ(CharKind(c.byte), c.kind);
  }
}

struct Accepted {
  std::string copied;
  RangeSpec spec;  // sepIndex, startLen, startHasLetter, endLen, itemCount, letterSteps
};

TEST_F(FindRangeTest, AcceptedRanges) {
  const Accepted cases[] = {
      {"a://b/img01-03.jpg", {11, 2, false, 2, 3, 0}},
      {"a://b/img01~03.jpg", {11, 2, false, 2, 3, 0}},
      {"a://b/img001-120.jpg", {12, 3, false, 3, 120, 0}},
      {"a://b/img05-05.jpg", {11, 2, false, 2, 1, 0}},
      // Abbreviated ends: 95 to 105, 123 to 145, 123 to 223, and reversed 3 to 101.
      {"a://b/img095-05.jpg", {12, 3, false, 2, 11, 0}},
      {"a://b/x123-45.jpg", {10, 3, false, 2, 23, 0}},
      {"a://b/x123-23.jpg", {10, 3, false, 2, 101, 0}},
      {"a://b/img03-01.jpg", {11, 2, false, 2, 99, 0}},
      {"a://b/img1-999.jpg", {10, 1, false, 3, 999, 0}},
      // Letter ranges.
      {"a://b/a01-c03.jpg", {9, 3, true, 3, 3, 2}},
      {"a://b/A01-c02.jpg", {9, 3, true, 3, 2, 34}},
      {"a://b/a1-b.jpg", {8, 2, true, 1, 2, 1}},
      // Volume letters outside the volume rule have offset 0.
      {"a://b/r001-t003.jpg", {10, 4, true, 4, 3, 0}},
      // The volume rule.
      {"a://b/file.r00-05", {14, 3, false, 2, 6, 0}},
      {"a://b/file.r95-05", {14, 3, false, 2, 11, 0}},
      {"a://b/file.r05-05", {14, 3, false, 2, 101, 0}},
      {"a://b/file.r00-s05", {14, 3, false, 3, 106, 0}},
      {"a://b/file.r05-r03", {14, 3, false, 3, 999, 0}},
      // The exclusion of .htm is case-sensitive.
      {"a://b/page1-3.HTM", {11, 1, false, 1, 3, 0}},
      // Cut at the first line break, whichever of CR and LF it starts with.
      {"a://b/img01-03.jpg\r\nb/x7-9", {11, 2, false, 2, 3, 0}},
      {"a://b/img01-03.jpg\nb/x7-9", {11, 2, false, 2, 3, 0}},
      {"a://b/img01-03.jpg\rb/x7-9", {11, 2, false, 2, 3, 0}},
      // A line break at index 0 stays, and the range moves one byte on.
      {"\na://b/img01-03.jpg", {12, 2, false, 2, 3, 0}},
      // Nine bytes each side at most: 234567890 to 123456789 with d 9 counts on to the next
      // thousand million: 10^9 - 234567890 + 123456789 + 1.
      {"a://b/x1234567890-1234567899", {17, 9, false, 9, 888888900, 0}},
      // The second byte 0x41 (A) of a double-byte character serves as the start letter.
      {"a://b/\x83\x41" "1-b3.jpg", {9, 2, true, 2, 3, 33}},
      // A later ~ that is the second byte of a double-byte character is no separator.
      {"a://b/img01-03\x81\x7E.jpg", {11, 2, false, 2, 3, 0}},
  };
  for (const Accepted& c : cases) {
    SCOPED_TRACE(c.copied);
    RangeSpec spec = {};
    ASSERT_TRUE(Find(c.copied, &spec));
    EXPECT_EQ(spec, c.spec);
  }
}

TEST_F(FindRangeTest, TextsLeftAlone) {
  const std::string cases[] = {
      "a://b/a01-C02.jpg",          // letters in falling order
      "a://b/img01-b03.jpg",        // end letter without a start letter
      "a://b/a-c.jpg",              // no digit beside the separator
      "a://b/page-1.htm",           // .htm
      "a://b/page1-3.html",         // .htm
      "a://b/x.cgi?p=1-3",          // .cgi
      "a://b/img01-03.jpg?k=x-y",   // the last separator has no digit beside it
      "a://b/img-03.jpg",           // no start part
      "a://b/img01-.jpg",           // no end part
      "img01-03.jpg\na://b/",       // the address is on the second line
      "\r\na://b/img01-03.jpg",     // the cut at index 1 leaves only the CR
      "-12 a://b/",                 // separator at index 0
      "a://b/img13.jpg",            // no separator
      "a://b/b001-t003.jpg",        // a volume letter at the end has offset 0: -1 step
      "a://b/img1\x81\x7E" "3.jpg", // its ~ is the second byte of a character
      "a://b/img1\x81-3.jpg",       // its - is the second byte of a character
  };
  for (const std::string& copied : cases) {
    SCOPED_TRACE(copied);
    RangeSpec spec = {};
    EXPECT_FALSE(Find(copied, &spec));
  }
}

TEST_F(FindRangeTest, TheTextKeepsOnlyItsFirstLine) {
  struct Case {
    std::string copied;
    std::string kept;
  };
  const Case cases[] = {
      {"a://b/img01-03.jpg\r\nb/x7-9", "a://b/img01-03.jpg"},
      {"img01-03.jpg\na://b/", "img01-03.jpg"},
      {"\na://b/img01-03.jpg", "\na://b/img01-03.jpg"},
      {"\r\na://b/img01-03.jpg", "\r"},
      // A LF after a lead byte is no valid second byte, so it breaks the line too.
      {"a://b/\x82\na1-3", "a://b/\x82"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.copied);
    RangeSpec spec;
    Find(c.copied, &spec);
    EXPECT_EQ(std::string(text_), c.kept);
    // Only the line break itself is overwritten; the bytes after it stay as they were.
    std::string buffer = c.copied;
    if (c.kept.size() < c.copied.size()) buffer[c.kept.size()] = '\0';
    EXPECT_EQ(std::string(text_, c.copied.size()), buffer);
  }
}

// Where every byte counts as single-byte, CR and LF break nothing: the last separator of
// the whole text decides, and the text is not shortened.
TEST_F(FindRangeTest, SingleByteCodePageExaminesTheWholeText) {
  ScopedCodePage western(CP_WESTERN);
  ASSERT_FALSE(TextCodePage.isDoubleByte);
  const std::string copied = "a://b/img01-03.jpg\r\nb/x7-9";
  RangeSpec spec = {};
  ASSERT_TRUE(Find(copied, &spec));
  EXPECT_EQ(spec, (RangeSpec{24, 1, false, 1, 3, 0}));
  EXPECT_EQ(std::string(text_), copied);
}

}  // namespace
