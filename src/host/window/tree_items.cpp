#include "host/window/tree_items.h"

namespace host::window {
namespace {

// The roots take slots too: one per tree view.
constexpr size_t poolSize = treeItemCapacity + 16;

TreeItem items[poolSize];
int freeSlots[poolSize];
size_t freeCount = 0;
bool initialised = false;

void RebuildFreeList() {
  freeCount = 0;
  for (size_t i = poolSize; i-- > 0;) {
    items[i].inUse = false;
    freeSlots[freeCount++] = static_cast<int>(i);
  }
  initialised = true;
}

}  // namespace

int AllocateTreeItem(HWND tree) {
  if (!initialised) RebuildFreeList();
  if (freeCount == 0) return -1;
  int slot = freeSlots[--freeCount];
  TreeItem& item = items[slot];
  uint16_t generation = static_cast<uint16_t>(item.generation + 1);
  item.inUse = true;
  item.generation = generation == 0 ? 1 : generation;
  item.tree = tree;
  item.parent = item.firstChild = item.lastChild = item.next = item.previous = -1;
  item.state = 0;
  item.param = 0;
  item.childrenFlag = 0;
  item.image = item.selectedImage = 0;
  item.textLength = 0;
  item.text[0] = '\0';
  return slot;
}

void FreeTreeItem(int slot) {
  TreeItem* item = TreeItemAt(slot);
  if (item == nullptr) return;
  item->inUse = false;
  freeSlots[freeCount++] = slot;
}

TreeItem* TreeItemAt(int slot) {
  if (slot < 0 || static_cast<size_t>(slot) >= poolSize || !items[slot].inUse) return nullptr;
  return &items[slot];
}

HTREEITEM TreeItemHandle(int slot) {
  if (TreeItemAt(slot) == nullptr) return nullptr;
  uintptr_t value = (static_cast<uintptr_t>(items[slot].generation) << 16) | static_cast<uintptr_t>(slot + 1);
  return reinterpret_cast<HTREEITEM>(value);
}

int TreeItemSlot(HWND tree, HTREEITEM handle) {
  uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  if ((value >> 32) != 0) return -1;
  int slot = static_cast<int>(value & 0xFFFF) - 1;
  TreeItem* item = TreeItemAt(slot);
  if (item == nullptr || item->tree != tree || item->generation != static_cast<uint16_t>(value >> 16)) return -1;
  return slot;
}

void ForgetTreeItems(HWND tree) {
  for (size_t i = 0; i < poolSize; ++i) {
    if (items[i].inUse && items[i].tree == tree) FreeTreeItem(static_cast<int>(i));
  }
}

void ResetTreeItems() { RebuildFreeList(); }

}  // namespace host::window
