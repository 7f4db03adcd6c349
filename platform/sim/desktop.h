// What the simulated desktop's dialog, timers and program thread share between their files.
// Neither the program nor the tests include this: they see sim.h and sim_control.h.
#pragma once

#include "platform/sim/sim.h"

// ---- The dialog (dialog.cpp) ------------------------------------------------------------
// Creates the dialog from a registered template and sends it WM_INITDIALOG. Returns nullptr
// when the template is unknown or a dialog already lives: the desktop holds one at a time.
HWND DialogCreate(LPCSTR templateName, DLGPROC proc, LPARAM init);
// The live dialog, or nullptr.
HWND DialogLive();
// Whether EndDialog was called on the live dialog, and with which result.
bool DialogEnding();
INT_PTR DialogResult();
// Destroys the live dialog: delivers WM_DESTROY, then drops the window and its timers.
void DialogDestroy();
// Drops the live dialog without a message (between tests).
void DialogForget();
// Hands a message to the dialog procedure when window is the live dialog; a message for any
// other window goes nowhere.
void DialogDispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// ---- Timers and the clock (timer.cpp) ----------------------------------------------------
// Takes the earliest timer due at or before until: moves the clock to its due time, arms it
// for its next period and returns its window and id. False when none is due.
bool TimerTakeDue(DWORD until, HWND* window, UINT_PTR* id);
void TimersKillWindow(HWND window);
void TimersReset();  // no timers, clock at 0
void ClockAdvanceTo(DWORD when);  // never backwards
