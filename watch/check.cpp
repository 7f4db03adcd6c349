// Change detection and control words: each text on the clipboard is acted upon once, at the
// first poll that sees it.
#include "app/modes.h"
#include "text/text.h"
#include "watch/watch.h"

namespace {

// Only a text that begins with this is tested for the control words.
constexpr char CONTROL_PREFIX[] = "clip ";

struct ControlWord {
  const char* literal;
  int32_t request;
  int32_t countdown;
};

// Tested in this order on the lower-cased text; the first that the text begins with wins.
constexpr ControlWord CONTROL_WORDS[] = {
    {"clip 1", MODE_EXPAND, COUNTDOWN_MODE_TEXT},
    {"clip 0", MODE_PAUSE, COUNTDOWN_MODE_TEXT},
    {"clip end", MODE_END, COUNTDOWN_QUIT_QUESTION},
};

}  // namespace

int CheckClip(HWND window, int32_t* tick) {
  if (BytesEqual(g_lastText, g_clipText)) return CHECK_NOTHING;
  // The text becomes the last text before anything is done with it.
  BytesCopy(g_lastText, g_clipText);
  BytesCopy(g_msgBuf, g_clipText);
  TextLower(g_msgBuf);  // the words are ASCII at the very start: a failure later cannot matter
  if (BytesBeginWith(g_msgBuf, CONTROL_PREFIX)) {
    for (const ControlWord& word : CONTROL_WORDS) {
      if (!BytesBeginWith(g_msgBuf, word.literal)) continue;
      SetClipMode(word.request, window);
      *tick = word.countdown;
      if (word.request == MODE_END) ShowQuitButtons(window, SW_SHOWNORMAL);
      return CHECK_NOTHING;
    }
  }
  if (g_mode != MODE_EXPAND) return CHECK_NOTHING;
  return HasAddressTrigger(g_clipText) ? CHECK_EXPAND : CHECK_NOTHING;
}
