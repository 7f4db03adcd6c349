// The shared text buffers of the watch, alive for the whole run.
#include "watch/watch.h"

char g_clipText[CLIP_TEXT_SIZE];
char g_lastText[LAST_TEXT_SIZE];
char g_msgBuf[MSG_BUF_SIZE];
