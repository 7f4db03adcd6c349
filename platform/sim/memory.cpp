// The simulated system's global memory: a fixed table of blocks whose handles are the
// addresses of their slots, so that a handle is never mistaken for the memory it stands for.
#include <cstdlib>
#include <cstring>

#include "platform/sim/memory.h"
#include "platform/sim/sim_control.h"

namespace {

constexpr int BLOCK_SLOTS = 64;
// What a block holds when its owner did not ask for zeros: a text that relies on a zero fill
// it never asked for shows up as garbage.
constexpr unsigned char UNSET_BYTE = 0xCD;

struct Block {
  char* bytes;
  SIZE_T size;
  int locks;
  bool movable;
  bool live;
};

Block g_blocks[BLOCK_SLOTS];
bool g_failNextAlloc = false;
bool g_failNextLock = false;

Block* Live(HGLOBAL handle) {
  for (Block& block : g_blocks) {
    if (&block == handle && block.live) return &block;
  }
  return nullptr;
}

HGLOBAL NewBlock(UINT flags, SIZE_T size) {
  for (Block& block : g_blocks) {
    if (block.live) continue;
    // The system's own heap stands behind the simulated one; one byte at least, so that an
    // empty block still has an address to lock.
    char* bytes = static_cast<char*>(malloc(size > 0 ? size : 1));
    if (!bytes) return nullptr;
    memset(bytes, (flags & GMEM_ZEROINIT) ? 0 : UNSET_BYTE, size);
    block = Block{bytes, size, 0, (flags & GMEM_MOVEABLE) != 0, true};
    return &block;
  }
  return nullptr;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  if (g_failNextAlloc) {
    g_failNextAlloc = false;
    return nullptr;
  }
  return NewBlock(flags, bytes);
}

LPVOID GlobalLock(HGLOBAL handle) {
  Block* block = Live(handle);
  if (g_failNextLock) {
    g_failNextLock = false;
    return nullptr;
  }
  if (!block) return nullptr;
  block->locks++;
  return block->bytes;
}

// Nonzero while the block stays locked, as on Windows.
BOOL GlobalUnlock(HGLOBAL handle) {
  Block* block = Live(handle);
  if (!block || block->locks == 0) return FALSE;
  block->locks--;
  return block->locks > 0;
}

// None on success; the handle itself when it is no live block.
HGLOBAL GlobalFree(HGLOBAL handle) {
  Block* block = Live(handle);
  if (!block) return handle;
  free(block->bytes);
  *block = Block{};
  return nullptr;
}

HGLOBAL SimBlockHolding(const char* bytes, SIZE_T size) {
  HGLOBAL handle = NewBlock(GMEM_MOVEABLE | GMEM_ZEROINIT, size + 1);
  if (handle) memcpy(Live(handle)->bytes, bytes, size);
  return handle;
}

const char* SimBlockBytes(HGLOBAL handle, SIZE_T* size) {
  Block* block = Live(handle);
  if (!block) return nullptr;
  *size = block->size;
  return block->bytes;
}

bool SimBlockMovable(HGLOBAL handle) {
  Block* block = Live(handle);
  return block && block->movable;
}

void SimBlocksReset() {
  for (Block& block : g_blocks) GlobalFree(&block);
  g_failNextAlloc = false;
  g_failNextLock = false;
}

void SimFailNextAlloc() {
  g_failNextAlloc = true;
}

void SimFailNextLock() {
  g_failNextLock = true;
}

int SimLiveBlocks() {
  int count = 0;
  for (const Block& block : g_blocks) count += block.live ? 1 : 0;
  return count;
}
