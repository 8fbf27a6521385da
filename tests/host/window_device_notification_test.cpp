// Device-change notifications: what RegisterDeviceNotificationA accepts, which windows a
// broadcast reaches, when it arrives, and the record it carries.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/window_message_recorder.h"
#include "platform/platform.h"

namespace window_test {
namespace {

const GUID otherClass = {0x53F56307, 0xB6BF, 0x11D0, {0x94, 0xF2, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}};

DEV_BROADCAST_DEVICEINTERFACE_A Filter(const GUID& classGuid) {
  DEV_BROADCAST_DEVICEINTERFACE_A filter;
  std::memset(&filter, 0, sizeof(filter));
  filter.dbcc_size = sizeof(filter);
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_classguid = classGuid;
  return filter;
}

class DeviceNotificationTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    dialog = host::CreateHostDialog(MessageRecorder::Procedure);
  }

  // Lets the program's loop look at its queue once.
  void Peek() {
    MSG m;
    PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);
  }

  MessageRecorder recorder;
  HWND dialog = nullptr;
};

struct RegistrationCase {
  const char* what;
  DWORD size;
  DWORD type;
  DWORD flags;
  bool nullFilter;
  bool badWindow;
  DWORD error;  // 0: accepted
};

TEST_F(DeviceNotificationTest, RegistrationChecksTheRecipientAndTheFilter) {
  const RegistrationCase cases[] = {
      {"interface filter", sizeof(DEV_BROADCAST_DEVICEINTERFACE_A), DBT_DEVTYP_DEVICEINTERFACE,
       DEVICE_NOTIFY_WINDOW_HANDLE, false, false, 0},
      {"all classes", sizeof(DEV_BROADCAST_DEVICEINTERFACE_A), DBT_DEVTYP_DEVICEINTERFACE,
       DEVICE_NOTIFY_ALL_INTERFACE_CLASSES, false, false, 0},
      {"size of a header only", sizeof(DEV_BROADCAST_HDR), DBT_DEVTYP_DEVICEINTERFACE, 0, false, false,
       ERROR_INVALID_DATA},
      {"handle filter", sizeof(DEV_BROADCAST_DEVICEINTERFACE_A), DBT_DEVTYP_HANDLE, 0, false, false,
       ERROR_INVALID_DATA},
      {"volume filter", sizeof(DEV_BROADCAST_DEVICEINTERFACE_A), DBT_DEVTYP_VOLUME, 0, false, false,
       ERROR_INVALID_DATA},
      {"service recipient", sizeof(DEV_BROADCAST_DEVICEINTERFACE_A), DBT_DEVTYP_DEVICEINTERFACE,
       DEVICE_NOTIFY_SERVICE_HANDLE, false, false, ERROR_INVALID_PARAMETER},
      {"no filter", 0, 0, 0, true, false, ERROR_INVALID_PARAMETER},
      {"no such window", sizeof(DEV_BROADCAST_DEVICEINTERFACE_A), DBT_DEVTYP_DEVICEINTERFACE, 0, false, true,
       ERROR_INVALID_WINDOW_HANDLE},
  };
  for (const RegistrationCase& c : cases) {
    DEV_BROADCAST_DEVICEINTERFACE_A filter = Filter(host::hidDeviceInterfaceClass);
    filter.dbcc_size = c.size;
    filter.dbcc_devicetype = c.type;
    HWND recipient = c.badWindow ? reinterpret_cast<HWND>(0x5555) : dialog;
    SetLastError(0);
    HDEVNOTIFY handle = RegisterDeviceNotificationA(recipient, c.nullFilter ? nullptr : &filter, c.flags);
    if (c.error == 0) {
      EXPECT_NE(handle, nullptr) << c.what;
      EXPECT_TRUE(UnregisterDeviceNotification(handle)) << c.what;
    } else {
      EXPECT_EQ(handle, nullptr) << c.what;
      EXPECT_EQ(GetLastError(), c.error) << c.what;
    }
  }
  EXPECT_EQ(host::DeviceNotificationCount(), 0u);
  DEV_BROADCAST_DEVICEINTERFACE_A filter = Filter(host::hidDeviceInterfaceClass);
  host::FailRegisterDeviceNotification(true);
  EXPECT_EQ(RegisterDeviceNotificationA(dialog, &filter, 0), nullptr);
  host::FailRegisterDeviceNotification(false);
  HDEVNOTIFY handle = RegisterDeviceNotificationA(dialog, &filter, 0);
  ASSERT_NE(handle, nullptr);
  EXPECT_TRUE(UnregisterDeviceNotification(handle));
  EXPECT_FALSE(UnregisterDeviceNotification(handle));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(DeviceNotificationTest, AnInterfaceBroadcastReachesMatchingRegistrationsAtTheNextPeek) {
  HWND otherDialog = host::CreateHostDialog(MessageRecorder::Procedure);
  HWND allClasses = host::CreateHostDialog(MessageRecorder::Procedure);
  HWND unregistered = host::CreateHostDialog(MessageRecorder::Procedure);
  DEV_BROADCAST_DEVICEINTERFACE_A hid = Filter(host::hidDeviceInterfaceClass);
  DEV_BROADCAST_DEVICEINTERFACE_A other = Filter(otherClass);
  ASSERT_NE(RegisterDeviceNotificationA(dialog, &hid, DEVICE_NOTIFY_WINDOW_HANDLE), nullptr);
  ASSERT_NE(RegisterDeviceNotificationA(otherDialog, &other, DEVICE_NOTIFY_WINDOW_HANDLE), nullptr);
  ASSERT_NE(RegisterDeviceNotificationA(allClasses, &other, DEVICE_NOTIFY_ALL_INTERFACE_CLASSES), nullptr);
  HDEVNOTIFY gone = RegisterDeviceNotificationA(unregistered, &hid, DEVICE_NOTIFY_WINDOW_HANDLE);
  ASSERT_TRUE(UnregisterDeviceNotification(gone));

  const char path[] = "\\\\?\\HID#VID_1209&PID_0001#7&1&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
  EXPECT_EQ(host::BroadcastDeviceInterfaceChange(DBT_DEVICEARRIVAL, host::hidDeviceInterfaceClass, path), 2u);
  EXPECT_TRUE(recorder.received().empty());  // not before the program looks at its queue
  std::vector<std::pair<HWND, std::string>> seen;
  recorder.answer = [&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> INT_PTR {
    if (message != WM_DEVICECHANGE) return FALSE;
    const DEV_BROADCAST_DEVICEINTERFACE_A* record = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(lParam);
    EXPECT_EQ(wParam, static_cast<WPARAM>(DBT_DEVICEARRIVAL));
    EXPECT_EQ(record->dbcc_devicetype, static_cast<DWORD>(DBT_DEVTYP_DEVICEINTERFACE));
    EXPECT_TRUE(IsEqualGUID(record->dbcc_classguid, host::hidDeviceInterfaceClass));
    EXPECT_EQ(record->dbcc_size, offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name) + std::strlen(path) + 1);
    seen.emplace_back(window, record->dbcc_name);
    return TRUE;
  };
  Peek();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].first, dialog);
  EXPECT_EQ(seen[1].first, allClasses);
  EXPECT_EQ(seen[0].second, path);
  // Nothing of it was left in the queue for GetMessageA.
  MSG m;
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(host::RetrievedMessageCount(), 0u);
}

TEST_F(DeviceNotificationTest, ADestroyedRecipientHearsNothing) {
  DEV_BROADCAST_DEVICEINTERFACE_A hid = Filter(host::hidDeviceInterfaceClass);
  ASSERT_NE(RegisterDeviceNotificationA(dialog, &hid, 0), nullptr);
  EXPECT_EQ(host::BroadcastDeviceInterfaceChange(DBT_DEVICEREMOVECOMPLETE, host::hidDeviceInterfaceClass, "x"), 1u);
  ASSERT_TRUE(DestroyWindow(dialog));
  recorder.Clear();
  Peek();
  EXPECT_TRUE(recorder.received().empty());
  EXPECT_EQ(host::BroadcastDeviceInterfaceChange(DBT_DEVICEARRIVAL, host::hidDeviceInterfaceClass, "x"), 0u);
}

TEST_F(DeviceNotificationTest, OtherKindsOfChangeGoToEveryTopLevelWindowRegisteredOrNot) {
  HWND second = host::CreateHostDialog(MessageRecorder::Procedure);
  host::AddHostControl(second, 1, host::ControlClass::Static);
  std::vector<DWORD> types;
  recorder.answer = [&](HWND, UINT message, WPARAM, LPARAM lParam) -> INT_PTR {
    if (message == WM_DEVICECHANGE)
      types.push_back(lParam == 0 ? 0xFFFF : reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam)->dbch_devicetype);
    return TRUE;
  };
  EXPECT_EQ(host::BroadcastDeviceChange(DBT_DEVICEARRIVAL, DBT_DEVTYP_VOLUME), 2u);
  EXPECT_EQ(host::BroadcastDeviceChange(DBT_DEVNODES_CHANGED, 0), 2u);
  Peek();
  EXPECT_EQ(recorder.Lines(),
            (std::vector<std::string>{"WM_DEVICECHANGE(DBT_DEVICEARRIVAL)", "WM_DEVICECHANGE(DBT_DEVICEARRIVAL)",
                                      "WM_DEVICECHANGE(7)", "WM_DEVICECHANGE(7)"}));
  EXPECT_EQ(types, (std::vector<DWORD>{DBT_DEVTYP_VOLUME, DBT_DEVTYP_VOLUME, 0xFFFF, 0xFFFF}));
}

}  // namespace
}  // namespace window_test
