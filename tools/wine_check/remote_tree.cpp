#include "remote_tree.h"

#include <commctrl.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "remote_window.h"

namespace remote {
namespace {

// The program's report cuts its lines at 2047 characters.
constexpr size_t itemTextRoom = 2048;
// A tree rebuilt while it is walked could lead the walk in circles: stop well past any report.
constexpr size_t itemLimit = 200000;
constexpr int depthLimit = 64;

// The request and the text buffer its pszText points at, as laid out in the program.
struct RemoteRequest {
  TVITEMA item;
  char text[itemTextRoom];
};

class ProcessHandle {
 public:
  explicit ProcessHandle(DWORD processId)
      : handle_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId)) {}
  ProcessHandle(const ProcessHandle&) = delete;
  ProcessHandle& operator=(const ProcessHandle&) = delete;
  ~ProcessHandle() {
    if (handle_ != nullptr) CloseHandle(handle_);
  }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

class RemoteMemory {
 public:
  RemoteMemory(HANDLE process, size_t size)
      : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  ~RemoteMemory() {
    if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  void* get() const { return address_; }

 private:
  HANDLE process_;
  void* address_;
};

std::string Error(const char* call) {
  return std::string(call) + " failed with error " + std::to_string(GetLastError());
}

// A zero-terminated string of the program read page by page, so that a string the control
// keeps elsewhere (it may point pszText at its own copy) is read up to its end and no further.
std::optional<std::string> ReadRemoteString(HANDLE process, const char* address, size_t room) {
  constexpr uintptr_t page = 4096;
  std::string text;
  while (text.size() < room) {
    uintptr_t at = reinterpret_cast<uintptr_t>(address) + text.size();
    size_t chunk = static_cast<size_t>(page - at % page);
    if (chunk > room - text.size()) chunk = room - text.size();
    char buffer[page];
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(at), buffer, chunk, &read) || read != chunk) {
      return std::nullopt;
    }
    const char* end = static_cast<const char*>(std::memchr(buffer, '\0', chunk));
    if (end != nullptr) return text.append(buffer, static_cast<size_t>(end - buffer));
    text.append(buffer, chunk);
  }
  return text;
}

class TreeReader {
 public:
  TreeReader(HWND tree, HANDLE process, void* remote) : tree_(tree), process_(process), remote_(remote) {}

  bool Walk(HTREEITEM first, int depth, std::vector<TreeItem>& items) {
    if (depth > depthLimit) return Fail("the tree is deeper than " + std::to_string(depthLimit) + " levels");
    for (HTREEITEM item = first; item != nullptr;) {
      if (items.size() >= itemLimit) return Fail("the tree has more than " + std::to_string(itemLimit) + " items");
      TreeItem read{depth, {}, false};
      if (!ReadItem(item, read)) return false;
      items.push_back(std::move(read));
      std::optional<HTREEITEM> child = Next(TVGN_CHILD, item);
      if (!child || !Walk(*child, depth + 1, items)) return false;
      std::optional<HTREEITEM> next = Next(TVGN_NEXT, item);
      if (!next) return false;
      item = *next;
    }
    return true;
  }

  // The related item (nullptr when there is none), or nothing when the control is silent.
  std::optional<HTREEITEM> Next(UINT relation, HTREEITEM item) {
    std::optional<LRESULT> reply = Send(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item));
    if (!reply) {
      Fail("the tree view did not answer TVM_GETNEXTITEM");
      return std::nullopt;
    }
    return reinterpret_cast<HTREEITEM>(*reply);
  }

  const std::string& error() const { return error_; }

 private:
  bool ReadItem(HTREEITEM item, TreeItem& read) {
    TVITEMA request = {};
    request.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_STATE;
    request.hItem = item;
    request.stateMask = TVIS_EXPANDED;
    request.pszText = RemoteText();
    request.cchTextMax = static_cast<int>(itemTextRoom);
    // The request and an empty text: an item without text leaves the buffer as it is.
    char staged[offsetof(RemoteRequest, text) + 1] = {};
    std::memcpy(staged, &request, sizeof(request));
    if (!WriteProcessMemory(process_, remote_, staged, sizeof(staged), nullptr)) {
      return Fail(Error("WriteProcessMemory"));
    }
    std::optional<LRESULT> reply = Send(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote_));
    if (!reply) return Fail("the tree view did not answer TVM_GETITEMA");
    if (*reply == FALSE) return Fail("TVM_GETITEMA refused an item TVM_GETNEXTITEM had returned");
    TVITEMA answered = {};
    if (!ReadProcessMemory(process_, remote_, &answered, sizeof(answered), nullptr)) {
      return Fail(Error("ReadProcessMemory"));
    }
    std::optional<std::string> text = ReadRemoteString(process_, answered.pszText, itemTextRoom);
    if (!text) return Fail(Error("ReadProcessMemory of an item text"));
    read.text = std::move(*text);
    read.expanded = (answered.state & TVIS_EXPANDED) != 0;
    return true;
  }

  // Where the text buffer is in the program; the request itself is at remote_.
  char* RemoteText() const { return static_cast<char*>(remote_) + offsetof(RemoteRequest, text); }

  bool Fail(const std::string& error) {
    error_ = error;
    return false;
  }

  HWND tree_;
  HANDLE process_;
  void* remote_;
  std::string error_;
};

}  // namespace

std::optional<std::vector<TreeItem>> TreeItems(HWND tree, std::string* error) {
  DWORD processId = 0;
  if (tree == nullptr || GetWindowThreadProcessId(tree, &processId) == 0) {
    *error = "no tree view window";
    return std::nullopt;
  }
  ProcessHandle process(processId);
  if (process.get() == nullptr) {
    *error = Error("OpenProcess");
    return std::nullopt;
  }
  RemoteMemory memory(process.get(), sizeof(RemoteRequest));
  if (memory.get() == nullptr) {
    *error = Error("VirtualAllocEx");
    return std::nullopt;
  }
  TreeReader reader(tree, process.get(), memory.get());
  std::vector<TreeItem> items;
  std::optional<HTREEITEM> root = reader.Next(TVGN_ROOT, nullptr);
  if (!root || !reader.Walk(*root, 0, items)) {
    *error = reader.error();
    return std::nullopt;
  }
  return items;
}

std::string TreeText(const std::vector<TreeItem>& items) {
  std::string text;
  for (const TreeItem& item : items) {
    text.append(static_cast<size_t>(item.depth) * 2, ' ');
    if (item.expanded) text += "[+] ";
    text += item.text;
    text += '\n';
  }
  return text;
}

std::optional<std::string> TreeText(HWND tree, std::string* error) {
  std::optional<std::vector<TreeItem>> items = TreeItems(tree, error);
  if (!items) return std::nullopt;
  return TreeText(*items);
}

}  // namespace remote
