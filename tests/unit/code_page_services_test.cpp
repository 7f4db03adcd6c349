// The simulated system's code page services, as the text rules rely on them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim_control.h"
#include "tests/support/code_page.h"

namespace {

TEST(CodePageServicesTest, CodePageInfoGivesSizeAndLeadByteRanges) {
  struct Case {
    UINT codePage;
    UINT maxCharSize;
    std::vector<BYTE> leadBytes;  // pairs of first and last byte
  };
  const Case cases[] = {
      {932, 2, {0x81, 0x9F, 0xE0, 0xFC}},
      {936, 2, {0x81, 0xFE}},
      {1252, 1, {}},
      {20127, 1, {}},  // ASCII and ISO 8859-1, known to iconv by their own names
      {28591, 1, {}},
      {65001, 4, {}},  // longer than double-byte: no ranges
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.codePage);
    CPINFO info;
    ASSERT_TRUE(GetCPInfo(c.codePage, &info));
    EXPECT_EQ(info.MaxCharSize, c.maxCharSize);
    std::vector<BYTE> leadBytes = c.leadBytes;
    leadBytes.resize(MAX_LEADBYTES, 0);
    EXPECT_EQ(std::vector<BYTE>(info.LeadByte, info.LeadByte + MAX_LEADBYTES), leadBytes);
  }
  CPINFO info;
  EXPECT_FALSE(GetCPInfo(4242, &info));
}

TEST(CodePageServicesTest, AnsiCodePageIsWhatTheSystemWasSetTo) {
  EXPECT_EQ(GetACP(), HOME_CODE_PAGE);
  {
    ScopedCodePage codePage(1252);
    EXPECT_EQ(GetACP(), 1252u);
  }
  EXPECT_EQ(GetACP(), HOME_CODE_PAGE);
}

// One double-byte character there and back, as TextLower converts it.
TEST(CodePageServicesTest, ConversionRejectsIncompleteAndInvalidSequences) {
  struct Case {
    const char* bytes;
    std::u16string wide;  // empty: the conversion fails
  };
  const Case cases[] = {
      {"\x82\x60", u"\uFF21"},
      {"a\x82\xA0", u"a\u3042"},
      {"\x82", u""},
      {"\x82 ", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    WCHAR wide[8];
    int len = static_cast<int>(std::string(c.bytes).size());
    int got = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, c.bytes, len, wide, 8);
    EXPECT_EQ(std::u16string(wide, got), c.wide);
    if (got == 0) continue;
    char back[8];
    EXPECT_EQ(WideCharToMultiByte(932, 0, wide, got, back, 8, nullptr, nullptr), len);
    EXPECT_EQ(std::string(back, len), c.bytes);
  }
}

TEST(CodePageServicesTest, WideLowerCaseUnderTheProgramsLocales) {
  const WCHAR capitals[] = u"A\uFF21\u0391\u0410\u3042";
  const std::u16string lowered = u"a\uFF41\u03B1\u0430\u3042";
  for (LCID locale : {0u, 1041u}) {
    WCHAR out[8];
    int got = LCMapStringW(locale, LCMAP_LOWERCASE, capitals, 5, out, 8);
    EXPECT_EQ(std::u16string(out, got), lowered) << locale;
  }
}

}  // namespace
