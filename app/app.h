// The application shell: the status window's procedure and the timer cycle that drives the
// program.
#pragma once

#include <cstdint>

#include "platform/win32.h"

constexpr UINT_PTR ID_POLL_TIMER = 500;
constexpr UINT POLL_PERIOD_MS = 1000;

// The status window's countdown: below the limit a tick only shows or hides the window; at
// the limit it polls the clipboard.
extern int32_t g_tick;
extern const int32_t g_tickLimit;

INT_PTR CALLBACK MainDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// One tick of the timer cycle.
void TimerTick(HWND dialog);
