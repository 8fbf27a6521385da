// What the system's DirectInput lists: the proof that the wheel arrived or left.
#pragma once

#include <windows.h>

#include <string>

namespace hid_wheel_setup {

struct Listing {
  bool listed = false;          // a game controller with the wheel's product name
  bool forceFeedback = false;   // and it is listed among the force-feedback devices too
};

// False with `error` set when DirectInput cannot be created or enumerated.
bool ListWheel(Listing* listing, std::string* error);

// Polls until the wheel is listed (or, with `listed` false, gone) or `timeoutMs` passes.
bool WaitForListing(bool listed, DWORD timeoutMs, std::string* error);

}  // namespace hid_wheel_setup
