#include "engine/engine_policies.h"

#include <cstring>

#include "engine/test_log_file.h"

namespace {

char logFolderText[testLogPathRoom];
EnginePolicies current;

}  // namespace

bool SetEnginePolicies(const EnginePolicies& policies) {
  if (policies.logFolder != nullptr) {
    size_t length = std::strlen(policies.logFolder);
    if (length >= sizeof(logFolderText)) return false;
    std::memcpy(logFolderText, policies.logFolder, length + 1);
  }
  current = policies;
  if (policies.logFolder != nullptr) current.logFolder = logFolderText;
  return true;
}

const EnginePolicies& CurrentEnginePolicies() { return current; }
