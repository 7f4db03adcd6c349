// Choosing the active code page: which bytes lead a double-byte character, which may stand
// second, which are single-byte capitals and what they lower to.
#include <cstring>

#include "text/text.h"

CodePageRules TextCodePage;

namespace {

constexpr BYTE BLANK = 0x20;
constexpr int CASE_FALLBACK_SHIFT = 'a' - 'A';

// An inclusive byte range; a range whose last byte is 0 is unused.
struct ByteRange {
  BYTE first;
  BYTE last;
};

constexpr int TABLE_RANGES_MAX = 3;

struct BuiltInCodePage {
  UINT codePage;
  ByteRange lead[TABLE_RANGES_MAX];
  ByteRange trail[TABLE_RANGES_MAX];
  ByteRange kana;
  LCID caseLocale;
};

// The double-byte code pages whose byte classes we know without asking the platform.
constexpr BuiltInCodePage BUILT_IN[] = {
    {932, {{0x81, 0x9F}, {0xE0, 0xFC}}, {{0x40, 0x7E}, {0x80, 0xFC}}, {0xA1, 0xDF}, 1041},
    {936, {{0x81, 0xFE}}, {{0x40, 0xFE}}, {}, 2052},
    {949, {{0x81, 0xFE}}, {{0x41, 0xFE}}, {}, 1042},
    {950, {{0x81, 0xFE}}, {{0x40, 0x7E}, {0xA1, 0xFE}}, {}, 1028},
    {1361, {{0x81, 0xD3}, {0xD8, 0xDE}, {0xE0, 0xF9}}, {{0x31, 0x7E}, {0x81, 0xFE}}, {}, 0},
};

// Any multi-byte code page outside the table: every byte but the terminator and 0xFF may
// stand second.
constexpr ByteRange GENERIC_TRAIL = {0x01, 0xFE};

void MarkRange(CodePageRules& rules, ByteRange range, unsigned char flag) {
  if (range.last == 0) return;
  for (int b = range.first; b <= range.last; ++b) rules.byteClass[b] |= flag;
}

void TakeBuiltIn(CodePageRules& rules, const BuiltInCodePage& row) {
  for (const ByteRange& r : row.lead) MarkRange(rules, r, BC_LEAD);
  for (const ByteRange& r : row.trail) MarkRange(rules, r, BC_TRAIL);
  MarkRange(rules, row.kana, BC_KANA);
  rules.isDoubleByte = true;
  rules.codePage = row.codePage;
  rules.caseLocale = row.caseLocale;
}

// A code page outside the table: what the platform reports of it.
void TakeFromPlatform(CodePageRules& rules, UINT codePage) {
  CPINFO info;
  if (!GetCPInfo(codePage, &info)) return;  // unknown: code page 0, single-byte
  rules.codePage = codePage;
  if (info.MaxCharSize <= 1) return;
  rules.isDoubleByte = true;
  for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2)
    MarkRange(rules, {info.LeadByte[i], info.LeadByte[i + 1]}, BC_LEAD);
  MarkRange(rules, GENERIC_TRAIL, BC_TRAIL);
}

// Single-byte capitals and their lower forms, as the platform types and maps the 256 byte
// values; the terminator and lead bytes stand in as blanks, since alone they are no
// characters.
void TakeCaseClasses(CodePageRules& rules) {
  char bytes[BYTE_VALUES];
  for (int b = 0; b < BYTE_VALUES; ++b) {
    bool standIn = b == 0 || (rules.byteClass[b] & BC_LEAD);
    bytes[b] = static_cast<char>(standIn ? BLANK : b);
  }
  WORD types[BYTE_VALUES];
  char lower[BYTE_VALUES];
  bool described =
      GetStringTypeA(rules.caseLocale, CT_CTYPE1, bytes, BYTE_VALUES, types) &&
      LCMapStringA(rules.caseLocale, LCMAP_LOWERCASE, bytes, BYTE_VALUES, lower,
                   BYTE_VALUES) == BYTE_VALUES;
  for (int b = 0; b < BYTE_VALUES; ++b) {
    bool upper = described ? (types[b] & C1_UPPER) != 0 : (b >= 'A' && b <= 'Z');
    if (!upper) continue;
    rules.byteClass[b] |= BC_UPPER;
    rules.caseMap[b] =
        static_cast<unsigned char>(described ? lower[b] : b + CASE_FALLBACK_SHIFT);
  }
}

}  // namespace

void TextSetCodePageTo(UINT codePage) {
  CodePageRules& rules = TextCodePage;
  std::memset(&rules, 0, sizeof rules);
  const BuiltInCodePage* row = nullptr;
  for (const BuiltInCodePage& r : BUILT_IN)
    if (r.codePage == codePage) row = &r;
  if (row)
    TakeBuiltIn(rules, *row);
  else
    TakeFromPlatform(rules, codePage);
  TakeCaseClasses(rules);
}

void TextSetCodePage() { TextSetCodePageTo(GetACP()); }
