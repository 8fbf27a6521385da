#include "measurement_logs.h"

#include <windows.h>
#include <shlobj.h>

#include <fstream>
#include <iterator>

std::string DocumentsFolderPath() {
  char folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
  return folder;
}

std::set<std::string> LogNames(const std::string& folder, const std::string& pattern) {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.insert(found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

std::string NewLogName(const std::string& folder, const std::string& pattern, const std::set<std::string>& before) {
  std::string newest;
  for (const std::string& name : LogNames(folder, pattern)) {
    if (before.count(name) == 0 && name > newest) newest = name;
  }
  return newest;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool SplitCrLfLines(const std::string& bytes, std::vector<std::string>* lines) {
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos || bytes.find('\n', start) < end) return false;
    lines->push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return true;
}
