// A failed invariant in a fuzz target: say which, then abort so that libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "platform/sim/sim_control.h"
#include "text/text.h"

#define FUZZ_CHECK(condition)                                                       \
  do {                                                                              \
    if (!(condition)) {                                                             \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                 \
    }                                                                               \
  } while (0)

// Switches the system and the text rules to one of count code pages. Setting a code page up
// asks the platform about all 256 bytes, so each is set up once, on the first call, and its
// rules kept in rules[]. Returns true on that first call.
inline bool UseCodePage(const UINT* codePages, CodePageRules* rules, int count, int which) {
  static bool ready = false;
  bool first = !ready;
  if (first) {
    for (int i = 0; i < count; ++i) {
      SimSetAnsiCodePage(codePages[i]);
      TextSetCodePage();
      rules[i] = TextCodePage;
    }
    ready = true;
  }
  // Case mapping with the default locale follows the system's code page.
  SimSetAnsiCodePage(codePages[which]);
  TextCodePage = rules[which];
  return first;
}
