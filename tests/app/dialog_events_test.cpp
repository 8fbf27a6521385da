#include <cstdint>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "device/device_open.h"
#include "device/direct_input.h"
#include "engine/engine_state.h"
#include "host/dinput/call_log.h"
#include "host/dinput/device_registry.h"
#include "host/driver/user_driver.h"
#include "host/window/host_window.h"
#include "settings/test_settings.h"
#include "support/call_log_view.h"
#include "support/program_fixture.h"
#include "support/user_session.h"

namespace {

namespace driver = host::driver;

class DialogEventsTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    DestroyWindow(dialog);
    dialog = nullptr;
  }
  static void Close(HWND dialog) { ASSERT_TRUE(driver::ClickCloseBox(dialog)); }
};

TEST_F(DialogEventsTest, TheDialogStartsFromTheDefaults) {
  AttachWheel();
  UserSession session;
  session.Wait(150).Then([](HWND dialog) {
    struct Text {
      int id;
      const char* text;
    };
    const Text texts[] = {
        {IDC_KP, "5.00"},        {IDC_KI, "0.00"},       {IDC_KD, "0.25"},         {IDC_KD_AVG, "0.90"},
        {IDC_MAX_COUNT, "50"},   {IDC_STEP_TIME, "300"}, {IDC_WHEEL_ANGLE, "900"}, {IDC_SLEEP, "1"},
        {IDC_REPEAT, "1"},       {IDC_MIN_FORCE, "0"},   {IDC_FORCE_MAP, "0:0,10000:10000"},
        {IDC_STATUS, ""},
    };
    for (const Text& t : texts) EXPECT_EQ(driver::Text(dialog, t.id), t.text) << t.id;
    std::vector<std::string> modes = driver::ComboItems(dialog, IDC_MODE);
    ASSERT_EQ(modes.size(), 15u);
    EXPECT_EQ(modes.front(), "Disabled");
    EXPECT_EQ(modes.back(), "Resolution test");
    EXPECT_EQ(driver::ComboSelection(dialog, IDC_MODE), 0);
    EXPECT_EQ(driver::ComboItems(dialog, IDC_DAMPER_TYPE),
              (std::vector<std::string>{"Disabled", "Damper", "Inertia", "Friction"}));
    EXPECT_EQ(driver::ComboItems(dialog, IDC_DEVICE), std::vector<std::string>{"Vantrel Virtual Wheel"});
    EXPECT_EQ(driver::ComboSelection(dialog, IDC_DEVICE), 0);
    struct Bar {
      int id;
      LONG minimum, maximum, position;
    };
    const Bar bars[] = {
        {IDC_SATURATION_X, 1, 10000, 10000}, {IDC_SATURATION_Y, 1, 10000, 10000}, {IDC_COEFFICIENT, 0, 10000, 10000},
        {IDC_OFFSET_X, 0, 20000, 10000},     {IDC_OFFSET_Y, 0, 20000, 10000},     {IDC_DEADBAND, 0, 10000, 0},
        {IDC_RANGE, 1, 100, 100},            {IDC_DAMPER_OFFSET, 0, 20000, 10000}, {IDC_DAMPER_COEFFICIENT, 0, 10000, 5000},
        {IDC_DAMPER_SATURATION, 1, 10000, 10000}, {IDC_DAMPER_DEADBAND, 0, 10000, 0},
    };
    for (const Bar& b : bars) {
      driver::Range range = driver::TrackbarRange(dialog, b.id);
      EXPECT_EQ(range.minimum, b.minimum) << b.id;
      EXPECT_EQ(range.maximum, b.maximum) << b.id;
      EXPECT_EQ(driver::TrackbarPosition(dialog, b.id), b.position) << b.id;
    }
    for (int id : {IDC_ADD_SIN, IDC_ADD_RAND, IDC_ADD_RAND_FORCE, IDC_MIN_FORCE_CHECK, IDC_ALWAYS_UPDATE,
                   IDC_REVERSE_CONSTANT_FORCE, IDC_KILL_FFB, IDC_SHOW_ALL_DEVICES}) {
      EXPECT_FALSE(driver::IsChecked(dialog, id)) << id;
    }
    Close(dialog);
  });
  EXPECT_EQ(session.Run(), 0);
}

TEST_F(DialogEventsTest, ControlsWriteTheirSettings) {
  AttachWheel();
  UserSession session;
  session.Wait(50)
      .Then([](HWND dialog) {
        ASSERT_TRUE(driver::SetCheck(dialog, IDC_ADD_SIN, true));
        ASSERT_TRUE(driver::SetCheck(dialog, IDC_REVERSE_CONSTANT_FORCE, true));
        ASSERT_TRUE(driver::DragTrackbar(dialog, IDC_OFFSET_X, 12500));
        ASSERT_TRUE(driver::DragTrackbar(dialog, IDC_DAMPER_OFFSET, 0));
        ASSERT_TRUE(driver::DragTrackbar(dialog, IDC_RANGE, 150));  // beyond the range: 100
        ASSERT_TRUE(driver::StepTrackbarLine(dialog, IDC_COEFFICIENT, -1));
        ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_DAMPER_TYPE, 3));
      })
      .Then([](HWND dialog) {
        EXPECT_TRUE(testSettings.addSin);
        EXPECT_TRUE(testSettings.reverseConstantForce);
        EXPECT_FALSE(testSettings.addRand);
        EXPECT_EQ(testSettings.springOffsetX, 2500);
        EXPECT_EQ(testSettings.damperOffset, -10000);
        EXPECT_EQ(testSettings.springRange, 100);
        EXPECT_EQ(testSettings.springCoefficient, 9999);
        EXPECT_EQ(testSettings.damperType, 3);
        ASSERT_TRUE(driver::SetCheck(dialog, IDC_ADD_SIN, false));
      })
      .Then([](HWND dialog) {
        EXPECT_FALSE(testSettings.addSin);
        Close(dialog);
      });
  EXPECT_EQ(session.Run(), 0);
}

TEST_F(DialogEventsTest, SelectingAModeRestartsTheTestAndFollowsTheSaturationRange) {
  AttachWheel();
  UserSession session;
  session.Wait(50)
      .Then([](HWND dialog) { ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, 6)); })
      .Then([](HWND dialog) {
        EXPECT_EQ(testSettings.forceMode, ForceMode::WheelWithForce);
        EXPECT_EQ(driver::TrackbarRange(dialog, IDC_SATURATION_X).maximum, 30000);
        ASSERT_TRUE(driver::DragTrackbar(dialog, IDC_SATURATION_X, 20000));
      })
      .Wait(10)
      .Then([](HWND dialog) {
        EXPECT_EQ(testSettings.springSaturationX, 20000);
        testRunCount = 3;
        ASSERT_FALSE(reportRequested);
        ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, 1));
      })
      .Then([](HWND dialog) {
        EXPECT_EQ(testSettings.springSaturationX, 10000);
        EXPECT_EQ(driver::TrackbarRange(dialog, IDC_SATURATION_X).maximum, 10000);
        EXPECT_EQ(driver::TrackbarPosition(dialog, IDC_SATURATION_X), 10000);
        EXPECT_EQ(testRunCount, 0);
      })
      .Then([](HWND dialog) { ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, 5)); })
      .Then([](HWND dialog) {
        EXPECT_EQ(testSettings.springSaturationX, 10000);
        EXPECT_EQ(driver::TrackbarRange(dialog, IDC_SATURATION_X).maximum, 30000);
        Close(dialog);
      });
  EXPECT_EQ(session.Run(), 0);
}

TEST_F(DialogEventsTest, KillFfbOnFocusLossReopensTheSelectedDeviceInForegroundMode) {
  AttachWheel();
  UserSession session;
  size_t from = 0;
  session.Wait(50)
      .Then([&](HWND dialog) {
        from = host::CallLogSize();
        ASSERT_TRUE(driver::ClickButton(dialog, IDC_KILL_FFB));
      })
      .Then([&](HWND dialog) {
        EXPECT_TRUE(testSettings.killFFBOnFocusLoss);
        std::vector<host::CallRecord> levels = CallsOf(host::Method::SetCooperativeLevel, from);
        ASSERT_EQ(levels.size(), 1u);
        EXPECT_EQ(levels[0].flags, static_cast<DWORD>(DISCL_EXCLUSIVE | DISCL_FOREGROUND));
        EXPECT_EQ(CallsOf(host::Method::CreateEffect, from).size(), 5u);
        Close(dialog);
      });
  EXPECT_EQ(session.Run(), 0);
}

TEST_F(DialogEventsTest, OnlyActivationAsksForTheDeviceAgain) {
  AttachWheel();
  UserSession session;
  size_t from = 0;
  session.Wait(200)
      .Then([&](HWND dialog) {
        from = host::CallLogSize();
        driver::SwitchToOtherApplication(dialog);
      })
      .Wait(50)
      .Then([&](HWND dialog) {
        EXPECT_TRUE(CallsOf(host::Method::Acquire, from).empty());
        from = host::CallLogSize();
        driver::SwitchBack(dialog);
      })
      .Wait(50)
      .Then([&](HWND dialog) {
        EXPECT_EQ(CallsOf(host::Method::Acquire, from).size(), 1u);
        from = host::CallLogSize();
        driver::SwitchToOtherApplication(dialog, true);
      })
      .Wait(50)
      .Then([&](HWND dialog) {
        // Minimising reports a non-zero wParam: the device is acquired again.
        EXPECT_EQ(CallsOf(host::Method::Acquire, from).size(), 1u);
        driver::SwitchBack(dialog);
      })
      .Wait(10)
      .Then([](HWND dialog) { Close(dialog); });
  EXPECT_EQ(session.Run(), 0);
}

TEST_F(DialogEventsTest, PluggingAndUnpluggingReEnumerate) {
  host::AttachDevice(host::GameControllerDescription("Pad A", 0x1234, 1, 2));
  host::DeviceId wheel = AttachWheel();
  UserSession session;
  host::DeviceId padC = host::noDevice;
  session.Wait(50)
      .Then([](HWND dialog) { ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_DEVICE, 1)); })
      .Wait(20)
      .Then([&](HWND dialog) {
        EXPECT_EQ(driver::ComboSelection(dialog, IDC_DEVICE), 1);
        padC = driver::PlugDevice(host::GameControllerDescription("Pad C", 0x1234, 3, 1));
        ASSERT_NE(padC, host::noDevice);
      })
      .Wait(20)
      .Then([&](HWND dialog) {
        // The selected wheel is still listed, so it stays open.
        EXPECT_EQ(driver::ComboItems(dialog, IDC_DEVICE),
                  (std::vector<std::string>{"Pad A", "Vantrel Virtual Wheel", "Pad C"}));
        EXPECT_EQ(driver::ComboSelection(dialog, IDC_DEVICE), 1);
        ASSERT_TRUE(driver::UnplugDevice(wheel));
      })
      .Wait(20)
      .Then([&](HWND dialog) {
        // The open wheel is gone: the first device of the new list is opened.
        EXPECT_EQ(driver::ComboItems(dialog, IDC_DEVICE), (std::vector<std::string>{"Pad A", "Pad C"}));
        EXPECT_EQ(driver::ComboSelection(dialog, IDC_DEVICE), 0);
        EXPECT_NE(g_pDevice, nullptr);
        Close(dialog);
      });
  EXPECT_EQ(session.Run(), 0);
}

TEST_F(DialogEventsTest, WithoutNotificationsOnlyShowAllDevicesReEnumerates) {
  AttachWheel();
  host::FailRegisterDeviceNotification(true);
  UserSession session;
  session.Wait(50)
      .Then([](HWND) { driver::PlugDevice(host::KeyboardDescription()); })
      .Wait(20)
      .Then([](HWND dialog) {
        EXPECT_EQ(driver::ComboItems(dialog, IDC_DEVICE).size(), 1u);
        ASSERT_TRUE(driver::ClickButton(dialog, IDC_SHOW_ALL_DEVICES));
      })
      .Wait(20)
      .Then([](HWND dialog) {
        EXPECT_TRUE(testSettings.showAllDevices);
        EXPECT_EQ(driver::ComboItems(dialog, IDC_DEVICE).size(), 2u);
        Close(dialog);
      });
  EXPECT_EQ(session.Run(), 0);
  std::vector<std::string> lines = TraceLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "RegisterDeviceNotification() Failed");
}

TEST_F(DialogEventsTest, PlayLedStartsTheSweep) {
  AttachWheel();
  UserSession session;
  size_t from = 0;
  session.Wait(50)
      .Then([&](HWND dialog) {
        from = host::CallLogSize();
        ASSERT_TRUE(driver::ClickButton(dialog, IDC_PLAY_LED));
      })
      .Wait(30)
      .Then([&](HWND dialog) {
        EXPECT_TRUE(ledSweepActive);
        EXPECT_FALSE(CallsOf(host::Method::Escape, from).empty());
        Close(dialog);
      });
  EXPECT_EQ(session.Run(), 0);
}

}  // namespace
