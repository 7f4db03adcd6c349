// Clipboard watch: reading and writing the clipboard text, and deciding what a new text means.
#pragma once

#include <cstdint>

#include "platform/win32.h"

constexpr int CLIP_TEXT_SIZE = 1024;   // the current text buffer
constexpr int CLIP_READ_MAX = 1014;    // bytes of text a read keeps
constexpr int CLIP_WRITE_MAX = 32758;  // bytes of text a write puts on the clipboard
constexpr int LAST_TEXT_SIZE = 32768;
constexpr int MSG_BUF_SIZE = 32768;

// Result codes of GetClipText and PutClipText.
constexpr int CLIP_DONE = 0;
constexpr int CLIP_FAILED = 1;

// Result codes of CheckClip.
constexpr int CHECK_EXPAND = 3;
constexpr int CHECK_NOTHING = 1;

extern char g_clipText[CLIP_TEXT_SIZE];  // the text of this poll
extern char g_lastText[LAST_TEXT_SIZE];  // the text last seen, for change detection
extern char g_msgBuf[MSG_BUF_SIZE];      // status texts, and the lower-cased copy of a new text

// Reads the clipboard text into buf (CLIP_TEXT_SIZE bytes): CLIP_DONE, or CLIP_FAILED with
// buf all zero when the clipboard offers no text.
int GetClipText(HWND window, char* buf);
// Puts at most CLIP_WRITE_MAX bytes of text on the clipboard: CLIP_DONE or CLIP_FAILED.
int PutClipText(HWND window, const char* text);
// Whether text holds one of the substrings that mark an address (case-sensitive, on
// character boundaries).
bool HasAddressTrigger(const char* text);
// Decides what this poll's text means; CHECK_EXPAND for a candidate, else CHECK_NOTHING.
// Writes *tick when a control word starts a countdown.
int CheckClip(HWND window, int32_t* tick);
