// Lower-casing in place: single bytes through the case map, double-byte characters through
// the platform's wide-character mapping.
#include "text/text.h"

namespace {

constexpr int CHAR_BYTES_MAX = 2;  // the longest character that TextLower writes back
constexpr int WIDE_MAX = 4;        // room for one character's UTF-16 form
constexpr int BYTES_MAX = 8;       // room for one character's mapped bytes

// The lower form of one character of len bytes; its length, or 0 when it cannot be mapped
// (an invalid sequence, or a form longer than the character, which could not be written back
// in place).
int LowerChar(const char* src, int len, char* out) {
  UINT codePage = TextCodePage.codePage;
  WCHAR wide[WIDE_MAX];
  int wideLen = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, src, len, wide, WIDE_MAX);
  if (wideLen == 0) return 0;
  WCHAR lowered[WIDE_MAX];
  int loweredLen = LCMapStringW(TextCodePage.caseLocale, LCMAP_LOWERCASE, wide, wideLen,
                                lowered, WIDE_MAX);
  if (loweredLen == 0) return 0;
  int outLen = WideCharToMultiByte(codePage, 0, lowered, loweredLen, out, BYTES_MAX, nullptr,
                                   nullptr);
  return outLen > len ? 0 : outLen;
}

}  // namespace

char* TextLower(char* text) {
  for (int i = 0; text[i] != 0;) {
    unsigned char b = static_cast<unsigned char>(text[i]);
    if (TextCodePage.byteClass[b] & BC_LEAD) {
      int len = text[i + 1] != 0 ? CHAR_BYTES_MAX : 1;
      char lowered[BYTES_MAX];
      int got = LowerChar(text + i, len, lowered);
      if (got == 0) return nullptr;
      // A one-byte form replaces the lead byte only; the byte after it is read afresh.
      for (int k = 0; k < got; ++k) text[i + k] = lowered[k];
      i += got;
    } else {
      if (TextCodePage.byteClass[b] & BC_UPPER)
        text[i] = static_cast<char>(TextCodePage.caseMap[b]);
      ++i;
    }
  }
  return text;
}
