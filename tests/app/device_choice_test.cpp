// Which device the program has open after the user picks one in the device combo, ticks
// "Kill FFB when focus lost", or a device listed ahead of the chosen one leaves. Two devices
// that differ in every respect tell it: the open one is the one the tick reads.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "host/dinput/call_log.h"
#include "host/dinput/device_registry.h"
#include "host/driver/user_driver.h"
#include "support/call_log_view.h"
#include "support/program_fixture.h"
#include "support/user_session.h"

namespace {

namespace driver = host::driver;

constexpr DWORD background = DISCL_EXCLUSIVE | DISCL_BACKGROUND;
constexpr DWORD foreground = DISCL_EXCLUSIVE | DISCL_FOREGROUND;

// What the program did with the devices from one point of the call log on.
struct DeviceTraffic {
  std::vector<GUID> created;           // CreateDevice, by instance GUID
  std::vector<DWORD> cooperation;      // SetCooperativeLevel flags
  std::vector<host::DeviceId> read;    // the device of each GetDeviceState
};

DeviceTraffic TrafficSince(size_t from) {
  DeviceTraffic traffic;
  for (const host::CallRecord& r : CallsSince(from)) {
    if (r.method == host::Method::CreateDevice) traffic.created.push_back(r.guid);
    if (r.method == host::Method::SetCooperativeLevel) traffic.cooperation.push_back(r.flags);
    if (r.method == host::Method::GetDeviceState) traffic.read.push_back(r.device);
  }
  return traffic;
}

// The one device every read went to; noDevice when there was no read or more than one device.
host::DeviceId OnlyDeviceRead(const DeviceTraffic& traffic) {
  if (traffic.read.empty()) return host::noDevice;
  for (host::DeviceId id : traffic.read) {
    if (id != traffic.read.front()) return host::noDevice;
  }
  return traffic.read.front();
}

class DeviceChoiceTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    DestroyWindow(dialog);
    dialog = nullptr;
  }
};

TEST_F(DeviceChoiceTest, TheChosenDeviceIsOpenAndKillFfbReopensThatOne) {
  const host::DeviceId pad = host::AttachDevice(host::GameControllerDescription("Pad A", 0x1234, 0x0001, 1));
  const host::DeviceId wheel = AttachWheel();
  struct Step {
    const char* what;
    std::function<bool(HWND)> act;
    host::DeviceId open;
    DWORD cooperation;
  };
  const std::vector<Step> steps = {
      {"at start", nullptr, pad, background},
      {"the wheel chosen", [](HWND d) { return driver::ChooseComboItem(d, IDC_DEVICE, 1); }, wheel, background},
      {"Kill FFB ticked", [](HWND d) { return driver::ClickButton(d, IDC_KILL_FFB); }, wheel, foreground},
      {"Pad A chosen", [](HWND d) { return driver::ChooseComboItem(d, IDC_DEVICE, 0); }, pad, foreground},
      {"Kill FFB unticked", [](HWND d) { return driver::ClickButton(d, IDC_KILL_FFB); }, pad, background},
  };
  std::vector<DeviceTraffic> traffic(steps.size());
  std::vector<int> selection(steps.size(), -1);
  UserSession session;
  for (size_t i = 0; i < steps.size(); ++i) {
    auto from = std::make_shared<size_t>(0);
    session
        .Then([&, i, from](HWND dialog) {
          if (!steps[i].act) return;  // the start: the log from its beginning
          *from = host::CallLogSize();
          ASSERT_TRUE(steps[i].act(dialog)) << steps[i].what;
        })
        .Wait(300)
        .Then([&, i, from](HWND dialog) {
          traffic[i] = TrafficSince(*from);
          selection[i] = driver::ComboSelection(dialog, IDC_DEVICE);
        });
  }
  session.Then([](HWND dialog) { driver::ClickCloseBox(dialog); });
  ASSERT_EQ(session.Run(), 0);

  for (size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE(steps[i].what);
    const DeviceTraffic& t = traffic[i];
    ASSERT_EQ(t.created.size(), 1u) << "every step opens the device once";
    EXPECT_EQ(host::FindDevice(t.created[0]), steps[i].open);
    EXPECT_EQ(t.cooperation, std::vector<DWORD>{steps[i].cooperation});
    EXPECT_EQ(OnlyDeviceRead(t), steps[i].open);
    EXPECT_EQ(selection[i], steps[i].open == wheel ? 1 : 0);
  }
}

// The list shrinks ahead of the chosen wheel: the selection moves to the wheel's new place
// and the wheel stays the device in use, rather than whatever now sits at its old index.
TEST_F(DeviceChoiceTest, ADeviceLeavingAheadOfTheChosenOneMovesTheSelectionNotTheDevice) {
  const host::DeviceId pad = host::AttachDevice(host::GameControllerDescription("Pad A", 0x1234, 0x0001, 1));
  const host::DeviceId wheel = AttachWheel();
  host::AttachDevice(host::GameControllerDescription("Pad C", 0x1234, 0x0003, 1));
  size_t from = 0;
  DeviceTraffic traffic;
  std::vector<std::string> items;
  int selection = -1;
  UserSession session;
  session.Wait(200)
      .Then([](HWND dialog) { ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_DEVICE, 1)); })
      .Wait(300)
      .Then([&](HWND) {
        from = host::CallLogSize();
        ASSERT_TRUE(driver::UnplugDevice(pad));
      })
      .Wait(300)
      .Then([&](HWND dialog) {
        traffic = TrafficSince(from);
        items = driver::ComboItems(dialog, IDC_DEVICE);
        selection = driver::ComboSelection(dialog, IDC_DEVICE);
        driver::ClickCloseBox(dialog);
      });
  ASSERT_EQ(session.Run(), 0);
  EXPECT_EQ(items, (std::vector<std::string>{"Vantrel Virtual Wheel", "Pad C"}));
  EXPECT_EQ(selection, 0);
  ASSERT_EQ(traffic.created.size(), 1u);
  EXPECT_EQ(host::FindDevice(traffic.created[0]), wheel);
  EXPECT_EQ(OnlyDeviceRead(traffic), wheel);
}

}  // namespace
