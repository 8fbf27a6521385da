// The items of all tree views, in one fixed pool. Each tree view owns a hidden root item
// whose children are its top-level items. Item handles name a slot and its reuse count.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/window/host_window.h"

namespace host::window {

struct TreeItem {
  bool inUse;
  uint16_t generation;
  HWND tree;
  int parent;
  int firstChild;
  int lastChild;
  int next;
  int previous;
  UINT state;
  LPARAM param;
  int childrenFlag;  // cChildren as set: 0, 1 or I_CHILDRENCALLBACK
  int image;
  int selectedImage;
  size_t textLength;
  char text[treeItemTextRoom];
};

// A cleared item of `tree`, unlinked; -1 when the pool is full.
int AllocateTreeItem(HWND tree);
void FreeTreeItem(int slot);
TreeItem* TreeItemAt(int slot);
HTREEITEM TreeItemHandle(int slot);
// The slot of `item` if it is an item of `tree`, else -1.
int TreeItemSlot(HWND tree, HTREEITEM item);
// Frees every item of `tree`, the root too, without telling anyone.
void ForgetTreeItems(HWND tree);
void ResetTreeItems();

}  // namespace host::window
