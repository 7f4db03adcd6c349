// The substrings that mark a text as an address worth expanding. The watcher tests them on
// every new text, and the expander again after cutting the text at its first line break.
#include "text/text.h"
#include "watch/watch.h"

namespace {

constexpr const char* TRIGGERS[] = {".co", ".net", "www", "://"};

}  // namespace

bool HasAddressTrigger(const char* text) {
  for (const char* trigger : TRIGGERS)
    if (TextFind(text, trigger) != TEXT_NONE) return true;
  return false;
}
