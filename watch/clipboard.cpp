// The program's only contact with the clipboard: one read or one write of CF_TEXT, with the
// clipboard open for just that span and closed on every path that opened it.
#include <cstring>

#include "watch/watch.h"

int GetClipText(HWND window, char* buf) {
  memset(buf, 0, CLIP_TEXT_SIZE);
  if (!IsClipboardFormatAvailable(CF_TEXT)) return CLIP_FAILED;
  // A failed open needs no test of its own: the fetch below then finds no data.
  OpenClipboard(window);
  HANDLE data = GetClipboardData(CF_TEXT);
  const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
  if (!text) {
    CloseClipboard();
    return CLIP_FAILED;
  }
  // A text of CLIP_READ_MAX bytes or more loses its terminator here; the zero fill supplies it.
  int count = lstrlenA(text) + 1;
  memcpy(buf, text, count < CLIP_READ_MAX ? count : CLIP_READ_MAX);
  GlobalUnlock(data);
  CloseClipboard();
  InvalidateRect(window, nullptr, TRUE);
  return CLIP_DONE;
}

int PutClipText(HWND window, const char* text) {
  int length = lstrlenA(text);
  if (length > CLIP_WRITE_MAX) length = CLIP_WRITE_MAX;
  // One byte more than the text, left zero: the terminator.
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length + 1);
  if (!block) return CLIP_FAILED;
  char* bytes = static_cast<char*>(GlobalLock(block));
  if (!bytes) {
    GlobalFree(block);
    return CLIP_FAILED;
  }
  memcpy(bytes, text, length);
  GlobalUnlock(block);
  if (!OpenClipboard(window)) {
    GlobalFree(block);
    return CLIP_FAILED;
  }
  EmptyClipboard();
  // Once accepted the block is the clipboard's; a refused one is still ours to free.
  bool accepted = SetClipboardData(CF_TEXT, block) != nullptr;
  CloseClipboard();
  if (!accepted) {
    GlobalFree(block);
    return CLIP_FAILED;
  }
  return CLIP_DONE;
}
