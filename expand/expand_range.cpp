// The expander's entry: recognition, then generation of the list.
#include <cstring>

#include "expand/expand.h"
#include "watch/watch.h"

int ExpandRange(HWND window) {
  std::memset(g_listBuf, 0, sizeof g_listBuf);
  RangeSpec spec;
  if (!FindRange(g_clipText, &spec)) return EXPAND_LEFT_ALONE;
  BuildList(window, g_clipText, spec);
  return EXPAND_DONE;
}
