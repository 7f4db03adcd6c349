// quenlix-expand must never touch the system clipboard, yet it runs the very expander that
// Quenlix runs, and that expander hands its list to PutClipText. So the command links the
// engine without watch/clipboard.cpp and supplies PutClipText here: the list lands in a
// buffer of our own, cut exactly as a clipboard write cuts it, and main prints it from there.
#include "cli/clip_sink.h"

#include <string.h>

#include "text/text.h"
#include "watch/watch.h"

namespace {

char g_sinkText[CLIP_WRITE_MAX + 1];
int g_sinkLength;
bool g_sinkTaken;

}  // namespace

int PutClipText(HWND, const char* text) {
  const int length = BytesLength(text);
  g_sinkLength = length > CLIP_WRITE_MAX ? CLIP_WRITE_MAX : length;
  memcpy(g_sinkText, text, g_sinkLength);
  g_sinkText[g_sinkLength] = '\0';
  g_sinkTaken = true;
  return CLIP_DONE;
}

const char* ClipSinkText(int* length) {
  *length = g_sinkLength;
  return g_sinkTaken ? g_sinkText : nullptr;
}
