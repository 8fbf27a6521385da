// The kick that opens every measurement: a negative constant force growing by 50 a tick to
// -2000, held until the wheel has moved on two readings or two seconds have passed. A
// negative magnitude along +X turns the wheel toward +X.
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/control_ids.h"
#include "device/device_open.h"
#include "host/dinput/call_log.h"
#include "host/dinput/device_registry.h"
#include "host/driver/user_driver.h"
#include "sim/virtual_wheel.h"
#include "support/call_log_view.h"
#include "support/measurement_fixture.h"

namespace {

namespace driver = host::driver;

constexpr int stepTestMode = 11;

struct SentForce {
  DWORD timeMs;
  LONG magnitude;
};

std::vector<SentForce> ConstantForcesSince(size_t from) {
  std::vector<SentForce> sent;
  for (const host::CallRecord& r : CallsOf(host::Method::SetParameters, from)) {
    if (r.effect != effectSlotConstantForce) continue;
    DICONSTANTFORCE force;
    std::memcpy(&force, r.effectParams.typeSpecific, sizeof(force));
    sent.push_back({r.timeMs, force.lMagnitude});
  }
  return sent;
}

using KickTest = MeasurementTest;

// A wheel that never moves feels the whole kick: -50, -100, ... one step a tick, -2000 from
// the 40th tick, and nothing new until two seconds are up.
TEST_F(KickTest, GrowsByFiftyATickToMinusTwoThousandAndHoldsForTwoSeconds) {
  const host::DeviceId wheel = host::AttachDevice(host::GameControllerDescription("Scripted Wheel", 0x1209, 0x0002, 2));
  ASSERT_TRUE(host::SetAxisValue(wheel, 0, 32768));
  size_t from = 0;
  UserSession session;
  session.Wait(50)
      .Then([&](HWND dialog) {
        from = host::CallLogSize();
        ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, stepTestMode));
      })
      .Wait(2500)
      .Then([](HWND dialog) { driver::ClickCloseBox(dialog); });
  ASSERT_EQ(session.Run(), 0);
  std::vector<SentForce> sent = ConstantForcesSince(from);
  ASSERT_GT(sent.size(), 40u);
  for (size_t k = 0; k < 40; ++k) {
    EXPECT_EQ(sent[k].magnitude, -50 * static_cast<LONG>(k + 1)) << "tick " << k + 1;
    EXPECT_EQ(sent[k].timeMs - sent[0].timeMs, k) << "tick " << k + 1;
  }
  // The next force is the centring's, once the kick's two seconds are over.
  EXPECT_NE(sent[40].magnitude, -2000);
  EXPECT_GE(sent[40].timeMs - sent[0].timeMs, 2000u);
  EXPECT_LE(sent[40].timeMs - sent[0].timeMs, 2002u);
}

// On the virtual wheel the kick breaks the wheel free toward +X (a growing angle), and ends
// as soon as the reading has changed twice.
TEST_F(KickTest, TurnsTheWheelTowardPositiveX) {
  const host::DeviceId wheel = AttachWheel();
  double start = 0;
  std::vector<double> angles;
  UserSession session;
  session.Wait(50).Then([&](HWND dialog) {
    start = host::VirtualWheelOf(wheel)->Angle();
    ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, stepTestMode));
  });
  for (int ms = 0; ms < 200; ++ms) {
    session.Then([&](HWND) { angles.push_back(host::VirtualWheelOf(wheel)->Angle()); }).Wait(1);
  }
  session.Then([](HWND dialog) { driver::ClickCloseBox(dialog); });
  ASSERT_EQ(session.Run(), 0);
  double firstMove = 0;
  for (double angle : angles) {
    if (angle != start) {
      firstMove = angle - start;
      break;
    }
  }
  EXPECT_GT(firstMove, 0.0) << "the kick turned the wheel toward -X, or not at all";
}

}  // namespace
