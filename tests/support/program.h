// The whole program on the simulated desktop, met the way a user meets it: started, left to
// tick, fed texts through the clipboard, answered with clicks and keys, and watched.
#pragma once

#include <string>

#include "platform/sim/sim_control.h"

// The program as just loaded, on a fresh desktop: the status window's template known, the
// clipboard empty, code page 932 with the text rules taken from it, the clock at 0, and every
// global at its load-time value.
void ResetProgram();

// One run of the program; it ends, if it has not ended by itself, with the object.
class Program {
 public:
  Program() { ResetProgram(); }
  ~Program() { SimStopProgram(); }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  void Start();              // WinMain: returns once the first tick has run
  void Tick(int count = 1);  // lets count seconds pass, one tick each
  void Copy(const std::string& text) { SimClipboardCopyText(text); }  // another program copies

  std::string Clipboard() const;  // the clipboard's text, "" when it holds none
  bool Shown() const { return SimWindowShown(); }
  std::string Text() const;  // what the status text says
  int ButtonsShown() const;  // how many of OK and cancel are shown
  int Opens() const { return SimClipboardOpenCount(); }  // reads and writes so far
  bool Ended() const { return SimProgramEnded(); }
  int ExitCode() const { return SimExitCode(); }
};
