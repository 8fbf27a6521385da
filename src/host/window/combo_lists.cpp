#include "host/window/combo_lists.h"

namespace host::window {
namespace {

ComboList lists[comboBoxCapacity];

}  // namespace

int AllocateComboList() {
  for (size_t i = 0; i < comboBoxCapacity; ++i) {
    if (lists[i].inUse) continue;
    lists[i].inUse = true;
    lists[i].count = 0;
    lists[i].selection = CB_ERR;
    return static_cast<int>(i);
  }
  return -1;
}

void FreeComboList(int slot) {
  if (ComboList* list = ComboListAt(slot)) list->inUse = false;
}

ComboList* ComboListAt(int slot) {
  if (slot < 0 || static_cast<size_t>(slot) >= comboBoxCapacity || !lists[slot].inUse) return nullptr;
  return &lists[slot];
}

void ResetComboLists() {
  for (ComboList& list : lists) list.inUse = false;
}

}  // namespace host::window
