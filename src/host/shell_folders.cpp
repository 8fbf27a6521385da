#include "host/shell_folders.h"

#include <cstring>
#include <string>

namespace {

bool folderSet = false;
std::string documentsFolder;
host::ShellCalls calls{};

}  // namespace

HRESULT WINAPI SHGetFolderPathA(HWND, int folder, HANDLE, DWORD flags, LPSTR path) {
  ++calls.folderLookups;
  calls.lastFolder = folder;
  calls.lastFlags = flags;
  if (path == nullptr) return E_INVALIDARG;
  path[0] = '\0';
  if (folder != CSIDL_PERSONAL) return E_INVALIDARG;
  if (!folderSet || documentsFolder.size() >= MAX_PATH) return E_FAIL;
  std::memcpy(path, documentsFolder.c_str(), documentsFolder.size() + 1);
  return S_OK;
}

namespace host {

void SetDocumentsFolder(const char* folder) {
  folderSet = folder != nullptr;
  documentsFolder = folder != nullptr ? folder : "";
}

const ShellCalls& RecordedShellCalls() { return calls; }

void ResetShellFolders() {
  folderSet = false;
  documentsFolder.clear();
  calls = ShellCalls{};
}

}  // namespace host
