// The outcome of a checker run: every check counted, every failure one line on stdout.
#pragma once

#include <string>

class CheckLog {
 public:
  explicit CheckLog(bool verbose) : verbose_(verbose) {}

  // Records one check and returns whether it passed, so a caller can skip what depends on it.
  bool Expect(bool passed, const std::string& what, const std::string& detail = {});
  bool ExpectText(const std::string& what, const std::string& expected, const std::string& actual);
  bool ExpectNumber(const std::string& what, long long expected, long long actual);

  // A line of context (which run, which phase) that makes the failures below it readable.
  void Section(const std::string& title);

  int passed() const { return passed_; }
  int failed() const { return failed_; }
  void PrintSummary() const;

 private:
  bool verbose_;
  int passed_ = 0;
  int failed_ = 0;
};

// "text" with quotes, for messages about texts that may be empty.
std::string Quoted(const std::string& text);
