// vantrel_hid_wheel_setup: installs the HID wheel's driver into the Wine prefix (or Windows) it
// runs in, and takes it out again. tools/hid_wheel/install.sh and remove.sh run it.
//
//   vantrel_hid_wheel_setup install INF   installs; returns once DirectInput lists the wheel
//   vantrel_hid_wheel_setup remove INF    removes; returns once DirectInput no longer lists it
//   vantrel_hid_wheel_setup status        prints whether DirectInput lists the wheel
// Exit codes: 0 done, 1 a step failed (one line on standard error says which), 2 usage.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "device_install.h"
#include "direct_input_listing.h"
#include "wheel_names.h"

namespace {

using namespace hid_wheel_setup;

// The driver starts and the class driver announces the device within a few seconds.
constexpr DWORD listingWaitMs = 30000;

int Fail(const std::string& error) {
  std::fprintf(stderr, "vantrel_hid_wheel_setup: %s\n", error.c_str());
  return 1;
}

std::wstring FullPath(const char* path) {
  wchar_t wide[MAX_PATH] = {};
  wchar_t full[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
  DWORD length = GetFullPathNameW(wide, MAX_PATH, full, nullptr);
  return length == 0 || length >= MAX_PATH ? std::wstring(wide) : std::wstring(full);
}

int Install(const char* inf) {
  std::string error;
  Listing listing;
  std::wstring infPath = FullPath(inf);
  if (ServiceInstalled()) {
    // This build, installed and listed: nothing to do. Another build: out with it first.
    if (InstalledDriverMatches(infPath) && ListWheel(&listing, &error) && listing.listed) {
      std::printf("the HID wheel is installed already\n");
      return 0;
    }
    std::printf("replacing the installed HID wheel\n");
    if (!RemoveDevice(infPath, &error) || !WaitForListing(false, listingWaitMs, &error)) return Fail(error);
  }
  if (!InstallDevice(infPath, &error)) return Fail(error);
  if (!WaitForListing(true, listingWaitMs, &error)) return Fail(error);
  ListWheel(&listing, &error);
  std::printf("the HID wheel is installed: DirectInput lists \"%s\"%s\n", productName,
              listing.forceFeedback ? " with force feedback" : " (without force feedback)");
  return 0;
}

int Remove(const char* inf) {
  std::string error;
  if (!RemoveDevice(FullPath(inf), &error)) return Fail(error);
  if (!WaitForListing(false, listingWaitMs, &error)) return Fail(error);
  std::printf("the HID wheel is removed\n");
  return 0;
}

int Status() {
  std::string error;
  Listing listing;
  if (!ListWheel(&listing, &error)) return Fail(error);
  std::printf("service %s; DirectInput %s\n", ServiceInstalled() ? "installed" : "not installed",
              !listing.listed ? "does not list the wheel"
              : listing.forceFeedback ? "lists the wheel with force feedback"
                                      : "lists the wheel without force feedback");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "install") == 0) return Install(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "remove") == 0) return Remove(argv[2]);
  if (argc == 2 && std::strcmp(argv[1], "status") == 0) return Status();
  std::fprintf(stderr,
               "usage: vantrel_hid_wheel_setup install INF\n"
               "       vantrel_hid_wheel_setup remove INF\n"
               "       vantrel_hid_wheel_setup status\n");
  return 2;
}
