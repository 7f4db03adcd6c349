// The clipboard of quenlix-expand: what the expander put on it, for standard output.
#pragma once

// The text the expander put on the clipboard, already cut as a clipboard write cuts it, with
// its length in *length; nullptr when the expander put nothing there.
const char* ClipSinkText(int* length);
