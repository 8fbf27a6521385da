// Host stand-in for the shell's folder lookup. The documents folder is whatever a test
// sets; until one is set the lookup fails as it does for a profile without one.
#pragma once

#include <cstdint>

#include "host/win32_base.h"

#define CSIDL_PERSONAL 0x0005
#define SHGFP_TYPE_CURRENT 0

// Copies the folder (at most MAX_PATH bytes with its terminator) into path.
HRESULT WINAPI SHGetFolderPathA(HWND owner, int folder, HANDLE token, DWORD flags, LPSTR path);

namespace host {

// The folder SHGetFolderPathA reports for CSIDL_PERSONAL; null makes it fail with E_FAIL.
// Longer than MAX_PATH - 1 bytes also fails, as no real folder can be.
void SetDocumentsFolder(const char* folder);

struct ShellCalls {
  uint32_t folderLookups;
  int lastFolder;
  DWORD lastFlags;
};
const ShellCalls& RecordedShellCalls();
// Forgets the folder and the record.
void ResetShellFolders();

}  // namespace host
