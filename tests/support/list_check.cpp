#include "tests/support/list_check.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "expand/expand.h"
#include "watch/watch.h"

namespace {

constexpr char LINE_END[] = "\r\n";
constexpr char FIRST_VOLUME[] = "rar";
constexpr int FIRST_VOLUME_LEN = 3;

// One step of the odometer: the last place first; a 9 turns to 0 and carries, any other byte
// takes the next byte value; a carry out of the top place widens the counter by a leading 1.
void CountUp(std::string* counter) {
  for (size_t at = counter->size(); at-- > 0;) {
    if ((*counter)[at] != '9') {
      ++(*counter)[at];
      return;
    }
    (*counter)[at] = '0';
  }
  counter->insert(0, 1, '1');
}

// A line as a text: a byte counted round to zero ends it.
std::string AsText(const std::string& bytes) { return std::string(bytes.c_str()); }

}  // namespace

ListVerdict CheckList(const std::string& source, const char* list, const char* lastText,
                      const std::string& lastTextBefore) {
  ListVerdict verdict = {nullptr, false, false, std::string()};
  char text[CLIP_TEXT_SIZE] = {};
  std::memcpy(text, source.data(), std::min<size_t>(source.size(), CLIP_READ_MAX));
  RangeSpec spec;
  verdict.accepted = FindRange(text, &spec);
  const std::string listed(list);
  if (!verdict.accepted) {
    if (!listed.empty()) verdict.fault = "a list was made of a text left alone";
    if (lastTextBefore != lastText) verdict.fault = "a text left alone changed the last text";
    return verdict;
  }
  if (spec.itemCount < 1 || spec.letterSteps < 0) {
    verdict.fault = "a range without lines was accepted";
    return verdict;
  }

  // The copied line without the separator and the end part; the counter stands before the
  // separator's place, the letter (when there is one) just before the counter.
  const std::string line(text);
  const int sep = spec.sepIndex;
  const int width = spec.startLen - (spec.startHasLetter ? 1 : 0);
  const int letterAt = sep - spec.startLen;
  const std::string start = line.substr(0, sep - width);
  const std::string tail = line.substr(sep + spec.endLen + 1);
  std::string working = line.substr(0, sep) + tail;
  const bool volume =
      working.find("r00") != std::string::npos || working.find("R00") != std::string::npos;

  std::string expected;
  std::string firstLine;
  int total = 0;
  int32_t passes = 0;
  for (int32_t j = 0; j <= spec.letterSteps && total < LIST_LINES_MAX; ++j, ++passes) {
    std::string head = start;
    if (spec.startHasLetter) head[letterAt] = static_cast<char>(head[letterAt] + j);
    std::string counter = line.substr(sep - width, width);
    for (int32_t i = 0; i < spec.itemCount && total < LIST_LINES_MAX; ++i, ++total) {
      if (expected.size() < static_cast<size_t>(LIST_APPEND_LIMIT)) {
        std::string numbered = AsText(head + counter + tail);
        if (expected.empty()) firstLine = numbered;
        expected += numbered + LINE_END;
      }
      CountUp(&counter);
    }
  }
  bool fits = true;
  if (volume) {
    // The start line with the letter moved on by the passes that ran, and the three bytes
    // before the separator (those that exist) overwritten with rar.
    working[letterAt] = static_cast<char>(working[letterAt] + passes);
    for (int k = 0; k < FIRST_VOLUME_LEN; ++k)
      if (sep - FIRST_VOLUME_LEN + k >= 0) working[sep - FIRST_VOLUME_LEN + k] = FIRST_VOLUME[k];
    std::string last = AsText(working) + LINE_END;
    fits = expected.size() + last.size() < static_cast<size_t>(LIST_BUF_SIZE);
    if (fits) expected += last;
  }

  if (listed != expected) verdict.fault = "the list is not the list of the copied text";
  if (firstLine != lastText) verdict.fault = "the last text is not the list's first line";
  verdict.putOnClipboard = fits;
  verdict.clipboard = expected.substr(0, CLIP_WRITE_MAX);
  return verdict;
}
