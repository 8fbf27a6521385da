// Dialog templates from resource-script text: the host reads the same .rc file the
// Windows build compiles with windres, so the dialog has one layout. The executable links
// the script's text (and the headers it includes) and registers it before main runs;
// CreateDialogParamA looks its template up among the registered scripts.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/window/host_window.h"

namespace host {

struct EmbeddedFile {
  const char* name;  // as the script's #include spells it
  const char* text;
  size_t length;
};

struct ResourceScript {
  const char* name;
  const char* text;
  size_t length;
  const EmbeddedFile* includes;
  size_t includeCount;
};

// Later registrations are searched first. The script must outlive its registration.
void RegisterResourceScript(const ResourceScript* script);
void UnregisterResourceScript(const ResourceScript* script);
size_t RegisteredResourceScriptCount();
// In registration order; null past the end.
const ResourceScript* RegisteredResourceScriptAt(size_t index);

struct ControlTemplate {
  ControlClass kind;
  std::string className;  // the window class the control is created with
  std::string text;
  int id;
  DWORD style;
  DWORD exStyle;
  int x, y, cx, cy;  // dialog units
  int line;
};

struct DialogTemplate {
  bool numeric;  // named by a number (MAKEINTRESOURCE) rather than a string
  int id;
  std::string name;  // string names, upper case as the resource compiler keeps them
  bool extended;     // DIALOGEX
  DWORD style;
  DWORD exStyle;
  int x, y, cx, cy;
  std::string caption;
  int fontSize;
  std::string fontName;
  std::vector<ControlTemplate> controls;
  int line;
};

struct ResourceScriptParse {
  bool ok = false;
  std::string errorFile;
  int errorLine = 0;
  std::string errorMessage;
  std::vector<DialogTemplate> dialogs;

  // "file:line: message", or "" when the script parsed.
  std::string ErrorText() const;
};

ResourceScriptParse ParseResourceScript(const ResourceScript& script);

// Why the last CreateDialogParamA that failed on a resource script failed ("" if none did).
const char* LastResourceScriptError();

}  // namespace host
