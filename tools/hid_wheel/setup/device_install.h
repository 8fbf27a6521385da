// The root device and its driver, through SetupAPI and newdev as Wine's own boot does it for
// its root devices.
#pragma once

#include <string>

namespace hid_wheel_setup {

// Registers the root device (once) and installs the INF's driver on it. False with `error`
// set when a step fails.
bool InstallDevice(const std::wstring& infPath, std::string* error);

// Removes the device, stops and deletes the service, uninstalls the INF copy and deletes the
// driver file. Steps with nothing to do are skipped; false with `error` when one fails.
bool RemoveDevice(const std::wstring& infPath, std::string* error);

// Whether the driver's service is registered (the sign that the INF was applied).
bool ServiceInstalled();

// Whether the installed driver file is the same as the one beside the INF.
bool InstalledDriverMatches(const std::wstring& infPath);

}  // namespace hid_wheel_setup
