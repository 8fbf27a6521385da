#include "device_install.h"

#include <windows.h>
#include <newdev.h>
#include <setupapi.h>

#include <cstdio>
#include <string>

#include "wheel_names.h"

namespace hid_wheel_setup {

namespace {

constexpr DWORD serviceStopWaitMs = 10000;

std::string Failed(const char* what, DWORD error = GetLastError()) {
  char text[160];
  std::snprintf(text, sizeof text, "%s failed (error %lu)", what, static_cast<unsigned long>(error));
  return text;
}

// A device information set that destroys itself.
class DeviceInfoSet {
 public:
  DeviceInfoSet() : set_(SetupDiCreateDeviceInfoList(nullptr, nullptr)) {}
  ~DeviceInfoSet() {
    if (set_ != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(set_);
  }
  DeviceInfoSet(const DeviceInfoSet&) = delete;
  DeviceInfoSet& operator=(const DeviceInfoSet&) = delete;
  HDEVINFO get() const { return set_; }
  bool valid() const { return set_ != INVALID_HANDLE_VALUE; }

 private:
  HDEVINFO set_;
};

class ServiceHandle {
 public:
  explicit ServiceHandle(SC_HANDLE handle) : handle_(handle) {}
  ~ServiceHandle() {
    if (handle_ != nullptr) CloseServiceHandle(handle_);
  }
  ServiceHandle(const ServiceHandle&) = delete;
  ServiceHandle& operator=(const ServiceHandle&) = delete;
  SC_HANDLE get() const { return handle_; }

 private:
  SC_HANDLE handle_;
};

// The class comes from the INF when the driver is installed.
constexpr GUID noClass = {};

bool RegisterRootDevice(std::string* error) {
  DeviceInfoSet set;
  if (!set.valid()) {
    *error = Failed("SetupDiCreateDeviceInfoList");
    return false;
  }
  SP_DEVINFO_DATA device = {};
  device.cbSize = sizeof(device);
  if (!SetupDiCreateDeviceInfoW(set.get(), deviceInstanceId, &noClass, nullptr, nullptr, 0, &device)) {
    if (GetLastError() == ERROR_DEVINST_ALREADY_EXISTS) return true;
    *error = Failed("SetupDiCreateDeviceInfoW");
    return false;
  }
  // A multi-string: the id, then an empty string.
  std::wstring ids = std::wstring(hardwareId) + L'\0' + L'\0';
  if (!SetupDiSetDeviceRegistryPropertyW(set.get(), &device, SPDRP_HARDWAREID,
                                         reinterpret_cast<const BYTE*>(ids.data()),
                                         static_cast<DWORD>(ids.size() * sizeof(wchar_t)))) {
    *error = Failed("SetupDiSetDeviceRegistryPropertyW(SPDRP_HARDWAREID)");
    return false;
  }
  if (!SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set.get(), &device)) {
    *error = Failed("SetupDiCallClassInstaller(DIF_REGISTERDEVICE)");
    return false;
  }
  return true;
}

bool RemoveDeviceInstance(const wchar_t* instanceId, std::string* error) {
  DeviceInfoSet set;
  if (!set.valid()) {
    *error = Failed("SetupDiCreateDeviceInfoList");
    return false;
  }
  SP_DEVINFO_DATA device = {};
  device.cbSize = sizeof(device);
  if (!SetupDiOpenDeviceInfoW(set.get(), instanceId, nullptr, 0, &device)) {
    if (GetLastError() == ERROR_NO_SUCH_DEVINST) return true;
    *error = Failed("SetupDiOpenDeviceInfoW");
    return false;
  }
  if (!SetupDiCallClassInstaller(DIF_REMOVE, set.get(), &device)) {
    *error = Failed("SetupDiCallClassInstaller(DIF_REMOVE)");
    return false;
  }
  return true;
}

bool StopAndDeleteService(std::string* error) {
  ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
  if (manager.get() == nullptr) {
    *error = Failed("OpenSCManagerW");
    return false;
  }
  ServiceHandle service(OpenServiceW(manager.get(), serviceName, SERVICE_ALL_ACCESS));
  if (service.get() == nullptr) {
    if (GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST) return true;
    *error = Failed("OpenServiceW");
    return false;
  }
  SERVICE_STATUS status = {};
  if (!ControlService(service.get(), SERVICE_CONTROL_STOP, &status) &&
      GetLastError() != ERROR_SERVICE_NOT_ACTIVE) {
    *error = Failed("ControlService(SERVICE_CONTROL_STOP)");
    return false;
  }
  DWORD start = GetTickCount();
  while (QueryServiceStatus(service.get(), &status) && status.dwCurrentState != SERVICE_STOPPED &&
         GetTickCount() - start < serviceStopWaitMs) {
    Sleep(100);
  }
  if (!DeleteService(service.get()) && GetLastError() != ERROR_SERVICE_MARKED_FOR_DELETE) {
    *error = Failed("DeleteService");
    return false;
  }
  return true;
}

// The INF's copy in the system's INF folder: found by asking for a copy that only replaces.
bool UninstallInfCopy(const std::wstring& infPath, std::string* error) {
  wchar_t installed[MAX_PATH] = {};
  wchar_t* name = nullptr;
  if (!SetupCopyOEMInfW(infPath.c_str(), nullptr, SPOST_NONE, SP_COPY_REPLACEONLY, installed, MAX_PATH, nullptr,
                        &name)) {
    return true;  // no copy installed
  }
  if (!SetupUninstallOEMInfW(name, SUOI_FORCEDELETE, nullptr)) {
    *error = Failed("SetupUninstallOEMInfW");
    return false;
  }
  // Wine leaves the precompiled INF beside it.
  std::wstring precompiled = std::wstring(installed).substr(0, std::wstring(installed).size() - 4) + L".pnf";
  if (!DeleteFileW(precompiled.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
    *error = Failed("DeleteFileW(the precompiled INF)");
    return false;
  }
  return true;
}

std::wstring InstalledDriverPath() {
  wchar_t system[MAX_PATH] = {};
  UINT length = GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(system) + L"\\drivers\\" + driverFileName;
}

std::string ReadFile(const std::wstring& path) {
  std::string bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

bool DeleteDriverFile(std::string* error) {
  std::wstring path = InstalledDriverPath();
  if (path.empty()) {
    *error = Failed("GetSystemDirectoryW");
    return false;
  }
  if (!DeleteFileW(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
    *error = Failed("DeleteFileW(the driver file)");
    return false;
  }
  return true;
}

}  // namespace

bool ServiceInstalled() {
  ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (manager.get() == nullptr) return false;
  ServiceHandle service(OpenServiceW(manager.get(), serviceName, SERVICE_QUERY_STATUS));
  return service.get() != nullptr;
}

bool InstalledDriverMatches(const std::wstring& infPath) {
  std::wstring built = infPath.substr(0, infPath.find_last_of(L"\\/") + 1) + driverFileName;
  std::string installed = ReadFile(InstalledDriverPath());
  return !installed.empty() && installed == ReadFile(built);
}

bool InstallDevice(const std::wstring& infPath, std::string* error) {
  if (!RegisterRootDevice(error)) return false;
  BOOL reboot = FALSE;
  if (!UpdateDriverForPlugAndPlayDevicesW(nullptr, hardwareId, infPath.c_str(), INSTALLFLAG_FORCE, &reboot)) {
    *error = Failed("UpdateDriverForPlugAndPlayDevicesW");
    return false;
  }
  // Wine reports success even when no device matched the INF: the service is the proof.
  if (!ServiceInstalled()) {
    *error = "the driver's service is missing after UpdateDriverForPlugAndPlayDevicesW";
    return false;
  }
  return true;
}

bool RemoveDevice(const std::wstring& infPath, std::string* error) {
  // The HID device the class driver made on top is gone with the root device, but its
  // registry entries stay until removed themselves.
  return RemoveDeviceInstance(deviceInstanceId, error) && RemoveDeviceInstance(hidDeviceInstanceId, error) &&
         StopAndDeleteService(error) && UninstallInfCopy(infPath, error) && DeleteDriverFile(error);
}

}  // namespace hid_wheel_setup
