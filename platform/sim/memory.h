// Global memory blocks as the rest of the simulated desktop reaches them: around the failures
// that tests inject into the program's own calls, and with what the clipboard needs to know.
#pragma once

#include "platform/sim/sim.h"

// A new movable block holding size bytes of bytes and a zero after them, for texts that
// other programs copy; none when the system has no room.
HGLOBAL SimBlockHolding(const char* bytes, SIZE_T size);
// The bytes of a block not yet freed and their count, or nullptr.
const char* SimBlockBytes(HGLOBAL block, SIZE_T* size);
// Whether a block is not yet freed and movable, as clipboard data must be.
bool SimBlockMovable(HGLOBAL block);
// Frees every block and forgets the failures asked for.
void SimBlocksReset();
