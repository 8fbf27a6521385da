// The item lists of combo boxes, in a fixed pool (one list per combo box alive).
#pragma once

#include <cstddef>

#include "host/window/host_window.h"

namespace host::window {

struct ComboItem {
  size_t length;
  ULONG_PTR data;
  char text[comboItemTextRoom];
};

struct ComboList {
  bool inUse;
  int count;
  int selection;  // CB_ERR for none
  ComboItem items[comboItemRoom];
};

// A cleared list's slot, or -1 when every slot is taken.
int AllocateComboList();
void FreeComboList(int slot);
ComboList* ComboListAt(int slot);
void ResetComboLists();

}  // namespace host::window
