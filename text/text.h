// Text rules: every text is a NUL-terminated byte string in the active ANSI code page.
// Positions, lengths and limits count bytes, never characters. The double-byte aware
// operations step by character boundaries; the plain byte operations take no notice of them.
#pragma once

#include "platform/win32.h"

// Byte types reported by TextByteType.
constexpr int BT_SINGLE = 0;    // a printable single-byte character
constexpr int BT_LEAD = 1;      // the lead byte of a double-byte character
constexpr int BT_TRAIL = 2;     // a valid second byte of a double-byte character
constexpr int BT_INVALID = -1;  // anything else, including the terminator and beyond

// Byte class flags; a byte value may carry several.
constexpr unsigned char BC_KANA = 0x01;   // single-byte katakana, printable
constexpr unsigned char BC_LEAD = 0x02;   // lead byte of a double-byte character
constexpr unsigned char BC_TRAIL = 0x04;  // may stand second in a double-byte character
constexpr unsigned char BC_UPPER = 0x08;  // single-byte capital, its lower form in caseMap

constexpr int BYTE_VALUES = 256;

// What a search returns when it finds nothing.
constexpr int TEXT_NONE = -1;

struct CodePageRules {
  UINT codePage;      // 0 when no code page could be set up
  bool isDoubleByte;  // false selects the plain byte behaviour
  unsigned char byteClass[BYTE_VALUES];
  unsigned char caseMap[BYTE_VALUES];
  LCID caseLocale;  // 0: the system default
};

// The rules of the active code page, filled once at start-up and only read afterwards.
extern CodePageRules TextCodePage;

// Takes the system's ANSI code page.
void TextSetCodePage();
// Takes the given code page instead; TextCodePage.codePage is 0 afterwards when the
// platform does not know it.
void TextSetCodePageTo(UINT codePage);

// Position of the first match of pattern that begins on a character boundary, or TEXT_NONE.
int TextFind(const char* text, const char* pattern);
// Position of the first character equal to ch (a byte, or lead * 256 + second), or TEXT_NONE.
int TextFindChar(const char* text, int ch);
// The byte type at index, as the walk from position 0 finds it.
int TextByteType(const char* text, int index);
// TextByteType for every index from 0 to count - 1 in one walk.
void TextByteTypes(const char* text, signed char* types, int count);
// Lower-cases text in place; returns it, or nullptr when a double-byte character cannot be
// mapped (the text is then lowered up to that character and unchanged from there on).
char* TextLower(char* text);

// ---- Plain byte operations --------------------------------------------------------------
// Length up to the terminator.
int BytesLength(const char* text);
// Position of the first occurrence of pattern anywhere, or TEXT_NONE; "" is found at 0.
int BytesFind(const char* text, const char* pattern);
// Whether text begins with prefix.
bool BytesBeginWith(const char* text, const char* prefix);
// Whether two texts are equal up to and including the terminator.
bool BytesEqual(const char* a, const char* b);
// Copies src with its terminator into dst.
void BytesCopy(char* dst, const char* src);
// Formats into out with a format whose only conversions are "%s", each taking the next
// const char* argument; terminates the result and returns its length. No length limit:
// out must hold the result.
int BytesFormat(char* out, const char* format, ...);
