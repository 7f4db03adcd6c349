// Windows: texts are in the ANSI code page, exactly as Quenlix.exe reads the clipboard.
#include "cli/system_code_page.h"

#include <fcntl.h>
#include <io.h>
#include <stdio.h>

void PrepareStdio() {
  // The C runtime would otherwise turn LF into CR LF and stop reading at a Ctrl-Z.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
}

UINT SystemCodePage(const char** charset) {
  *charset = "the ANSI code page";
  return GetACP();
}
