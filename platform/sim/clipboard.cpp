// The simulated system's clipboard: the formats it offers with the data behind each, its
// open/closed state and the window that opened it, and its owner. Data handed to it is its
// own from then on and is freed when the clipboard is emptied or the format is replaced.
#include <cstring>

#include "platform/sim/memory.h"
#include "platform/sim/sim_control.h"

namespace {

constexpr int FORMATS_MAX = 4;

struct Offer {
  UINT format;
  HANDLE data;  // none: offered, but nothing behind it
};

Offer g_offers[FORMATS_MAX];
int g_offerCount = 0;
bool g_open = false;  // opened through OpenClipboard and not yet closed
HWND g_openedBy = nullptr;
bool g_heldByOther = false;
HWND g_owner = nullptr;
int g_openCount = 0;
int g_formatQueries = 0;
int g_invalidateCount = 0;
bool g_failNextSetData = false;

Offer* Find(UINT format) {
  for (int i = 0; i < g_offerCount; i++) {
    if (g_offers[i].format == format) return &g_offers[i];
  }
  return nullptr;
}

void DropAll() {
  for (int i = 0; i < g_offerCount; i++) {
    if (g_offers[i].data) GlobalFree(g_offers[i].data);
  }
  g_offerCount = 0;
}

bool Take(UINT format, HANDLE data) {
  Offer* offer = Find(format);
  if (!offer) {
    if (g_offerCount == FORMATS_MAX) return false;
    offer = &g_offers[g_offerCount++];
  } else if (offer->data && offer->data != data) {
    GlobalFree(offer->data);
  }
  *offer = Offer{format, data};
  return true;
}

// Another program empties the clipboard and puts one format on it; its window is none of ours.
void OtherProgramCopies(UINT format, HANDLE data) {
  DropAll();
  g_owner = nullptr;
  Take(format, data);
}

}  // namespace

BOOL IsClipboardFormatAvailable(UINT format) {
  g_formatQueries++;
  return Find(format) != nullptr;
}

BOOL OpenClipboard(HWND window) {
  if (g_open || g_heldByOther) return FALSE;
  g_open = true;
  g_openedBy = window;
  g_openCount++;
  return TRUE;
}

HANDLE GetClipboardData(UINT format) {
  Offer* offer = g_open ? Find(format) : nullptr;
  return offer ? offer->data : nullptr;
}

BOOL EmptyClipboard() {
  if (!g_open) return FALSE;
  DropAll();
  g_owner = g_openedBy;
  return TRUE;
}

// Only a movable block can go on the clipboard; a refused block stays its writer's.
HANDLE SetClipboardData(UINT format, HANDLE data) {
  if (!g_open) return nullptr;
  if (g_failNextSetData) {
    g_failNextSetData = false;
    return nullptr;
  }
  if (!SimBlockMovable(data) || !Take(format, data)) return nullptr;
  return data;
}

BOOL CloseClipboard() {
  if (!g_open) return FALSE;
  g_open = false;
  g_openedBy = nullptr;
  return TRUE;
}

// The program repaints only after reading the clipboard, so the count lives with the
// clipboard's and one reset clears both.
BOOL InvalidateRect(HWND, LPCRECT, BOOL) {
  g_invalidateCount++;
  return TRUE;
}

void SimClipboardReset() {
  DropAll();
  SimBlocksReset();
  g_open = false;
  g_openedBy = nullptr;
  g_heldByOther = false;
  g_owner = nullptr;
  g_openCount = 0;
  g_formatQueries = 0;
  g_invalidateCount = 0;
  g_failNextSetData = false;
}

void SimClipboardCopyText(const std::string& bytes) {
  OtherProgramCopies(CF_TEXT, SimBlockHolding(bytes.data(), bytes.size()));
}

// Nothing reads an image's bits, so only its offer is kept.
void SimClipboardCopyImage() {
  OtherProgramCopies(CF_BITMAP, nullptr);
}

void SimClipboardOfferTextWithoutData() {
  OtherProgramCopies(CF_TEXT, nullptr);
}

void SimClipboardHoldOpen(bool held) {
  g_heldByOther = held;
}

bool SimClipboardText(std::string* bytes) {
  Offer* offer = Find(CF_TEXT);
  SIZE_T size = 0;
  const char* data = offer ? SimBlockBytes(offer->data, &size) : nullptr;
  if (!data) return false;
  bytes->assign(data, strnlen(data, size));
  return true;
}

HWND SimClipboardOwner() {
  return g_owner;
}

bool SimClipboardIsOpen() {
  return g_open;
}

int SimClipboardOpenCount() {
  return g_openCount;
}

int SimClipboardFormatQueries() {
  return g_formatQueries;
}

int SimInvalidateCount() {
  return g_invalidateCount;
}

void SimFailNextSetData() {
  g_failNextSetData = true;
}
