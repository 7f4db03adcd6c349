// The program's own thread and the dialog's modal loop. WinMain runs on a thread of its own,
// so that a test can speak to the program while it sits in its modal loop. The two threads
// strictly alternate: the program runs only while the test waits for it, so no other state of
// the desktop needs a lock. A dialog made with SimCreateDialogForTest has no loop and no thread:
// the test's own calls drive it.
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/sim/desktop.h"
#include "platform/sim/sim_control.h"

namespace {

constexpr INT_PTR DIALOG_FAILED = -1;

std::mutex g_turnLock;
std::condition_variable g_turnChanged;
bool g_programTurn;  // whose turn it is; read and written under g_turnLock

std::thread g_program;
std::thread::id g_programId;
bool g_finished;
int g_exitCode;
bool g_stopRequested;
DWORD g_until;  // how far the clock runs in the program's present turn

struct Message {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
Message g_pending;  // a test posts one message at a time and waits until it is handled
bool g_hasPending;

bool Running() { return g_program.joinable() && !g_finished; }

// Handles the posted message, then each timer as it falls due by limit, in time order; stops
// as soon as the dialog is ending.
void Pump(DWORD limit) {
  if (g_hasPending) {
    g_hasPending = false;
    DialogDispatch(DialogLive(), g_pending.message, g_pending.wParam, g_pending.lParam);
  }
  HWND window;
  UINT_PTR id;
  while (!DialogEnding() && TimerTakeDue(limit, &window, &id))
    DialogDispatch(window, WM_TIMER, id, 0);
}

// The test's side: lets the program run until it waits for its next message, or ends.
void RunProgramTurn() {
  std::unique_lock<std::mutex> lock(g_turnLock);
  g_programTurn = true;
  g_turnChanged.notify_all();
  g_turnChanged.wait(lock, [] { return !g_programTurn; });
}

// The program's side: hands the turn back and waits for the next one.
void AwaitProgramTurn() {
  std::unique_lock<std::mutex> lock(g_turnLock);
  g_programTurn = false;
  g_turnChanged.notify_all();
  g_turnChanged.wait(lock, [] { return g_programTurn; });
}

void ProgramMain(int (*entry)()) {
  g_programId = std::this_thread::get_id();
  int code = entry();
  std::lock_guard<std::mutex> lock(g_turnLock);
  g_exitCode = code;
  g_finished = true;
  g_programTurn = false;
  g_turnChanged.notify_all();
}

// Lets the dialog, on whichever thread it lives, handle what is pending and due by limit.
void Drive(DWORD limit) {
  if (Running()) {
    g_until = limit;
    RunProgramTurn();
  } else {
    Pump(limit);
    if (DialogEnding()) DialogDestroy();
  }
  ClockAdvanceTo(limit);
}

}  // namespace

// The modal loop waits for the test between messages, so only the program thread may run it.
INT_PTR DialogBoxParamA(HINSTANCE, LPCSTR templateName, HWND, DLGPROC proc, LPARAM init) {
  if (std::this_thread::get_id() != g_programId) return DIALOG_FAILED;
  if (!DialogCreate(templateName, proc, init)) return DIALOG_FAILED;
  for (;;) {
    Pump(g_until);
    if (DialogEnding()) break;
    AwaitProgramTurn();
    if (g_stopRequested) break;  // the session ends: the window is destroyed under the program
  }
  INT_PTR result = DialogResult();
  DialogDestroy();
  return result;
}

void SimStartProgram(int (*entry)()) {
  SimStopProgram();
  g_finished = false;
  g_stopRequested = false;
  g_exitCode = 0;
  g_hasPending = false;
  g_until = SimNow();
  std::unique_lock<std::mutex> lock(g_turnLock);
  g_programTurn = true;
  g_program = std::thread(ProgramMain, entry);
  g_turnChanged.wait(lock, [] { return !g_programTurn; });
}

void SimStopProgram() {
  if (Running()) {
    g_stopRequested = true;
    RunProgramTurn();
  }
  if (g_program.joinable()) g_program.join();
}

bool SimProgramEnded() { return g_finished; }

int SimExitCode() { return g_exitCode; }

HWND SimCreateDialogForTest(const char* templateName, DLGPROC proc) {
  if (Running()) return nullptr;
  return DialogCreate(templateName, proc, 0);
}

void SimDesktopReset() {
  SimStopProgram();
  g_finished = false;
  g_hasPending = false;
  DialogForget();
  TimersReset();
}

void SimAdvance(DWORD milliseconds) { Drive(SimNow() + milliseconds); }

void SimAdvanceTo(DWORD when) { Drive(when); }

bool SimPostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!DialogLive()) return false;
  g_pending = Message{message, wParam, lParam};
  g_hasPending = true;
  Drive(SimNow());
  return true;
}
