#include "direct_input_listing.h"

#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>

#include <cstdio>
#include <cstring>

#include "wheel_names.h"

namespace hid_wheel_setup {

namespace {

constexpr DWORD pollIntervalMs = 200;

BOOL CALLBACK FindWheel(const DIDEVICEINSTANCEA* instance, void* context) {
  if (std::strcmp(instance->tszProductName, productName) == 0) {
    *static_cast<bool*>(context) = true;
    return DIENUM_STOP;
  }
  return DIENUM_CONTINUE;
}

std::string Failed(const char* call, HRESULT result) {
  char text[96];
  std::snprintf(text, sizeof text, "%s failed (0x%08lx)", call, static_cast<unsigned long>(result));
  return text;
}

}  // namespace

bool ListWheel(Listing* listing, std::string* error) {
  IDirectInput8A* directInput = nullptr;
  HRESULT result = DirectInput8Create(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8A,
                                      reinterpret_cast<void**>(&directInput), nullptr);
  if (FAILED(result)) {
    *error = Failed("DirectInput8Create", result);
    return false;
  }
  *listing = {};
  result = directInput->EnumDevices(DI8DEVCLASS_GAMECTRL, FindWheel, &listing->listed, DIEDFL_ATTACHEDONLY);
  if (SUCCEEDED(result)) {
    result = directInput->EnumDevices(DI8DEVCLASS_GAMECTRL, FindWheel, &listing->forceFeedback,
                                      DIEDFL_ATTACHEDONLY | DIEDFL_FORCEFEEDBACK);
  }
  directInput->Release();
  if (FAILED(result)) {
    *error = Failed("IDirectInput8::EnumDevices", result);
    return false;
  }
  return true;
}

bool WaitForListing(bool listed, DWORD timeoutMs, std::string* error) {
  DWORD start = GetTickCount();
  for (;;) {
    Listing listing;
    if (!ListWheel(&listing, error)) return false;
    if (listing.listed == listed) return true;
    if (GetTickCount() - start >= timeoutMs) {
      *error = listed ? "DirectInput did not list the wheel in time" : "DirectInput still lists the wheel";
      return false;
    }
    Sleep(pollIntervalMs);
  }
}

}  // namespace hid_wheel_setup
