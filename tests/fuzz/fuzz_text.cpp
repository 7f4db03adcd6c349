// The double-byte text rules on any bytes under every code page the program knows: byte types
// as the walk from position 0 gives them, searches that match only on character boundaries,
// and lower-casing in place that keeps the length and leaves the rest alone after a failure.
//
// Input: [code page][pattern length][character code, 2 bytes][pattern][text]; a NUL ends the
// pattern or the text early, as it ends any text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/sim/sim_control.h"
#include "tests/fuzz/fuzz_check.h"
#include "text/text.h"

namespace {

constexpr UINT CODE_PAGES[] = {932, 1252, 65001, 936, 949, 950, 1361};
constexpr int CODE_PAGE_COUNT = sizeof CODE_PAGES / sizeof CODE_PAGES[0];
constexpr int HEADER_BYTES = 4;
constexpr int PATTERN_MAX = 8;
constexpr int PAST_END = 4;  // indices looked at beyond the terminator
constexpr unsigned char FIRST_PRINTABLE = 0x20;
constexpr unsigned char LAST_PRINTABLE = 0x7E;

// Setting up a code page asks the platform about all 256 bytes; do it once for each.
CodePageRules g_rules[CODE_PAGE_COUNT];

bool InRange(unsigned char b, unsigned char first, unsigned char last) {
  return b >= first && b <= last;
}

// The classes of code page 932, straight from its definition, against what the text rules
// set up for it.
void CheckShiftJisClasses(const CodePageRules& rules) {
  FUZZ_CHECK(rules.isDoubleByte && rules.codePage == 932);
  for (int b = 0; b < BYTE_VALUES; ++b) {
    unsigned char c = static_cast<unsigned char>(b);
    bool lead = InRange(c, 0x81, 0x9F) || InRange(c, 0xE0, 0xFC);
    bool trail = InRange(c, 0x40, 0x7E) || InRange(c, 0x80, 0xFC);
    bool kana = InRange(c, 0xA1, 0xDF);
    bool upper = InRange(c, 'A', 'Z');
    FUZZ_CHECK(((rules.byteClass[b] & BC_LEAD) != 0) == lead);
    FUZZ_CHECK(((rules.byteClass[b] & BC_TRAIL) != 0) == trail);
    FUZZ_CHECK(((rules.byteClass[b] & BC_KANA) != 0) == kana);
    FUZZ_CHECK(((rules.byteClass[b] & BC_UPPER) != 0) == upper);
  }
}

bool Has(unsigned char b, unsigned char flag) { return (TextCodePage.byteClass[b] & flag) != 0; }

// The byte types by the rule itself: a lead byte claims the next byte, which must be a valid
// second byte; everything else must be printable.
std::vector<int> ReferenceTypes(const unsigned char* text, int n, int count) {
  std::vector<int> types(count, TextCodePage.isDoubleByte ? BT_INVALID : BT_SINGLE);
  if (!TextCodePage.isDoubleByte) return types;
  bool afterLead = false;
  for (int i = 0; i < n && i < count; ++i) {
    unsigned char b = text[i];
    if (afterLead) {
      types[i] = Has(b, BC_TRAIL) ? BT_TRAIL : BT_INVALID;
      afterLead = false;
    } else if (Has(b, BC_LEAD)) {
      types[i] = BT_LEAD;
      afterLead = true;
    } else {
      bool printable = InRange(b, FIRST_PRINTABLE, LAST_PRINTABLE) || Has(b, BC_KANA);
      types[i] = printable ? BT_SINGLE : BT_INVALID;
    }
  }
  return types;
}

// Where characters start: a lead byte and the byte after it are one character, unless that
// byte is the terminator. Every byte is a character of its own in a single-byte code page.
std::vector<bool> Boundaries(const unsigned char* text, int n) {
  std::vector<bool> starts(n + 1, false);
  for (int i = 0; i <= n; ++i) {
    starts[i] = true;
    if (TextCodePage.isDoubleByte && i < n && Has(text[i], BC_LEAD) && i + 1 < n) ++i;
  }
  return starts;
}

int ReferenceFind(const char* text, int n, const char* pattern, int m,
                  const std::vector<bool>& starts) {
  // The double-byte walk never looks at an empty text; the plain search finds "" at 0.
  int limit = TextCodePage.isDoubleByte ? n - 1 : n;
  for (int at = 0; at <= limit && at <= n - m; ++at)
    if (starts[at] && std::memcmp(text + at, pattern, m) == 0) return at;
  return TEXT_NONE;
}

int ReferenceFindChar(const unsigned char* text, int n, int ch,
                      const std::vector<bool>& starts) {
  if (!TextCodePage.isDoubleByte) {
    for (int i = 0; i <= n; ++i)
      if (text[i] == ch) return i;
    return TEXT_NONE;
  }
  for (int i = 0; i <= n; ++i) {
    if (!starts[i]) continue;
    if (i == n) return ch == 0 ? i : TEXT_NONE;
    if (Has(text[i], BC_LEAD)) {
      if (i + 1 == n) return TEXT_NONE;  // a lone lead byte ends the search
      if ((text[i] << 8 | text[i + 1]) == ch) return i;
    } else if (text[i] == ch) {
      return i;
    }
  }
  return TEXT_NONE;
}

// An exact-size copy, so that AddressSanitizer sees any read or write past the terminator.
char* Copy(const uint8_t* bytes, int n) {
  char* copy = static_cast<char*>(std::malloc(n + 1));
  std::memcpy(copy, bytes, n);
  copy[n] = 0;
  return copy;
}

void CheckTypes(const char* text, int n) {
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
  int count = n + PAST_END;
  std::vector<int> expected = ReferenceTypes(bytes, n, count);
  std::vector<signed char> all(count);
  TextByteTypes(text, all.data(), count);
  for (int i = 0; i < count; ++i) {
    FUZZ_CHECK(TextByteType(text, i) == expected[i]);
    FUZZ_CHECK(all[i] == expected[i]);
  }
}

void CheckSearches(const char* text, int n, const char* pattern, int m, int ch) {
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
  std::vector<bool> starts = Boundaries(bytes, n);
  int found = TextFind(text, pattern);
  FUZZ_CHECK(found == ReferenceFind(text, n, pattern, m, starts));
  if (found != TEXT_NONE) FUZZ_CHECK(starts[found]);
  int at = TextFindChar(text, ch);
  FUZZ_CHECK(at == ReferenceFindChar(bytes, n, ch, starts));
  if (at != TEXT_NONE) FUZZ_CHECK(starts[at]);
}

// Lowering keeps the length and the terminator. After a failure, everything from the failing
// lead byte on is as it was; that byte is where the walk over the result stops.
void CheckLower(const char* original, int n) {
  char* text = Copy(reinterpret_cast<const uint8_t*>(original), n);
  char* result = TextLower(text);
  FUZZ_CHECK(BytesLength(text) == n);
  if (result) {
    FUZZ_CHECK(result == text);
  } else {
    // The walk over the result: lowered bytes up to the failure, then the original.
    bool stopped = false;
    for (int i = 0; i < n && !stopped; ++i) {
      if (Has(static_cast<unsigned char>(text[i]), BC_LEAD) &&
          std::memcmp(text + i, original + i, n - i) == 0)
        stopped = true;
    }
    FUZZ_CHECK(stopped);
  }
  std::free(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < HEADER_BYTES) return 0;
  if (UseCodePage(CODE_PAGES, g_rules, CODE_PAGE_COUNT, data[0] % CODE_PAGE_COUNT))
    CheckShiftJisClasses(g_rules[0]);
  int m = data[1] % (PATTERN_MAX + 1);
  int ch = data[2] << 8 | data[3];
  // A byte, or under a double-byte code page a lead byte and its second.
  if (!TextCodePage.isDoubleByte || (ch >= 0x100 && ch < 0x8100)) ch &= 0xFF;
  data += HEADER_BYTES;
  size -= HEADER_BYTES;
  int patternBytes = static_cast<size_t>(m) > size ? static_cast<int>(size) : m;
  char* pattern = Copy(data, patternBytes);
  m = BytesLength(pattern);
  char* text = Copy(data + patternBytes, static_cast<int>(size) - patternBytes);
  int n = BytesLength(text);

  CheckTypes(text, n);
  CheckSearches(text, n, pattern, m, ch);
  CheckLower(text, n);

  std::free(text);
  std::free(pattern);
  return 0;
}
