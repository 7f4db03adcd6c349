// Window timers on a virtual clock. A timer belongs to a window handle and an id, whatever
// the handle is: a made-up handle arms and kills timers like a real one, and its messages
// simply reach no window. Time passes only when a test advances the clock.
#include "platform/sim/desktop.h"
#include "platform/sim/sim_control.h"

namespace {

constexpr int TIMER_SLOTS = 16;
// Shorter periods are raised to this, as the real system does; it also keeps a zero period
// from firing for ever within one advance of the clock.
constexpr UINT TIMER_PERIOD_MIN = 10;

struct Timer {
  bool armed;
  HWND window;
  UINT_PTR id;
  DWORD period;
  DWORD due;
};

Timer g_timers[TIMER_SLOTS];
DWORD g_now;

Timer* Find(HWND window, UINT_PTR id) {
  for (Timer& timer : g_timers)
    if (timer.armed && timer.window == window && timer.id == id) return &timer;
  return nullptr;
}

Timer* FreeSlot() {
  for (Timer& timer : g_timers)
    if (!timer.armed) return &timer;
  return nullptr;
}

}  // namespace

// The program arms its timers without a callback; a callback is not offered here.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC callback) {
  if (callback) return 0;
  Timer* timer = Find(window, id);  // an id already armed is armed again from now
  if (!timer) timer = FreeSlot();
  if (!timer) return 0;
  DWORD period = milliseconds < TIMER_PERIOD_MIN ? TIMER_PERIOD_MIN : milliseconds;
  *timer = Timer{true, window, id, period, g_now + period};
  return TRUE;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
  Timer* timer = Find(window, id);
  if (!timer) return FALSE;
  timer->armed = false;
  return TRUE;
}

bool TimerTakeDue(DWORD until, HWND* window, UINT_PTR* id) {
  Timer* first = nullptr;
  for (Timer& timer : g_timers)
    if (timer.armed && timer.due <= until && (!first || timer.due < first->due)) first = &timer;
  if (!first) return false;
  if (first->due > g_now) g_now = first->due;
  first->due = g_now + first->period;  // periodic until killed
  *window = first->window;
  *id = first->id;
  return true;
}

void TimersKillWindow(HWND window) {
  for (Timer& timer : g_timers)
    if (timer.window == window) timer.armed = false;
}

void TimersReset() {
  for (Timer& timer : g_timers) timer.armed = false;
  g_now = 0;
}

void ClockAdvanceTo(DWORD when) {
  if (when > g_now) g_now = when;
}

DWORD SimNow() { return g_now; }

bool SimTimerArmed(HWND window, UINT_PTR id, DWORD* due) {
  const Timer* timer = Find(window, id);
  if (timer && due) *due = timer->due;
  return timer != nullptr;
}
