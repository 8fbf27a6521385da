// A tree view of another process read as text. Item texts cannot be asked for with a pointer
// into the checker (the control writes through the pointer in its own process), so the request
// and its text buffer live in memory allocated in the program.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace remote {

struct TreeItem {
  int depth;  // 0 for a top-level item
  std::string text;
  bool expanded;
};

// Every item in display order, collapsed items' children included; nothing (with the reason)
// when the control does not answer or the program's memory cannot be used.
std::optional<std::vector<TreeItem>> TreeItems(HWND tree, std::string* error);

// One line per item, two spaces per level, "[+] " before an expanded item, each line ending
// in "\n": the form the host test driver writes.
std::string TreeText(const std::vector<TreeItem>& items);
std::optional<std::string> TreeText(HWND tree, std::string* error);

}  // namespace remote
