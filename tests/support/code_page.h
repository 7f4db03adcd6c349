// Runs a stretch of a test under a given ANSI code page, with the text rules taken from it,
// and puts back code page 932 afterwards, which the other tests take for granted.
#pragma once

#include "platform/sim/sim_control.h"
#include "text/text.h"

constexpr UINT HOME_CODE_PAGE = 932;

class ScopedCodePage {
 public:
  explicit ScopedCodePage(UINT codePage) { Use(codePage); }
  ~ScopedCodePage() { Use(HOME_CODE_PAGE); }
  ScopedCodePage(const ScopedCodePage&) = delete;
  ScopedCodePage& operator=(const ScopedCodePage&) = delete;

 private:
  static void Use(UINT codePage) {
    SimSetAnsiCodePage(codePage);
    TextSetCodePage();
  }
};
