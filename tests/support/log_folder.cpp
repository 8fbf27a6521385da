#include "support/log_folder.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/platform.h"

namespace fs = std::filesystem;

LogFolder::LogFolder() {
  static std::atomic<int> serial{0};
  fs::path folder = fs::temp_directory_path() /
                    ("vantrel-logs-" + std::to_string(getpid()) + "-" + std::to_string(serial++));
  fs::remove_all(folder);
  fs::create_directories(folder);
  path_ = folder.string();
  host::SetDocumentsFolder(path_.c_str());
}

LogFolder::~LogFolder() {
  host::SetDocumentsFolder(nullptr);
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

namespace {

std::vector<std::string> NamesIn(const std::string& folder, const std::string& prefix, const std::string& extension) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    std::string name = entry.path().filename().string();
    if (name.compare(0, prefix.size(), prefix) == 0 && entry.path().extension() == extension) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::vector<std::string> LogFolder::Files(const std::string& prefix) const { return NamesIn(path_, prefix, ".csv"); }

std::vector<std::string> LogFolder::Pages(const std::string& prefix) const { return NamesIn(path_, prefix, ".html"); }

std::string LogFolder::Read(const std::string& name) const {
  std::ifstream in(fs::path(path_) / name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void LogFolder::Write(const std::string& name, const std::string& bytes) const {
  std::ofstream out(fs::path(path_) / name, std::ios::binary);
  out << bytes;
}

std::vector<std::string> CsvLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos || bytes.find('\n', start) < end) {
      ADD_FAILURE() << "line " << lines.size() + 1 << " does not end in CR LF";
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::vector<std::string> CsvFields(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (true) {
    size_t end = line.find(", ", start);
    fields.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return fields;
}
