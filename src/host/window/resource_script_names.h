// The names a resource script may use without defining them: what <windows.h> and
// <commctrl.h> define for dialogs (window, dialog and control styles, command ids, class
// names), taken from the host's own declarations so the two cannot disagree.
#pragma once

#include <string_view>

namespace host::window::rc {

bool PredefinedNumber(std::string_view name, long long* value);
// Class-name strings such as TRACKBAR_CLASSA; null when `name` is not one.
const char* PredefinedString(std::string_view name);

}  // namespace host::window::rc
