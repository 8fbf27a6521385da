// vantrel-measure on the host: the virtual wheel (and a keyboard) attached, the virtual clock,
// logs in the folder --out names or the current one. For trying the runner without Windows.
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/runner/runner.h"
#include "host/dinput/device_registry.h"
#include "host/shell_folders.h"
#include "host/system.h"

int main(int argc, char** argv) {
  host::UseVirtualClock(5000000);
  host::AttachDevice(host::VirtualWheelDescription());
  host::AttachDevice(host::KeyboardDescription());
  std::string documents = std::filesystem::current_path().string();
  host::SetDocumentsFolder(documents.c_str());
  return RunMeasureProgram(argc, argv, stdout, stderr);
}
