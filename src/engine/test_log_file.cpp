#include "engine/test_log_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "diag/debug_trace.h"
#include "diag/result_code_name.h"
#include "engine/engine_policies.h"
#include "platform/platform.h"

namespace {

// More runs than this in one second would take a script, not a user.
constexpr int maxNameSuffix = 999;
constexpr char logExtension[] = ".csv";

bool FileExists(const char* path) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

// Builds "<stem> (n).csv" from a path that ends in ".csv"; false when it does not fit.
bool NumberedPath(const char* path, int n, char* out, size_t room) {
  size_t length = std::strlen(path);
  size_t extensionLength = sizeof(logExtension) - 1;
  if (length < extensionLength || std::strcmp(path + length - extensionLength, logExtension) != 0) return false;
  size_t stemLength = length - extensionLength;
  int written = std::snprintf(out, room, "%.*s (%d)%s", static_cast<int>(stemLength), path, n, logExtension);
  return written > 0 && static_cast<size_t>(written) < room;
}

}  // namespace

std::FILE* CreateTestLog(const char* namePattern, char (&chosenPath)[testLogPathRoom]) {
  chosenPath[0] = '\0';
  char folder[testLogPathRoom];
  folder[0] = '\0';
  const char* chosenFolder = CurrentEnginePolicies().logFolder;
  if (chosenFolder != nullptr) {
    std::snprintf(folder, sizeof(folder), "%s", chosenFolder);
  } else {
    HRESULT hr = SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder);
    if (FAILED(hr)) {
      DebugTrace("SHGetFolderPathA() Failed (0x%08x) %s", static_cast<unsigned>(hr), ResultCodeName(hr));
      return nullptr;
    }
  }
  folder[testLogPathRoom - 1] = '\0';

  char path[testLogPathRoom];
  size_t folderLength = std::strlen(folder);
  std::time_t now = std::time(nullptr);
  std::tm* local = std::localtime(&now);
  if (local == nullptr) {
    DebugTrace("localtime() Failed");
    return nullptr;
  }
  // Room for the folder, the separator, at least one character and the terminator.
  if (folderLength + 2 >= sizeof(path)) {
    DebugTrace("Log path too long in \"%s\"", folder);
    return nullptr;
  }
  std::memcpy(path, folder, folderLength);
  path[folderLength] = pathSeparator;
  size_t nameRoom = sizeof(path) - folderLength - 1;
  if (std::strftime(path + folderLength + 1, nameRoom, namePattern, local) == 0) {
    DebugTrace("Log path too long in \"%s\"", folder);
    return nullptr;
  }

  // Two runs within one second expand to the same name: the later one is numbered.
  char numbered[testLogPathRoom];
  const char* chosen = path;
  for (int n = 2; FileExists(chosen); ++n) {
    if (n > maxNameSuffix || !NumberedPath(path, n, numbered, sizeof(numbered))) {
      DebugTrace("No free log name for \"%s\"", path);
      return nullptr;
    }
    chosen = numbered;
  }

  std::FILE* log = std::fopen(chosen, "wb");
  if (log == nullptr) {
    int error = errno;
    DebugTrace("fopen(\"%s\") Failed (%d) %s", chosen, error, std::strerror(error));
    return nullptr;
  }
  std::snprintf(chosenPath, testLogPathRoom, "%s", chosen);
  return log;
}
