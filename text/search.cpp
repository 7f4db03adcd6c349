// The double-byte aware searches and byte types. Each walks the text from its first byte,
// since only the bytes before a position tell whether it starts a character.
#include <cstring>

#include "text/text.h"

namespace {

constexpr unsigned char FIRST_PRINTABLE = 0x20;
constexpr unsigned char LAST_PRINTABLE = 0x7E;
constexpr int BYTE_SHIFT = 8;

unsigned char ClassOf(unsigned char b) { return TextCodePage.byteClass[b]; }

bool IsPrintable(unsigned char b) {
  return (b >= FIRST_PRINTABLE && b <= LAST_PRINTABLE) || (ClassOf(b) & BC_KANA);
}

// The type of a byte, given the type of the byte before it.
int NextByteType(int previous, unsigned char b) {
  if (previous == BT_LEAD) return (ClassOf(b) & BC_TRAIL) ? BT_TRAIL : BT_INVALID;
  if (ClassOf(b) & BC_LEAD) return BT_LEAD;
  return IsPrintable(b) ? BT_SINGLE : BT_INVALID;
}

}  // namespace

int TextByteType(const char* text, int index) {
  if (!TextCodePage.isDoubleByte) return BT_SINGLE;
  int type = BT_INVALID;
  for (int i = 0; i <= index; ++i) {
    unsigned char b = static_cast<unsigned char>(text[i]);
    if (b == 0) return BT_INVALID;
    type = NextByteType(type, b);
  }
  return type;
}

void TextByteTypes(const char* text, signed char* types, int count) {
  if (!TextCodePage.isDoubleByte) {
    std::memset(types, BT_SINGLE, count);
    return;
  }
  // The same walk as TextByteType's, a character at a time: a lead byte and the byte after
  // it, or one byte of its own.
  int i = 0;
  while (i < count && text[i] != 0) {
    unsigned char b = static_cast<unsigned char>(text[i]);
    if (!(ClassOf(b) & BC_LEAD)) {
      types[i++] = static_cast<signed char>(IsPrintable(b) ? BT_SINGLE : BT_INVALID);
      continue;
    }
    types[i++] = BT_LEAD;
    if (i == count || text[i] == 0) break;
    // Whatever the second byte is, the byte after it starts a character afresh.
    types[i] = static_cast<signed char>(
        NextByteType(BT_LEAD, static_cast<unsigned char>(text[i])));
    ++i;
  }
  if (i < count) std::memset(types + i, BT_INVALID, count - i);  // the terminator and beyond
}

int TextFindChar(const char* text, int ch) {
  if (!TextCodePage.isDoubleByte) {
    const char* hit = static_cast<const char*>(
        std::memchr(text, ch, static_cast<size_t>(BytesLength(text)) + 1));
    return hit ? static_cast<int>(hit - text) : TEXT_NONE;
  }
  for (int i = 0;; ++i) {
    unsigned char b = static_cast<unsigned char>(text[i]);
    if (b == 0) return ch == 0 ? i : TEXT_NONE;
    if (ClassOf(b) & BC_LEAD) {
      unsigned char second = static_cast<unsigned char>(text[i + 1]);
      if (second == 0) return TEXT_NONE;
      if ((b << BYTE_SHIFT | second) == ch) return i;
      ++i;  // the second byte is part of this character, whatever it is
    } else if (b == ch) {
      return i;
    }
  }
}

int TextFind(const char* text, const char* pattern) {
  if (!TextCodePage.isDoubleByte) return BytesFind(text, pattern);
  if (text[0] == 0) return TEXT_NONE;
  // The plain search finds the byte matches; the walk over the characters goes only as far
  // as the next of them, to tell whether it begins on a character boundary.
  int boundary = 0;
  for (int at = BytesFind(text, pattern); at != TEXT_NONE;) {
    while (boundary < at)
      boundary += (ClassOf(static_cast<unsigned char>(text[boundary])) & BC_LEAD) ? 2 : 1;
    if (boundary == at) return at;
    int next = BytesFind(text + at + 1, pattern);
    at = next == TEXT_NONE ? TEXT_NONE : at + 1 + next;
  }
  return TEXT_NONE;
}
