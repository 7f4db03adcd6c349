// Random use of the whole program on the simulated desktop, one event at a time, with the
// timer cycle's promises checked after every event: the countdown never climbs above its
// limit; the clipboard is read at most once a tick and never while a countdown runs; the mode
// changes only on a copied "clip 1" or "clip 0"; the program ends only on its OK command,
// WM_CLOSE or WM_DESTROY; the clipboard holds only what was copied or the list made of it;
// and no memory block outlives its use. Each tick is foretold from what the tick finds, so a
// tick that does more or less than it should is caught at once. A broken promise is printed
// and aborts the process.
#pragma once

#include <cstdint>
#include <string>

#include "platform/sim/sim_control.h"
#include "tests/support/program.h"

// What a stretch of use did, for the report of a long run.
struct UseFigures {
  int64_t ticks;
  int64_t polls;              // ticks that looked at the clipboard
  int64_t newTexts;           // polls that found a text not seen before
  int64_t expansions;         // lists made
  int64_t writes;             // lists that reached the clipboard
  int64_t copies;             // texts, images and empty offers copied by other programs
  int64_t failuresInjected;   // failed allocations, locks and hand-overs asked for, and
                              // stretches with the clipboard held open
  int64_t answers;            // clicks, keys and messages that reached the window
  int64_t runs;               // program starts
};

// Texts worth copying: addresses with every kind of range, texts left alone, control words.
extern const char* const CANNED_TEXTS[];
extern const int CANNED_TEXT_COUNT;
// The control words as the program knows them, and the words it must not take for them.
extern const char* const CONTROL_TEXTS[];
extern const int CONTROL_TEXT_COUNT;

class Session {
 public:
  // A fresh program under codePage, started: its first tick has run.
  explicit Session(UINT codePage);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  bool Ended() const { return program_.Ended(); }
  void Restart(UINT codePage);  // a new run of the program after it ended

  // Time.
  void Tick();
  void WaitOutCountdown();  // lets a running countdown run out in one stretch

  // Other programs.
  void Copy(const std::string& text);
  void CopyImage();
  void OfferTextWithoutData();
  void HoldOpen(bool held);
  void FailNextAlloc();
  void FailNextLock();
  void FailNextSetData();

  // The user, and messages from elsewhere.
  void Click(int id);
  void Focus(int id);
  void Escape();
  void Enter();
  void Post(UINT message, WPARAM wParam);

  const UseFigures& Figures() const { return figures_; }

 private:
  // What the clipboard offers, as far as its reader is concerned.
  enum Offer { OFFER_NOTHING, OFFER_TEXT, OFFER_IMAGE, OFFER_TEXT_WITHOUT_DATA };

  void Begin(UINT codePage);
  void AfterCommand(bool delivered, int command);
  void CheckAtRest();

  Program program_;
  UseFigures figures_ = {};
  Offer offer_ = OFFER_NOTHING;
  bool held_ = false;
  bool failAlloc_ = false;
  bool failLock_ = false;
  bool failSetData_ = false;
  int focus_ = 0;  // the push button the focus was moved to, 0 for none
};
