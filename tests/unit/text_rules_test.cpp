// The text rules under the code page the program is written for (932), a single-byte one
// (1252), one with characters longer than two bytes (65001) and one the system does not know.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/code_page.h"
#include "text/text.h"

namespace {

constexpr UINT CP_SHIFT_JIS = 932;
constexpr UINT CP_WESTERN = 1252;
constexpr UINT CP_UTF8 = 65001;
constexpr UINT CP_UNKNOWN = 4242;

constexpr int S = BT_SINGLE;
constexpr int L = BT_LEAD;
constexpr int T = BT_TRAIL;
constexpr int X = BT_INVALID;

bool In(int b, int first, int last) { return b >= first && b <= last; }
bool None(int) { return false; }

// Lower-case forms of single bytes; 0 for a byte that is no capital.
int AsciiLower(int b) { return In(b, 'A', 'Z') ? b + ('a' - 'A') : 0; }
int WesternLower(int b) {
  switch (b) {
    case 0x8A: return 0x9A;  // S with caron
    case 0x8C: return 0x9C;  // OE
    case 0x8E: return 0x9E;  // Z with caron
    case 0x9F: return 0xFF;  // Y with diaeresis
    case 0xD7: return 0;     // multiplication sign
    default: return In(b, 0xC0, 0xDE) ? b + 0x20 : AsciiLower(b);
  }
}

TEST(TextRulesTest, CodePageRulesComeFromTheTableOrThePlatform) {
  struct Case {
    UINT ansi;
    UINT codePage;
    bool isDoubleByte;
    LCID caseLocale;
    bool (*lead)(int);
    bool (*trail)(int);
    bool (*kana)(int);
    int (*lower)(int);
  };
  const Case cases[] = {
      {CP_SHIFT_JIS, CP_SHIFT_JIS, true, 1041,
       [](int b) { return In(b, 0x81, 0x9F) || In(b, 0xE0, 0xFC); },
       [](int b) { return In(b, 0x40, 0x7E) || In(b, 0x80, 0xFC); },
       [](int b) { return In(b, 0xA1, 0xDF); }, AsciiLower},
      {CP_UTF8, CP_UTF8, true, 0, None, [](int b) { return In(b, 0x01, 0xFE); }, None,
       AsciiLower},
      {CP_WESTERN, CP_WESTERN, false, 0, None, None, None, WesternLower},
      {CP_UNKNOWN, 0, false, 0, None, None, None, AsciiLower},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ansi);
    ScopedCodePage codePage(c.ansi);
    const CodePageRules& rules = TextCodePage;
    EXPECT_EQ(rules.codePage, c.codePage);
    EXPECT_EQ(rules.isDoubleByte, c.isDoubleByte);
    EXPECT_EQ(rules.caseLocale, c.caseLocale);
    for (int b = 0; b < BYTE_VALUES; b++) {
      SCOPED_TRACE(b);
      EXPECT_EQ((rules.byteClass[b] & BC_LEAD) != 0, c.lead(b));
      EXPECT_EQ((rules.byteClass[b] & BC_TRAIL) != 0, c.trail(b));
      EXPECT_EQ((rules.byteClass[b] & BC_KANA) != 0, c.kana(b));
      EXPECT_EQ((rules.byteClass[b] & BC_UPPER) != 0, c.lower(b) != 0);
      EXPECT_EQ(rules.caseMap[b], c.lower(b));
    }
  }
}

// Each case lists the types from index 0 through the terminator and one index beyond it.
TEST(TextRulesTest, ByteTypesFollowTheWalkFromTheFirstByte) {
  struct Case {
    UINT codePage;
    const char* text;
    std::vector<int> types;
  };
  const Case cases[] = {
      {CP_SHIFT_JIS, "a\r\n", {S, X, X, X, X}},
      {CP_SHIFT_JIS, "\x82\r\x82\nb", {L, X, L, X, S, X, X}},
      {CP_SHIFT_JIS, "\x81\x7E~\x8E\x7E", {L, T, S, L, T, X, X}},
      {CP_SHIFT_JIS, "\x81-a", {L, X, S, X, X}},
      {CP_SHIFT_JIS, "ab\x82", {S, S, L, X, X}},
      {CP_SHIFT_JIS, "\xA1\xB1\xDF", {S, S, S, X, X}},
      {CP_SHIFT_JIS, "\x80\xA0\xFD\xFE\xFF", {X, X, X, X, X, X, X}},
      {CP_SHIFT_JIS, "\x81\x81\x81\x81-", {L, T, L, T, S, X, X}},
      {CP_SHIFT_JIS, "\x9F\x40\xE0\xFC\x82\x7F", {L, T, L, T, L, X, X, X}},
      {CP_SHIFT_JIS, "\t\x7F ~", {X, X, S, S, X, X}},
      {CP_WESTERN, "a\r\n\x81-\x82", {S, S, S, S, S, S, S, S}},
      {CP_UNKNOWN, "\x82\r", {S, S, S, S}},
      {CP_UTF8, "a\xC3\xA9\r-", {S, X, X, X, S, X, X}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ScopedCodePage codePage(c.codePage);
    int count = static_cast<int>(c.types.size());
    std::vector<signed char> all(count);
    TextByteTypes(c.text, all.data(), count);
    for (int i = 0; i < count; i++) {
      EXPECT_EQ(TextByteType(c.text, i), c.types[i]) << "index " << i;
      EXPECT_EQ(all[i], c.types[i]) << "index " << i;
    }
  }
}

TEST(TextRulesTest, FindCharSkipsTheSecondByteOfACharacter) {
  struct Case {
    UINT codePage;
    const char* text;
    int ch;
    int found;
  };
  const Case cases[] = {
      {CP_SHIFT_JIS, "\x81\x7E", '~', TEXT_NONE},
      {CP_SHIFT_JIS, "\x81\x7E~", '~', 2},
      {CP_SHIFT_JIS, "\x8E\x7E~", '~', 2},
      {CP_SHIFT_JIS, "a\x81\x7E", 0x817E, 1},
      {CP_SHIFT_JIS, "\x81-b-", '-', 3},
      {CP_SHIFT_JIS, "\x81\x81-", '-', 2},
      {CP_SHIFT_JIS, "a-\x82", '-', 1},
      {CP_SHIFT_JIS, "ab\x82", '-', TEXT_NONE},
      {CP_SHIFT_JIS, "ab\x82", 0, TEXT_NONE},  // the lone lead byte ends the walk
      {CP_SHIFT_JIS, "abc", 0, 3},
      {CP_WESTERN, "\x81-", '-', 1},
      {CP_WESTERN, "\x81\x7E", '~', 1},
      {CP_WESTERN, "abc", 0, 3},
      {CP_UTF8, "\xC3\xA9-", '-', 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ScopedCodePage codePage(c.codePage);
    EXPECT_EQ(TextFindChar(c.text, c.ch), c.found);
  }
}

TEST(TextRulesTest, FindMatchesOnlyOnCharacterBoundaries) {
  struct Case {
    UINT codePage;
    const char* text;
    const char* pattern;
    int found;
  };
  const Case cases[] = {
      {CP_SHIFT_JIS, "\x82www", "www", TEXT_NONE},
      {CP_SHIFT_JIS, "\x82www", "ww", 2},
      {CP_SHIFT_JIS, "a://www", "www", 4},
      {CP_SHIFT_JIS, "\x82\xA0\x82\xA0", "\xA0\x82", TEXT_NONE},
      {CP_SHIFT_JIS, "\x82\xA0\x82\xA0", "\x82\xA0", 0},
      {CP_SHIFT_JIS, "ab\x82", "\x82", 2},
      {CP_SHIFT_JIS, "ab\x82", "b", 1},
      {CP_SHIFT_JIS, "ab", "abc", TEXT_NONE},
      {CP_SHIFT_JIS, "abc", "", 0},
      {CP_SHIFT_JIS, "", "", TEXT_NONE},
      {CP_SHIFT_JIS, "", "a", TEXT_NONE},
      {CP_WESTERN, "\x82www", "www", 1},
      {CP_WESTERN, "", "", 0},
      {CP_UTF8, "\xC3\xA9www", "www", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ScopedCodePage codePage(c.codePage);
    EXPECT_EQ(TextFind(c.text, c.pattern), c.found) << "pattern " << c.pattern;
  }
}

TEST(TextRulesTest, LowerMapsCapitalsInPlaceAndStopsAtAnUnmappableCharacter) {
  struct Case {
    UINT codePage;
    const char* text;
    const char* lowered;
    bool mapped;
  };
  const Case cases[] = {
      {CP_SHIFT_JIS, "a://b/IMG01.JPG", "a://b/img01.jpg", true},
      {CP_SHIFT_JIS, "\x82\x60", "\x82\x81", true},  // full-width A
      {CP_SHIFT_JIS, "CLIP 1\x82\x60\x82\x61", "clip 1\x82\x81\x82\x82", true},
      {CP_SHIFT_JIS, "\x83\x9F\x84\x40", "\x83\xBF\x84\x70", true},  // Greek and Cyrillic A
      {CP_SHIFT_JIS, "\x82\x81\x88\x9F", "\x82\x81\x88\x9F", true},  // small a, a kanji
      {CP_SHIFT_JIS, "\xB1\xB2\xDF", "\xB1\xB2\xDF", true},          // half-width katakana
      {CP_SHIFT_JIS, "A\x82\x60" "B", "a\x82\x81" "b", true},
      {CP_SHIFT_JIS, "AB\x82", "ab\x82", false},
      {CP_SHIFT_JIS, "A\x82 B", "a\x82 B", false},
      {CP_WESTERN, "\xC0Z\x9F", "\xE0z\xFF", true},
      {CP_WESTERN, "\xD7\xDF", "\xD7\xDF", true},
      {CP_UTF8, "ABC\xC3\x89", "abc\xC3\x89", true},
      {CP_UNKNOWN, "ABC\xC0", "abc\xC0", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ScopedCodePage codePage(c.codePage);
    std::string text = c.text;
    char* result = TextLower(&text[0]);
    EXPECT_EQ(result, c.mapped ? &text[0] : nullptr);
    EXPECT_EQ(text, c.lowered);
  }
}

TEST(TextRulesTest, PlainByteSearchIgnoresCharacters) {
  struct Case {
    const char* text;
    const char* pattern;
    int found;
  };
  const Case cases[] = {
      {"\x82www", "www", 1}, {"", "", 0},         {"abc", "", 0},
      {"abc", "d", TEXT_NONE}, {"clip 1x", "clip 1", 0}, {"x r00", "r00", 2},
  };
  ScopedCodePage codePage(CP_SHIFT_JIS);
  for (const Case& c : cases) {
    EXPECT_EQ(BytesFind(c.text, c.pattern), c.found) << c.text << " / " << c.pattern;
  }
}

TEST(TextRulesTest, PlainByteComparesAndCopies) {
  EXPECT_EQ(BytesLength("a\x82\xA0"), 3);
  EXPECT_EQ(BytesLength(""), 0);
  EXPECT_TRUE(BytesBeginWith("clip end", "clip "));
  EXPECT_FALSE(BytesBeginWith("cli", "clip"));
  EXPECT_TRUE(BytesEqual("a\x82\xA0", "a\x82\xA0"));
  EXPECT_FALSE(BytesEqual("ab", "abc"));
  EXPECT_FALSE(BytesEqual("abc", "ab"));

  char copy[8] = "xxxxxxx";
  BytesCopy(copy, "ab");
  EXPECT_EQ(std::string(copy, sizeof copy), std::string("ab\0xxxx\0", sizeof copy));
}

TEST(TextRulesTest, FormatReplacesEachPercentSWithTheNextText) {
  struct Case {
    const char* format;
    const char* first;
    const char* second;
    const char* formatted;
  };
  const Case cases[] = {
      {"%s%s\r\n", "a://b/1.jpg", "", "a://b/1.jpg\r\n"},
      {"x%sy%sz", "A", "BC", "xAyBCz"},
      {"no conversion", "A", "B", "no conversion"},
      {"%s", "\x82\xA0", "", "\x82\xA0"},
  };
  for (const Case& c : cases) {
    char out[64];
    EXPECT_EQ(BytesFormat(out, c.format, c.first, c.second),
              static_cast<int>(std::string(c.formatted).size()));
    EXPECT_STREQ(out, c.formatted) << c.format;
  }
}

TEST(TextRulesTest, ListFormatAppendsALineToItself) {
  char list[64] = "a://b/1.jpg\r\na://b/2.jpg\r\n";
  EXPECT_EQ(BytesFormat(list, "%s%s\r\n", list, "a://b/3.jpg"), 39);
  EXPECT_STREQ(list, "a://b/1.jpg\r\na://b/2.jpg\r\na://b/3.jpg\r\n");
}

}  // namespace
