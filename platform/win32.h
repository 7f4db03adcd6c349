// The one place that decides what "the Win32 API" is for the program's sources.
// On Windows it is the real thing; everywhere else it is our own simulated desktop,
// which declares exactly the subset of Win32 that the program calls.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include "platform/sim/sim.h"
#endif
