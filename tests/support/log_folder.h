// A documents folder of its own for a test: created empty, reported by the shell stand-in,
// removed with everything in it at the end.
#pragma once

#include <string>
#include <vector>

class LogFolder {
 public:
  LogFolder();
  ~LogFolder();
  LogFolder(const LogFolder&) = delete;
  LogFolder& operator=(const LogFolder&) = delete;

  const std::string& path() const { return path_; }
  // Names of the logs (".csv") in the folder that start with prefix, in name order.
  std::vector<std::string> Files(const std::string& prefix = "") const;
  // The same for the analysis pages (".html") the program writes beside them.
  std::vector<std::string> Pages(const std::string& prefix = "") const;
  std::string Read(const std::string& name) const;
  void Write(const std::string& name, const std::string& bytes) const;

 private:
  std::string path_;
};

// A log's lines without their CR LF; fails the test (and stops splitting) at a line that
// does not end in CR LF.
std::vector<std::string> CsvLines(const std::string& bytes);
// The comma-and-space separated fields of one line.
std::vector<std::string> CsvFields(const std::string& line);
