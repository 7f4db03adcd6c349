// How a test (or a tool built on the simulated desktop) steers it: what the "system" reports
// and what "other programs" do to the clipboard. The program's own sources never include this.
#pragma once

#include <string>

#include "platform/sim/sim.h"

// Code page services.
void SimSetAnsiCodePage(UINT codePage);  // what GetACP reports from now on (start: 932)

// Clipboard, as other programs use it. Every call here leaves the clipboard closed unless
// it says otherwise.
void SimClipboardReset();                             // empty, closed, no owner, no failures
void SimClipboardCopyText(const std::string& bytes);  // another program copies a text
void SimClipboardCopyImage();                         // another program copies an image
void SimClipboardOfferTextWithoutData();              // CF_TEXT offered, no data behind it
void SimClipboardHoldOpen(bool held);                 // another program holds it open
bool SimClipboardText(std::string* bytes);            // the CF_TEXT bytes, if there is a text
HWND SimClipboardOwner();
bool SimClipboardIsOpen();
int SimClipboardOpenCount();  // successful OpenClipboard calls since the last reset
int SimInvalidateCount();     // InvalidateRect calls since the last reset

// Global memory.
void SimFailNextAlloc();      // the next GlobalAlloc returns no block
void SimFailNextLock();       // the next GlobalLock returns no pointer
void SimFailNextSetData();    // the next SetClipboardData refuses the block
int SimLiveBlocks();          // blocks allocated and not yet freed (clipboard's included)
