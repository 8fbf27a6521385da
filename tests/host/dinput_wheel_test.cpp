// What the program's effects do to the virtual wheel: the rim turns, the X axis reads it,
// and the result does not depend on how often the program looks.
#include <cstdlib>
#include <ostream>
#include <vector>

#include <gtest/gtest.h>

#include "host/dinput_test_fixture.h"
#include "sim/virtual_wheel.h"
#include "support/case_name.h"

namespace dinput_test {
namespace {

constexpr LONG centre = 32767;

class WheelTest : public DirectInputTest {
 protected:
  void SetUp() override {
    DirectInputTest::SetUp();
    wheel = host::AttachDevice(host::VirtualWheelDescription());
    ASSERT_NE(wheel, host::noDevice);
    device = OpenAcquired(wheel);
    // Without the wheel's own spring, only the effects move it.
    DIPROPDWORD off{{sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, DIPROPAUTOCENTER_OFF};
    ASSERT_EQ(device->SetProperty(DIPROP_AUTOCENTER, &off.diph), DI_OK);
  }
  void TearDown() override {
    device.Reset();
    DirectInputTest::TearDown();
  }

  LONG X() { return State(device.Get()).lX; }

  host::DeviceId wheel = host::noDevice;
  ComPtr<IDirectInputDevice8A> device;
};

struct PushCase {
  const char* what;
  LONG magnitude;
  DWORD axes;
  LONG dirX;
  LONG dirY;
  int expectedSign;  // of the change in lX; 0: stays within a few counts
};

void PrintTo(const PushCase& c, std::ostream* out) { *out << c.what; }

class ConstantForceDirection : public WheelTest, public testing::WithParamInterface<PushCase> {};

TEST_P(ConstantForceDirection, TurnsTheWheelTheWayDirectInputSays) {
  const PushCase& c = GetParam();
  EXPECT_EQ(X(), centre);
  EffectBlock block;
  ComPtr<IDirectInputEffect> effect =
      Create(device.Get(), GUID_ConstantForce, &block.Constant(c.magnitude, c.axes, c.dirX, c.dirY));
  ASSERT_EQ(effect->Start(1, 0), DI_OK);
  Sleep(300);
  LONG moved = X() - centre;
  if (c.expectedSign == 0) {
    EXPECT_LE(std::abs(moved), 2) << c.what;
  } else {
    EXPECT_GT(moved * c.expectedSign, 1000) << c.what << ": lX moved by " << moved;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pushes, ConstantForceDirection,
    testing::Values(PushCase{"positive on X alone", 6000, 1, 0, 0, -1},
                    PushCase{"negative on X alone", -6000, 1, 0, 0, +1},
                    PushCase{"positive from +X", 6000, 2, 1, 0, -1},
                    PushCase{"positive from -X", 6000, 2, -1, 0, +1},
                    PushCase{"positive from +Y", 6000, 2, 0, 1, 0},
                    PushCase{"positive from +X+Y", 6000, 2, 1, 1, -1}),
    test_support::NamedByWhat());

TEST_F(WheelTest, OnlyTheXShareOfADiagonalForceActs) {
  // The rim sees magnitude * x / |(x, y)|: a 45-degree push is worth 0.707 of a straight one.
  EffectBlock block;
  ComPtr<IDirectInputEffect> effect = Create(device.Get(), GUID_ConstantForce, &block.Constant(6000, 2, 1, 1));
  ASSERT_EQ(effect->Start(1, 0), DI_OK);
  sim::VirtualWheel* rim = host::VirtualWheelOf(wheel);
  ASSERT_NE(rim, nullptr);
  double diagonal = rim->MotorTorque();
  block.directions[1] = 0;
  ASSERT_EQ(effect->SetParameters(&block.effect, DIEP_DIRECTION), DI_OK);
  double straight = host::VirtualWheelOf(wheel)->MotorTorque();
  ASSERT_LT(straight, 0.0);
  EXPECT_NEAR(diagonal / straight, 0.70710678, 1e-3);
}

TEST_F(WheelTest, TheWheelEndsInTheSamePlaceHoweverOftenItIsRead) {
  host::DeviceId second = host::AttachDevice(host::VirtualWheelDescription());
  ComPtr<IDirectInputDevice8A> other = OpenAcquired(second, DISCL_EXCLUSIVE | DISCL_BACKGROUND);
  DIPROPDWORD off{{sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, DIPROPAUTOCENTER_OFF};
  ASSERT_EQ(other->SetProperty(DIPROP_AUTOCENTER, &off.diph), DI_OK);
  EffectBlock block;
  ComPtr<IDirectInputEffect> often = Create(device.Get(), GUID_ConstantForce, &block.Constant(-4000));
  ComPtr<IDirectInputEffect> once = Create(other.Get(), GUID_ConstantForce, &block.Constant(-4000));
  ASSERT_EQ(often->Start(1, 0), DI_OK);
  ASSERT_EQ(once->Start(1, 0), DI_OK);
  std::vector<LONG> path;
  for (int tick = 0; tick < 400; ++tick) {
    Sleep(1);
    path.push_back(X());
  }
  LONG read = State(other.Get()).lX;
  EXPECT_EQ(X(), read);
  EXPECT_GT(read, centre + 1000);
  EXPECT_GT(path.back(), path.front()) << "the rim kept turning";
}

TEST_F(WheelTest, AFiniteEffectStopsPushingWhenItEnds) {
  EffectBlock block;
  block.Constant(5000);
  block.effect.dwDuration = 100000;  // 100 ms
  ComPtr<IDirectInputEffect> effect = Create(device.Get(), GUID_ConstantForce, &block.effect);
  ASSERT_EQ(effect->Start(1, 0), DI_OK);
  Sleep(99);
  EXPECT_LT(host::VirtualWheelOf(wheel)->MotorTorque(), 0.0);
  Sleep(1);
  EXPECT_EQ(host::VirtualWheelOf(wheel)->MotorTorque(), 0.0);
}

TEST_F(WheelTest, GainsScaleTheTorque) {
  EffectBlock block;
  ComPtr<IDirectInputEffect> effect = Create(device.Get(), GUID_ConstantForce, &block.Constant(5000));
  ASSERT_EQ(effect->Start(1, 0), DI_OK);
  double full = host::VirtualWheelOf(wheel)->MotorTorque();
  ASSERT_LT(full, 0.0);
  block.effect.dwGain = 5000;
  ASSERT_EQ(effect->SetParameters(&block.effect, DIEP_GAIN), DI_OK);
  EXPECT_NEAR(host::VirtualWheelOf(wheel)->MotorTorque(), full / 2, 1e-9);
  DIPROPDWORD gain{{sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, 5000};
  ASSERT_EQ(device->SetProperty(DIPROP_FFGAIN, &gain.diph), DI_OK);
  EXPECT_NEAR(host::VirtualWheelOf(wheel)->MotorTorque(), full / 4, 1e-9);
  ASSERT_EQ(device->SendForceFeedbackCommand(DISFFC_SETACTUATORSOFF), DI_OK);
  EXPECT_EQ(host::VirtualWheelOf(wheel)->MotorTorque(), 0.0);
}

TEST_F(WheelTest, ASpringPullsTowardItsOffsetOnX) {
  EffectBlock block;
  // X pulls toward +half of the range; the Y block would pull the other way if it acted.
  block.Condition(MakeCondition(5000, 10000), 2, 2);
  block.conditions[1] = MakeCondition(-5000, 10000);
  ComPtr<IDirectInputEffect> spring = Create(device.Get(), GUID_Spring, &block.effect);
  ASSERT_EQ(spring->Start(1, 0), DI_OK);
  Sleep(3000);
  LONG x = X();
  EXPECT_GT(x, centre + 8000) << "toward three quarters of the range";
  EXPECT_LT(x, centre + 24000);
  sim::WheelEffect played = host::VirtualWheelOf(wheel)->Effect(0);
  EXPECT_EQ(played.kind, sim::EffectKind::Spring);
  EXPECT_EQ(played.condition.offset, 5000) << "the X block";
}

TEST_F(WheelTest, AutoCentrePullsBackOnlyWhenOn) {
  sim::VirtualWheel* rim = host::VirtualWheelOf(wheel);
  rim->SetHandTorque(1.0);
  Sleep(200);
  rim = host::VirtualWheelOf(wheel);
  rim->SetHandTorque(0.0);
  ASSERT_GT(X(), centre + 2000) << "the hand turned it";
  EXPECT_EQ(host::VirtualWheelOf(wheel)->MotorTorque(), 0.0) << "nothing pulls it back while auto-centre is off";

  DIPROPDWORD on{{sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, DIPROPAUTOCENTER_ON};
  ASSERT_EQ(device->SetProperty(DIPROP_AUTOCENTER, &on.diph), DI_OK);
  EXPECT_LT(host::VirtualWheelOf(wheel)->MotorTorque(), 0.0) << "the wheel's own spring pulls toward the centre";
}

TEST_F(WheelTest, PullingThePlugSilencesTheMotor) {
  EffectBlock block;
  ComPtr<IDirectInputEffect> effect = Create(device.Get(), GUID_ConstantForce, &block.Constant(8000));
  ASSERT_EQ(effect->Start(1, 0), DI_OK);
  ASSERT_LT(host::VirtualWheelOf(wheel)->MotorTorque(), 0.0);
  ASSERT_TRUE(host::DetachDevice(wheel));
  EXPECT_EQ(host::VirtualWheelOf(wheel)->MotorTorque(), 0.0);
}

TEST_F(WheelTest, LosingFocusStopsTheForces) {
  EffectBlock block;
  ComPtr<IDirectInputEffect> effect = Create(device.Get(), GUID_ConstantForce, &block.Constant(8000));
  ASSERT_EQ(effect->Start(1, 0), DI_OK);
  host::SetApplicationActive(false);
  EXPECT_EQ(host::VirtualWheelOf(wheel)->MotorTorque(), 0.0);
  host::SetApplicationActive(true);
  ASSERT_EQ(device->Acquire(), DI_OK);
  ASSERT_EQ(effect->Start(1, 0), DI_OK);
  EXPECT_LT(host::VirtualWheelOf(wheel)->MotorTorque(), 0.0);
}

}  // namespace
}  // namespace dinput_test
