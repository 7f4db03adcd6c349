// Range recognition: whether the current text carries a numbered range, where it stands and
// how many lines it makes.
#include <cstring>

#include "expand/expand.h"
#include "text/text.h"
#include "watch/watch.h"

namespace {

constexpr char LINE_BREAKS[] = "\r\n";
constexpr int HYPHEN = '-';
constexpr int TILDE = '~';
constexpr int DECIMAL_BASE = 10;
constexpr char LETTER_ORIGIN = 'a';  // letter offsets count from a: a-z 0-25, A-Z -32 to -7

// Pages built from their address, never numbered files.
constexpr const char* EXCLUDED_PAGES[] = {".cgi", ".htm"};

// Split-archive volumes: a letter and two digits (r00, r01, ... r99, s00), the letter three
// bytes before the separator. The three bytes count as one counter with the letter on top.
constexpr int VOLUME_LETTER_BACK = 3;
constexpr int VOLUME_START_MAX = 3;
constexpr int VOLUME_END_DIGITS = 2;
constexpr int VOLUMES_PER_LETTER = 100;
constexpr int VOLUME_COUNTER_LEN = 3;

// Keeps only the first line of text and returns the length of what is left. Byte 0 is never
// looked at, so a text that begins with a line break keeps it. Only a CR or LF that the code
// page reports invalid cuts; where every byte counts as single-byte nothing is cut. Cutting
// leaves the types of the bytes before the cut as they were.
int CutFirstLine(char* text, signed char* types) {
  int length = static_cast<int>(strnlen(text, CLIP_TEXT_SIZE));
  TextByteTypes(text, types, length);
  for (int i = 1; i < length; ++i) {
    i += static_cast<int>(std::strcspn(text + i, LINE_BREAKS));
    if (i < length && types[i] == BT_INVALID) {
      text[i] = 0;
      return i;
    }
  }
  return length;
}

// The last "-" or "~" that is a character of its own, or TEXT_NONE. Only the last one
// counts, even when it stands in a query string after the range. Neither byte can lead a
// double-byte character, so one that starts a character is a single-byte character: the
// byte types find exactly the separators that TextFindChar finds, without another walk.
int LastSeparator(const char* text, const signed char* types, int length) {
  for (int i = length - 1; i >= 0; --i)
    if ((text[i] == HYPHEN || text[i] == TILDE) && types[i] == BT_SINGLE) return i;
  return TEXT_NONE;
}

// No generated page, and an address. The watch found the address before, but in the whole
// text: the line cut may have removed it.
bool IsAddressOfFile(const char* text) {
  for (const char* page : EXCLUDED_PAGES)
    if (TextFind(text, page) != TEXT_NONE) return false;
  return HasAddressTrigger(text);
}

bool IsLetter(int kind) { return kind == CK_LETTER || kind == CK_VOLUME; }

// Starts reading at the byte after the separator: digits, the first of them possibly a
// letter instead.
int EndPartLength(const char* end, bool* endLetter) {
  *endLetter = IsLetter(CharKind(end[0]));
  int length = *endLetter ? 1 : 0;
  while (length < RANGE_RUN_MAX && CharKind(end[length]) == CK_DIGIT) ++length;
  return length;
}

// Starts reading at the byte before the separator and walks left: digits, and when the end
// part has a letter, one letter that closes the part.
int StartPartLength(const char* text, int sepIndex, bool endLetter, bool* startHasLetter) {
  *startHasLetter = false;
  int length = 0;
  while (length < RANGE_RUN_MAX && sepIndex - length > 0) {
    int kind = CharKind(text[sepIndex - length - 1]);
    if (kind == CK_DIGIT) {
      ++length;
    } else {
      if (endLetter && IsLetter(kind)) {
        ++length;
        *startHasLetter = true;
      }
      break;
    }
  }
  return length;
}

// A letter keeps its place in the value but adds nothing to it.
int32_t PartValue(const char* part, int length) {
  int32_t value = 0;
  for (int i = 0; i < length; ++i)
    value = value * DECIMAL_BASE + (CharKind(part[i]) == CK_DIGIT ? part[i] - '0' : 0);
  return value;
}

// Volume letters stand for the volume number, not for a letter pass, wherever they are.
int32_t LetterOffset(char c, bool isLetter) {
  return isLetter && CharKind(c) == CK_LETTER ? c - LETTER_ORIGIN : 0;
}

bool IsVolumeRange(const char* text, int sepIndex, int startLen, int endDigits) {
  return sepIndex >= VOLUME_LETTER_BACK &&
         CharKind(text[sepIndex - VOLUME_LETTER_BACK]) == CK_VOLUME &&
         startLen <= VOLUME_START_MAX && endDigits == VOLUME_END_DIGITS;
}

// An end below the start is an abbreviated end: it replaces the last endDigits places of the
// start value, counting on to the next power of ten when it is not above them.
int32_t ItemCount(int32_t startValue, int32_t endValue, int32_t difference, int endDigits) {
  if (difference >= 0) return difference + 1;
  int32_t places = 1;
  for (int i = 0; i < endDigits; ++i) places *= DECIMAL_BASE;
  int32_t low = startValue % places;
  if (low < endValue) return endValue - low + 1;
  return places - low + endValue + 1;
}

}  // namespace

bool FindRange(char* text, RangeSpec* spec) {
  signed char types[CLIP_TEXT_SIZE];
  int length = CutFirstLine(text, types);
  // No separator at all, or one at index 0 with nothing before it to count from.
  int sepIndex = LastSeparator(text, types, length);
  if (sepIndex < 1 || !IsAddressOfFile(text)) return false;
  if (CharKind(text[sepIndex - 1]) != CK_DIGIT && CharKind(text[sepIndex + 1]) != CK_DIGIT)
    return false;

  const char* end = text + sepIndex + 1;
  bool endLetter;
  int endLen = EndPartLength(end, &endLetter);
  bool startHasLetter;
  int startLen = StartPartLength(text, sepIndex, endLetter, &startHasLetter);
  if (startLen == 0 || endLen == 0 || (endLetter && !startHasLetter)) return false;

  const char* start = text + sepIndex - startLen;
  int32_t startValue = PartValue(start, startLen);
  int32_t endValue = PartValue(end, endLen);
  int32_t letterSteps =
      LetterOffset(end[0], endLetter) - LetterOffset(start[0], startHasLetter);
  int32_t difference = endValue - startValue;

  if (IsVolumeRange(text, sepIndex, startLen, endLen - endLetter)) {
    if (endLetter) {
      // The end letter counts volume letters from the one before the separator.
      letterSteps = static_cast<unsigned char>(end[0]) -
                    static_cast<unsigned char>(text[sepIndex - VOLUME_LETTER_BACK]);
    } else if (difference <= 0) {
      difference += VOLUMES_PER_LETTER;
    }
    if (letterSteps > 0) difference += VOLUMES_PER_LETTER * letterSteps;
    startLen = VOLUME_COUNTER_LEN;
    startHasLetter = false;
    letterSteps = 0;
    endLetter = false;
  } else if (letterSteps < 0) {
    return false;
  }

  spec->sepIndex = sepIndex;
  spec->startLen = startLen;
  spec->startHasLetter = startHasLetter;
  spec->endLen = endLen;
  spec->itemCount = ItemCount(startValue, endValue, difference, endLen - endLetter);
  spec->letterSteps = letterSteps;
  return true;
}
