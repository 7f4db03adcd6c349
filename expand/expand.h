// Sequence expansion: recognising a numbered range in the current text and generating the
// list of every address in it.
#pragma once

#include <cstdint>

#include "platform/win32.h"

// Character classes of one byte.
constexpr int CK_OTHER = 0;
constexpr int CK_DIGIT = 1;
constexpr int CK_LETTER = 2;  // A-Z, a-z except the volume letters
constexpr int CK_VOLUME = 3;  // R, S, T, r, s, t

// Most bytes a start or an end part may hold.
constexpr int RANGE_RUN_MAX = 9;

constexpr int LIST_LINES_MAX = 500;        // numbered lines of one list
constexpr int LIST_APPEND_LIMIT = 31744;   // numbered lines are appended only below this
constexpr int LIST_BUF_SIZE = 32768;       // the list buffer
constexpr int LINE_BUF_SIZE = 1024;        // the working line and the saved line

// Result codes of ExpandRange.
constexpr int EXPAND_DONE = 0;        // a list was generated
constexpr int EXPAND_LEFT_ALONE = 1;  // the text carries no range to expand

// What recognition hands to list generation.
struct RangeSpec {
  int32_t sepIndex;     // index of the separator in the text, at least 1
  int32_t startLen;     // bytes of the start part, leading letter included
  bool startHasLetter;  // the start part begins with a letter
  int32_t endLen;       // bytes of the end part, leading letter included
  int32_t itemCount;    // numbers per letter pass, at least 1
  int32_t letterSteps;  // letter passes minus one
};

// The generated list, emptied at the start of every expansion.
extern char g_listBuf[LIST_BUF_SIZE];

int CharKind(char c);
// Examines text (the current text buffer, which it may cut at its first line break).
// Returns true with spec filled when the text is to be expanded.
bool FindRange(char* text, RangeSpec* spec);
// Writes the list for an accepted text into g_listBuf, records its first line as the last
// text and puts the list on the clipboard.
void BuildList(HWND window, const char* text, const RangeSpec& spec);
// Expands g_clipText: EXPAND_DONE when a list was generated, whether or not it reached the
// clipboard; EXPAND_LEFT_ALONE when the text was left alone.
int ExpandRange(HWND window);
