#include "check_log.h"

#include <cstdio>

bool CheckLog::Expect(bool passed, const std::string& what, const std::string& detail) {
  if (passed) {
    ++passed_;
    if (verbose_) std::printf("ok   %s\n", what.c_str());
  } else {
    ++failed_;
    if (detail.empty()) {
      std::printf("FAIL %s\n", what.c_str());
    } else {
      std::printf("FAIL %s: %s\n", what.c_str(), detail.c_str());
    }
  }
  std::fflush(stdout);
  return passed;
}

bool CheckLog::ExpectText(const std::string& what, const std::string& expected, const std::string& actual) {
  return Expect(expected == actual, what, "expected " + Quoted(expected) + ", got " + Quoted(actual));
}

bool CheckLog::ExpectNumber(const std::string& what, long long expected, long long actual) {
  return Expect(expected == actual, what,
                "expected " + std::to_string(expected) + ", got " + std::to_string(actual));
}

void CheckLog::Section(const std::string& title) {
  std::printf("-- %s\n", title.c_str());
  std::fflush(stdout);
}

void CheckLog::PrintSummary() const {
  std::printf("wine checks: %d passed, %d failed\n", passed_, failed_);
  std::fflush(stdout);
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
