// The simulated system's string helpers.
#include <cstring>

#include "platform/sim/sim.h"

// A missing text has no bytes, as on Windows.
int lstrlenA(LPCSTR text) {
  return text ? static_cast<int>(strlen(text)) : 0;
}
