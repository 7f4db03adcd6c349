// What quenlix-expand needs from the system it runs on, one file per platform.
#pragma once

#include "platform/win32.h"

// Readies standard input and output for raw bytes: no line end translation, and a reader
// that closes the pipe early makes a write fail instead of ending the process unannounced.
void PrepareStdio();

// The code page of the system's texts, or 0 when it has none that Quenlix can name.
// *charset names what was looked at, for the message when it is 0.
UINT SystemCodePage(const char** charset);
