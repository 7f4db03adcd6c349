// The timer cycle, the program's main loop. The poll timer is killed when a tick starts and
// armed again when it ends, so ticks never overlap and the period counts from the end of the
// previous tick, however long a tick's work takes.
#include "app/app.h"

#include "expand/expand.h"
#include "watch/watch.h"

int32_t g_tick = 1;  // the program starts with a countdown: the start-up text shows
const int32_t g_tickLimit = 4;

namespace {

// One step of the countdown: the window shows until the last step, which hides it.
void CountdownStep(HWND dialog) {
  ShowWindow(dialog, g_tick == g_tickLimit - 1 ? SW_HIDE : SW_SHOWNORMAL);
  ++g_tick;
}

}  // namespace

void TimerTick(HWND dialog) {
  KillTimer(dialog, ID_POLL_TIMER);
  if (g_tick < g_tickLimit) {
    CountdownStep(dialog);  // no clipboard read while a status text or question shows
  } else {
    bool expand =
        GetClipText(dialog, g_clipText) == CLIP_DONE && CheckClip(dialog, &g_tick) == CHECK_EXPAND;
    // A control word has just started a countdown: show its text in this same tick.
    if (g_tick < g_tickLimit) CountdownStep(dialog);
    if (expand) ExpandRange(dialog);
  }
  SetTimer(dialog, ID_POLL_TIMER, POLL_PERIOD_MS, nullptr);
}
