// Copying names into the fixed text fields of DirectInput's structures.
#pragma once

#include <cstddef>
#include <string>

#include "platform/platform.h"

namespace host::dinput {

// Cuts to fit and always terminates.
inline void CopyText(char* out, size_t room, const std::string& text) {
  if (room == 0) return;
  size_t length = text.size() < room - 1 ? text.size() : room - 1;
  for (size_t i = 0; i < length; ++i) out[i] = text[i];
  out[length] = '\0';
}

// Names here are plain ASCII, so each byte widens to one UTF-16 unit.
inline void CopyWideText(WCHAR* out, size_t room, const std::string& text) {
  if (room == 0) return;
  size_t length = text.size() < room - 1 ? text.size() : room - 1;
  for (size_t i = 0; i < length; ++i) out[i] = static_cast<WCHAR>(static_cast<unsigned char>(text[i]));
  out[length] = 0;
}

// Keeps the characters below 128 and makes the rest '?'.
inline std::string NarrowText(const WCHAR* text, size_t room) {
  std::string narrow;
  for (size_t i = 0; i < room && text[i] != 0; ++i) {
    unsigned value = static_cast<unsigned>(text[i]);
    narrow.push_back(value < 128 ? static_cast<char>(value) : '?');
  }
  return narrow;
}

}  // namespace host::dinput
