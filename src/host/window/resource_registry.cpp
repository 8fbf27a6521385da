// The resource scripts linked into the executable, and the template lookup of
// CreateDialogParamA over them.
#include <algorithm>
#include <cstring>
#include <string>
#include <strings.h>

#include "host/window/dialog_manager.h"
#include "host/window/last_error.h"

namespace host {
namespace {

constexpr size_t scriptRoom = 16;

const ResourceScript* scripts[scriptRoom];
size_t scriptCount = 0;
char lastError[512];

void RememberError(const std::string& message) {
  size_t length = std::min(message.size(), sizeof(lastError) - 1);
  std::memcpy(lastError, message.data(), length);
  lastError[length] = '\0';
}

bool Matches(const DialogTemplate& d, LPCSTR name) {
  if (IS_INTRESOURCE(name)) return d.numeric && d.id == static_cast<int>(reinterpret_cast<uintptr_t>(name));
  // "#102" names resource 102.
  if (name[0] == '#') return d.numeric && std::to_string(d.id) == name + 1;
  return !d.numeric && strcasecmp(d.name.c_str(), name) == 0;
}

std::string Describe(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return std::to_string(reinterpret_cast<uintptr_t>(name));
  return std::string("\"") + name + "\"";
}

}  // namespace

void RegisterResourceScript(const ResourceScript* script) {
  if (script == nullptr || scriptCount == scriptRoom) return;
  UnregisterResourceScript(script);
  scripts[scriptCount++] = script;
}

void UnregisterResourceScript(const ResourceScript* script) {
  for (size_t i = 0; i < scriptCount; ++i) {
    if (scripts[i] != script) continue;
    std::memmove(&scripts[i], &scripts[i + 1], sizeof(scripts[0]) * (scriptCount - i - 1));
    --scriptCount;
    return;
  }
}

size_t RegisteredResourceScriptCount() { return scriptCount; }

const ResourceScript* RegisteredResourceScriptAt(size_t index) {
  return index < scriptCount ? scripts[index] : nullptr;
}

const char* LastResourceScriptError() { return lastError; }

namespace window {

bool FindDialogTemplate(LPCSTR name, DialogTemplate* found) {
  if (name == nullptr) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    RememberError("no template name");
    return false;
  }
  std::string parseError;
  for (size_t i = scriptCount; i-- > 0;) {
    ResourceScriptParse parse = ParseResourceScript(*scripts[i]);
    if (!parse.ok) {
      if (parseError.empty()) parseError = parse.ErrorText();
      continue;
    }
    for (DialogTemplate& d : parse.dialogs) {
      if (!Matches(d, name)) continue;
      *found = std::move(d);
      return true;
    }
  }
  SetLastError(!parseError.empty() ? ERROR_INVALID_DATA : ERROR_RESOURCE_NAME_NOT_FOUND);
  RememberError(!parseError.empty() ? parseError
                                    : "no dialog template " + Describe(name) + " in the registered scripts");
  return false;
}

void ResetLastResourceScriptError() { lastError[0] = '\0'; }

}  // namespace window
}  // namespace host
