// What a clipboard may hold after the expander has looked at a copied text. The list is
// rebuilt here from the range that recognition found, by the rules as a user reads them:
// each line is the copied line without the separator and the end part, its counter counted
// up as a decimal odometer (a letter pass adds to the start letter); lines stop at the line
// cap or once the list reaches the append limit; a split archive's list ends with its first
// volume; and a list too long for the buffer never reaches the clipboard.
#pragma once

#include <string>

struct ListVerdict {
  const char* fault;      // what is wrong, or nullptr
  bool accepted;          // recognition took the text for a range
  bool putOnClipboard;    // the list must have reached the clipboard (if the write succeeded)
  std::string clipboard;  // what the clipboard then holds: the list, cut to the write limit
};

// source: the copied text as a read leaves it (at most 1014 bytes, up to its first NUL).
// list: g_listBuf after ExpandRange ran on it; lastText: g_lastText after it.
// lastTextBefore: g_lastText before it, which stays when no list was made.
ListVerdict CheckList(const std::string& source, const char* list, const char* lastText,
                      const std::string& lastTextBefore);
