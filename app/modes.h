// The two modes and the quit question: all that the watcher needs to know of the application,
// so that a copied control word can switch the mode without the watch seeing the rest of it.
#pragma once

#include <cstdint>

#include "platform/win32.h"

// Requests of SetClipMode; MODE_END asks the quit question and is never stored.
constexpr int32_t MODE_END = 0;
constexpr int32_t MODE_EXPAND = 3;
constexpr int32_t MODE_PAUSE = 4;

// Countdown starts: a mode text shows for about two seconds; the quit question for as long as
// the counter takes to climb to the limit (about nine hours).
constexpr int32_t COUNTDOWN_MODE_TEXT = 1;
constexpr int32_t COUNTDOWN_QUIT_QUESTION = -32767;

extern int32_t g_mode;

// Sets the mode (MODE_EXPAND, MODE_PAUSE) or prepares the quit question (MODE_END), and puts
// the matching status text into the status window. Returns 0.
int SetClipMode(int32_t request, HWND window);
// Shows or hides the OK and cancel buttons of the quit question, OK first.
void ShowQuitButtons(HWND window, int command);
