#include "support/case_name.h"

#include <cctype>

namespace test_support {

namespace {

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
bool IsAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

}  // namespace

std::string CaseName(std::string_view description) {
  std::string name;
  bool wordStart = true;
  for (size_t i = 0; i < description.size(); ++i) {
    char c = description[i];
    bool digitFollows = i + 1 < description.size() && IsDigit(description[i + 1]);
    bool isSign = i + 1 < description.size() && IsAlnum(description[i + 1]) && (c == '+' || (c == '-' && wordStart));
    if (isSign) {
      name += c == '-' ? "Minus" : "Plus";
      wordStart = true;
      continue;
    }
    if (c == '.' && !name.empty() && IsDigit(name.back()) && digitFollows) {
      name += '_';
      continue;
    }
    if (c == '\'') continue;  // "the band's edge": one word
    if (c == '%') {
      name += "Percent";
      wordStart = true;
      continue;
    }
    if (!IsAlnum(c)) {
      wordStart = true;
      continue;
    }
    if (wordStart && IsDigit(c) && !name.empty() && IsDigit(name.back())) name += '_';
    name += wordStart ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
    wordStart = false;
  }
  return name.empty() ? "Empty" : name;
}

}  // namespace test_support
