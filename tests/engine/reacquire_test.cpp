// After the device is acquired again, its effects' running state is unknown: an Acquire that
// succeeds on a device that stayed acquired leaves them playing. A test that ends on such a
// tick sets "Disabled" without a refresh, so only an explicit Stop takes its force away.
#include <cmath>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "host/dinput/fault_injection.h"
#include "host/driver/user_driver.h"
#include "sim/wheel_parameters.h"
#include "support/measurement_fixture.h"
#include "support/program_torque.h"

namespace {

namespace driver = host::driver;

constexpr int minForceMode = 10;
// A wheel that never moves ramps for 2000 ms of kick, 299 of rest and 80 levels of 201 ms:
// from here on the ramp is near 4000 and about to end.
constexpr uint32_t nearTheEndMs = 18000;
// Idle moments over which the cause keeps acting: past the end of the run, however slowly
// the re-acquires (100 ms each) let it go.
constexpr int disturbedIdleMoments = 200;

struct ReacquireCause {
  const char* name;
  // Runs at each of the idle moments near the end of the run, numbered from 0.
  std::function<void(HWND dialog, int moment)> disturb;
};

void PrintTo(const ReacquireCause& cause, std::ostream* out) { *out << cause.name; }

class ReacquireTest : public MeasurementTest, public testing::WithParamInterface<ReacquireCause> {};

TEST_P(ReacquireTest, ATestEndingOnAReacquireTickLeavesNoForce) {
  const ReacquireCause& cause = GetParam();
  // Friction above the ramp's 40 %: the wheel never moves and the ramp runs to its end.
  sim::WheelParameters parameters;
  parameters.staticFriction = 0.5 * parameters.maxMotorTorque;
  parameters.coulombFriction = parameters.staticFriction;
  host::DeviceId wheel = AttachWheelWith(parameters);
  double torqueNearTheEnd = 0;
  double torqueAfterTheEnd = -1;
  UserSession session;
  session.Wait(50)
      .Then([](HWND dialog) {
        // Every tick sends the force, so every send can be made to fail.
        ASSERT_TRUE(driver::SetCheck(dialog, IDC_ALWAYS_UPDATE, true));
        ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, minForceMode));
      })
      .Wait(nearTheEndMs)
      .Then([&](HWND) { torqueNearTheEnd = ProgramTorque(*host::VirtualWheelOf(wheel)); });
  for (int moment = 0; moment < disturbedIdleMoments; ++moment) {
    session.Then([&cause, moment](HWND dialog) { cause.disturb(dialog, moment); });
  }
  session.WaitUntil(ShowsDisabled, 30000)
      .Wait(300)
      .Then([&](HWND dialog) {
        EXPECT_TRUE(ShowsDisabled(dialog));
        torqueAfterTheEnd = ProgramTorque(*host::VirtualWheelOf(wheel));
        host::ClearFaults();
        driver::ClickCloseBox(dialog);
      });
  ASSERT_EQ(session.Run(), 0);
  EXPECT_GT(std::abs(torqueNearTheEnd), 0.5) << "the ramp was not pushing: the case proves nothing";
  EXPECT_EQ(torqueAfterTheEnd, 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    Causes, ReacquireTest,
    testing::Values(
        // Every tick is a re-acquire: the window is activated before each.
        ReacquireCause{.name = "WindowActivated",
                       .disturb =
                           [](HWND dialog, int) {
                             driver::SwitchToOtherApplication(dialog);
                             driver::SwitchBack(dialog);
                           }},
        // Every other tick fails its read; the ticks between re-acquire and compute.
        ReacquireCause{.name = "ReadFailed",
                       .disturb =
                           [](HWND, int moment) {
                             if (moment % 2 == 0) host::FailNextCalls(host::Method::GetDeviceState, 1, E_FAIL);
                           }},
        // Every tick's send fails; the next one re-acquires and computes.
        ReacquireCause{.name = "SendFailed",
                       .disturb = [](HWND, int) { host::FailNextCalls(host::Method::SetParameters, 1, E_FAIL); }},
        // The Stop at the end of the run fails: it is tried again.
        ReacquireCause{.name = "StopFailed",
                       .disturb =
                           [](HWND, int moment) {
                             if (moment == 0) host::FailNextCalls(host::Method::Stop, 1, DIERR_INPUTLOST);
                           }}),
    [](const testing::TestParamInfo<ReacquireCause>& info) { return std::string(info.param.name); });

}  // namespace
