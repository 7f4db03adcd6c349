// List generation: one line for every value of the range, made by counting up the number in
// a working line in place, so that every line keeps the copied text's zeros and letter case.
#include <cstring>

#include "expand/expand.h"
#include "text/text.h"
#include "watch/watch.h"

char g_listBuf[LIST_BUF_SIZE];

namespace {

constexpr char LINE_END[] = "\r\n";  // the clipboard's line end
constexpr int LINE_END_LEN = sizeof LINE_END - 1;

// A working line that holds one of these is taken for the first volume of a split archive,
// whose name ends in rar instead.
constexpr const char* VOLUME_MARKS[] = {"r00", "R00"};
constexpr char FIRST_VOLUME[] = "rar";
constexpr int FIRST_VOLUME_LEN = sizeof FIRST_VOLUME - 1;

// The list as far as it is written. Its length is kept here so that appending a line never
// measures or copies what is already there.
struct List {
  int length;
  bool overflowed;  // a line did not fit: the list must not reach the clipboard
};

// The working line. The counter is the width bytes before sepPos, where the tail begins.
// Each pass produces at most LIST_LINES_MAX lines, so the counter grows by at most two
// bytes before the line is restored, and the line stays below LINE_BUF_SIZE.
struct Line {
  char bytes[LINE_BUF_SIZE];
  int length;  // up to the first zero byte: what the line is as a text
  int sepPos;
  int width;
};

void Append(List* list, const Line& line) {
  // A list of LIST_BUF_SIZE bytes or more could not be terminated in the buffer.
  if (list->length + line.length + LINE_END_LEN >= LIST_BUF_SIZE) {
    list->overflowed = true;
    return;
  }
  char* at = g_listBuf + list->length;
  std::memcpy(at, line.bytes, line.length);
  std::memcpy(at + line.length, LINE_END, sizeof LINE_END);
  list->length += line.length + LINE_END_LEN;
}

// Counts the counter up by one as a decimal number, last place first. Any byte but 9 simply
// takes the next byte value, so a volume letter r at the top becomes s. A carry out of the top
// place widens the counter by a leading 1 and moves the whole tail right.
void CountUp(Line* line) {
  int top = line->sepPos - line->width;
  for (int at = line->sepPos - 1;; --at) {
    if (line->bytes[at] != '9') {
      ++line->bytes[at];
      // A counter byte other than a digit may count round from 0xFF to zero, which ends the
      // line as a text there, and on to 1, which joins the rest of the line again.
      if (line->bytes[at] == 0 || at == line->length) line->length = BytesLength(line->bytes);
      return;
    }
    line->bytes[at] = '0';
    if (at == top) {
      std::memmove(line->bytes + at + 1, line->bytes + at, line->length - at + 1);
      line->bytes[at] = '1';
      ++line->length;
      ++line->sepPos;
      ++line->width;
      return;
    }
  }
}

bool HasVolumeMark(const char* line) {
  for (const char* mark : VOLUME_MARKS)
    if (BytesFind(line, mark) != TEXT_NONE) return true;
  return false;
}

}  // namespace

void BuildList(HWND window, const char* text, const RangeSpec& spec) {
  // The copied text without the separator and the end part.
  Line line;
  std::memcpy(line.bytes, text, spec.sepIndex);
  BytesCopy(line.bytes + spec.sepIndex, text + spec.sepIndex + spec.endLen + 1);
  line.length = BytesLength(line.bytes);
  const bool volume = HasVolumeMark(line.bytes);

  char saved[LINE_BUF_SIZE];
  std::memcpy(saved, line.bytes, line.length + 1);
  const int savedLength = line.length;
  const int startWidth = spec.startLen - (spec.startHasLetter ? 1 : 0);
  const int letterAt = spec.sepIndex - spec.startLen;
  line.sepPos = spec.sepIndex;
  line.width = startWidth;

  List list = {BytesLength(g_listBuf), false};
  int total = 0;
  for (int32_t j = 0; j <= spec.letterSteps && total < LIST_LINES_MAX; ++j) {
    for (int32_t i = 0; i < spec.itemCount && total < LIST_LINES_MAX; ++i, ++total) {
      // Past the append limit a line is not written but still counts, and the counter runs.
      if (list.length < LIST_APPEND_LIMIT) {
        Append(&list, line);
        if (i == 0 && j == 0) BytesCopy(g_lastText, line.bytes);
      }
      CountUp(&line);
    }
    // The next pass starts from the start number again, with the next letter.
    std::memcpy(line.bytes, saved, savedLength + 1);
    line.length = savedLength;
    line.sepPos = spec.sepIndex;
    line.width = startWidth;
    line.bytes[letterAt] = static_cast<char>(line.bytes[letterAt] + j + 1);
  }

  if (volume) {
    // The three bytes before the separator become rar. With the separator at index 1 or 2
    // (the r00 stood elsewhere in the line) only the bytes that exist are overwritten: the
    // last one or two letters of rar.
    for (int k = 0; k < FIRST_VOLUME_LEN; ++k) {
      int at = spec.sepIndex - FIRST_VOLUME_LEN + k;
      if (at >= 0) line.bytes[at] = FIRST_VOLUME[k];
    }
    Append(&list, line);
  }
  if (!list.overflowed) PutClipText(window, g_listBuf);
}
