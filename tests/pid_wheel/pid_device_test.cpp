// The wheel's force-feedback device driven with report bytes, in the order Wine's DirectInput
// sends them: acquire (reset, gain), then per effect the pool handshake, the type-specific
// report, the envelope and Set Effect, then Start.
#include "pid_wheel/pid_device.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "pid_wheel/direction.h"
#include "pid_wheel/report_traffic.h"

namespace {

using pid_wheel::EffectType;
using pid_wheel::PidDevice;
using pid_wheel_test::Direction;
using pid_wheel_test::Play;
using pid_wheel_test::Traffic;

constexpr Direction out = Direction::Output;
constexpr Direction setFeature = Direction::SetFeature;
constexpr Direction getFeature = Direction::GetFeature;
constexpr Direction input = Direction::Input;

// The device's flags while it runs normally: safety switch, override switch and power on,
// actuators enabled.
constexpr uint8_t running = 0x1E;

const std::vector<Traffic> acquire = {
    {out, "06 04", "device control: reset"},
    {out, "07 ff", "device gain 10000"},
};

const std::vector<Traffic> createConstantForce = {
    {setFeature, "09 01", "create new effect: constant force"},
    {getFeature, "0a 01 01", "block load: block 1, success"},
    {out, "04 01 00 00", "constant force: magnitude 0"},
    {out, "02 01 00 00 00 00 00 00 00 00", "envelope: none"},
    {out, "01 01 01 ff ff ff ff ff 04 28 23 00 00", "set effect: infinite, gain 255, direction 90 degrees"},
};

const std::vector<Traffic> createSpring = {
    {setFeature, "09 02", "create new effect: spring"},
    {getFeature, "0a 02 01", "block load: block 2, success"},
    {out, "03 02 00 b8 0b 10 27 10 27 10 27 10 27 00 00", "condition X: offset 3000, coefficients and saturations full"},
    {out, "03 02 01 00 00 00 00 00 00 00 00 00 00 00 00", "condition Y: zero"},
    {out, "02 02 00 00 00 00 00 00 00 00", "envelope: none"},
    {out, "01 02 02 ff ff ff ff ff 04 28 23 00 00", "set effect: spring, infinite"},
};

std::vector<Traffic> Join(std::initializer_list<std::vector<Traffic>> parts) {
  std::vector<Traffic> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(PidDevice, TheProgramsEffectsReachTheWheel) {
  PidDevice device;
  Play(device, Join({acquire, createConstantForce, createSpring,
                     {
                         {out, "04 01 88 13", "constant force: magnitude 5000"},
                         {out, "05 01 01 ff", "start block 1 until stopped"},
                         {out, "05 02 01 ff", "start block 2 until stopped"},
                     }}));

  const sim::WheelEffect constant = device.Wheel().Effect(0);
  EXPECT_EQ(constant.kind, sim::EffectKind::ConstantForce);
  EXPECT_TRUE(constant.playing);
  EXPECT_EQ(constant.magnitude, 5000);
  EXPECT_DOUBLE_EQ(constant.gain, 1.0);

  const sim::WheelEffect spring = device.Wheel().Effect(1);
  EXPECT_EQ(spring.kind, sim::EffectKind::Spring);
  EXPECT_TRUE(spring.playing);
  EXPECT_EQ(spring.condition.offset, 3000);
  EXPECT_EQ(spring.condition.positiveCoefficient, 10000);
  EXPECT_EQ(spring.condition.negativeCoefficient, 10000);
  EXPECT_EQ(spring.condition.positiveSaturation, 10000);
  EXPECT_EQ(spring.condition.negativeSaturation, 10000);
  EXPECT_EQ(spring.condition.deadBand, 0);

  const pid_wheel::EffectBlock& block = device.Block(2);
  EXPECT_EQ(block.type, EffectType::Spring);
  EXPECT_EQ(block.durationMs, pid_wheel::infiniteDuration);
  EXPECT_EQ(block.direction[0], 9000);
  EXPECT_EQ(block.conditions[0].offset, 3000);
  EXPECT_EQ(block.conditions[1].positiveCoefficient, 0);
  EXPECT_EQ(block.loopCount, 255);

  EXPECT_EQ(device.DeviceGain(), 255);
  EXPECT_DOUBLE_EQ(device.Wheel().Parameters().deviceGain, 1.0);
}

TEST(PidDevice, TellsTheHostWhichEffectsStartedAndStoppedBeforeTheWheelsPosition) {
  PidDevice device;
  Play(device, Join({acquire, createConstantForce,
                     {
                         {input, "02 1e 00", "state after the reset: running, no effect"},
                         {input, "01 ff 7f ff 7f 00 00 00", "the wheel at rest in the middle"},
                         {out, "05 01 01 ff", "start block 1"},
                         {input, "02 3e 01", "state: block 1 playing"},
                         {input, "01 ff 7f ff 7f 00 00 00", "the wheel"},
                         {out, "05 01 01 ff", "start it again: no change to tell"},
                         {input, "01 ff 7f ff 7f 00 00 00", "the wheel"},
                         {out, "06 05", "pause"},
                         {input, "02 1f 00", "state: paused"},
                         {out, "06 06", "continue"},
                         {out, "06 02", "disable actuators"},
                         {input, "02 1c 00", "state: running, actuators off"},
                         {out, "06 01", "enable actuators"},
                         {out, "06 03", "stop all"},
                         {input, "02 1e 01", "state: block 1 stopped"},
                         {input, "01 ff 7f ff 7f 00 00 00", "the wheel"},
                     }}));
}

struct DirectionCase {
  const char* what;
  std::string setEffect;
  int16_t magnitude;
  int32_t onTheRim;
};

// Little-endian, as in a report.
std::string Int16Hex(int16_t value) {
  char bytes[8];
  std::snprintf(bytes, sizeof bytes, "%02x %02x", value & 0xFF, (value >> 8) & 0xFF);
  return bytes;
}

class PidConstantForceDirection : public testing::TestWithParam<DirectionCase> {};

// Wine writes DirectInput's polar angle (0 toward -Y, 9000 toward +X); the rim takes the X
// share. One-axis effects always come as 9000 with the sign in the magnitude.
TEST_P(PidConstantForceDirection, TheRimTakesTheXShare) {
  const DirectionCase& c = GetParam();
  PidDevice device;
  Play(device, Join({acquire, createConstantForce,
                     {
                         {out, c.setEffect, "set effect"},
                         {out, "04 01 " + Int16Hex(c.magnitude), "constant force"},
                     }}));
  EXPECT_EQ(device.Wheel().Effect(0).magnitude, c.onTheRim) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PidConstantForceDirection,
    testing::Values(
        DirectionCase{"+X", "01 01 01 ff ff ff ff ff 04 28 23 00 00", 5000, 5000},
        DirectionCase{"+X, negative magnitude", "01 01 01 ff ff ff ff ff 04 28 23 00 00", -10000, -10000},
        DirectionCase{"-X", "01 01 01 ff ff ff ff ff 04 78 69 00 00", 5000, -5000},
        DirectionCase{"-Y: nothing along X", "01 01 01 ff ff ff ff ff 04 00 00 00 00", 5000, 0},
        DirectionCase{"+Y: nothing along X", "01 01 01 ff ff ff ff ff 04 50 46 00 00", 5000, 0},
        DirectionCase{"45 degrees", "01 01 01 ff ff ff ff ff 04 94 11 00 00", 5000, 3536},
        DirectionCase{"(1, 1) as Wine writes it: 135 degrees", "01 01 01 ff ff ff ff ff 04 bc 34 00 00", 10000, 7071},
        DirectionCase{"no direction: along the rim", "01 01 01 ff ff ff ff ff 00 00 00 00 00", 5000, 5000}));

TEST(PidDevice, ConditionsActOnTheRimThroughTheXAxisBlock) {
  PidDevice device;
  Play(device, Join({acquire, createConstantForce, createSpring,
                     {
                         {out, "03 02 01 e8 03 88 13 88 13 10 27 10 27 64 00", "condition Y: offset 1000"},
                         {out, "03 02 00 18 fc 10 27 e8 03 d0 07 a0 0f 2c 01",
                          "condition X: offset -1000, coefficients 10000/1000, saturations 2000/4000, dead band 300"},
                     }}));
  const sim::Condition& x = device.Wheel().Effect(1).condition;
  EXPECT_EQ(x.offset, -1000);
  EXPECT_EQ(x.positiveCoefficient, 10000);
  EXPECT_EQ(x.negativeCoefficient, 1000);
  EXPECT_EQ(x.positiveSaturation, 2000);
  EXPECT_EQ(x.negativeSaturation, 4000);
  EXPECT_EQ(x.deadBand, 300);
  EXPECT_EQ(device.Block(2).conditions[1].offset, 1000);
}

TEST(PidDevice, GainsScaleFrom255) {
  PidDevice device;
  Play(device, Join({acquire, createConstantForce,
                     {
                         {out, "01 01 01 ff ff ff ff 80 04 28 23 00 00", "set effect: gain 128"},
                         {out, "07 40", "device gain 64"},
                     }}));
  EXPECT_DOUBLE_EQ(device.Wheel().Effect(0).gain, 128.0 / 255.0);
  EXPECT_DOUBLE_EQ(device.Wheel().Parameters().deviceGain, 64.0 / 255.0);
  EXPECT_EQ(device.DeviceGain(), 0x40);
}

TEST(PidDevice, TheDeviceManagesThePool) {
  PidDevice device;
  Play(device, acquire);
  for (int index = 1; index <= pid_wheel::maxEffectBlocks; ++index) {
    ASSERT_TRUE(device.SetFeatureReport(pid_wheel_test::Bytes("09 03")));
    uint8_t answer[pid_wheel::featureReportLength] = {};
    ASSERT_EQ(device.GetFeatureReport(pid_wheel::block_load::id, answer), pid_wheel::block_load::length);
    EXPECT_EQ(answer[1], index);
    EXPECT_EQ(answer[2], pid_wheel::block_load::success);
  }
  Play(device, {
                   {setFeature, "09 01", "create a 33rd effect"},
                   {getFeature, "0a 00 02", "block load: full"},
                   {out, "08 07", "block free 7"},
                   {setFeature, "09 01", "create"},
                   {getFeature, "0a 07 01", "block load: the freed block"},
                   {setFeature, "09 06", "create an effect type the wheel has not got"},
                   {getFeature, "0a 00 03", "block load: error"},
                   {out, "08 07", "block free 7"},
                   {out, "08 07", "block free 7 again: nothing to free, no harm"},
                   {out, "04 07 88 13", "constant force on the freed block", false},
                   {out, "06 04", "reset frees every block"},
                   {setFeature, "09 05", "create friction"},
                   {getFeature, "0a 01 01", "block load: block 1"},
                   {getFeature, "0b 20 00 20 01", "pool: 32 blocks, 32 at once, device-managed"},
               });
  EXPECT_EQ(device.Block(1).type, EffectType::Friction);
  EXPECT_FALSE(device.Block(2).allocated);
  uint8_t tooShort[2] = {};
  EXPECT_EQ(device.GetFeatureReport(pid_wheel::block_load::id, tooShort), 0u);
  uint8_t buffer[pid_wheel::featureReportLength] = {};
  EXPECT_EQ(device.GetFeatureReport(pid_wheel::create_new_effect::id, buffer), 0u) << "set-only report";
}

TEST(PidDevice, RefusesReportsItCannotTakeAndKeepsWhatItHad) {
  PidDevice device;
  Play(device, Join({acquire, createConstantForce,
                     {
                         {out, "04 01 88 13", "constant force 5000"},
                         {out, "05 01 01 ff", "start"},
                         {out, "", "empty report", false},
                         {out, "0c 01", "unknown report id", false},
                         {out, "04 01 88", "constant force one byte short", false},
                         {out, "04 01 88 13 00", "constant force one byte long", false},
                         {out, "04 02 10 27", "constant force on a block never created", false},
                         {out, "04 00 10 27", "block 0", false},
                         {out, "04 21 10 27", "block 33", false},
                         {out, "04 01 11 27", "magnitude 10001", false},
                         {out, "04 01 ef d8", "magnitude -10001", false},
                         {out, "03 01 02 00 00 00 00 00 00 00 00 00 00 00 00", "condition for a third axis", false},
                         {out, "03 01 00 00 00 00 00 00 00 11 27 00 00 00 00", "saturation 10001", false},
                         {out, "01 01 06 ff ff ff ff ff 04 28 23 00 00", "set effect: effect type 6", false},
                         {out, "01 01 00 ff ff ff ff ff 04 28 23 00 00", "set effect: effect type 0", false},
                         {out, "02 01 11 27 00 00 00 00 00 00", "envelope: attack level 10001", false},
                         {out, "05 01 04 01", "operation 4", false},
                         {out, "06 07", "device control 7", false},
                         {out, "06 00", "device control 0", false},
                         {out, "08 00", "block free 0", false},
                         {out, "08 21", "block free 33", false},
                         {setFeature, "0a 01 01", "block load is not set by the host", false},
                         {setFeature, "09 01 00", "create new effect one byte long", false},
                     }}));
  const sim::WheelEffect constant = device.Wheel().Effect(0);
  EXPECT_EQ(constant.kind, sim::EffectKind::ConstantForce);
  EXPECT_EQ(constant.magnitude, 5000);
  EXPECT_TRUE(constant.playing);
  EXPECT_EQ(device.Block(1).direction[0], 9000);
  EXPECT_EQ(device.Block(1).conditions[0].positiveSaturation, 0);
}

TEST(PidDevice, DeviceControlGovernsWhatTheMotorPlays) {
  PidDevice device;
  Play(device, Join({acquire, createConstantForce, createSpring,
                     {{out, "05 01 01 ff", "start block 1"}, {out, "05 02 01 ff", "start block 2"}}}));
  struct Step {
    const char* command;
    const char* what;
    bool block1Playing;
    bool block1OnTheRim;
    bool block2OnTheRim;
  };
  const Step steps[] = {
      {"06 05", "pause: the blocks keep playing, the motor holds off", true, false, false},
      {"06 06", "continue", true, true, true},
      {"06 02", "disable actuators", true, false, false},
      {"06 01", "enable actuators", true, true, true},
      {"05 02 02 ff", "start block 2 solo stops block 1", false, false, true},
      {"05 01 01 ff", "start block 1 again", true, true, true},
      {"06 03", "stop all", false, false, false},
  };
  for (const Step& step : steps) {
    ASSERT_TRUE(device.WriteOutputReport(pid_wheel_test::Bytes(step.command))) << step.what;
    EXPECT_EQ(device.Block(1).playing, step.block1Playing) << step.what;
    EXPECT_EQ(device.Wheel().Effect(0).playing, step.block1OnTheRim) << step.what;
    EXPECT_EQ(device.Wheel().Effect(1).playing, step.block2OnTheRim) << step.what;
  }
  EXPECT_TRUE(device.Block(1).allocated) << "stop all keeps the blocks";

  ASSERT_TRUE(device.WriteOutputReport(pid_wheel_test::Bytes("05 01 01 ff")));
  ASSERT_TRUE(device.WriteOutputReport(pid_wheel_test::Bytes("06 04")));
  EXPECT_FALSE(device.Block(1).allocated) << "reset frees the blocks";
  EXPECT_EQ(device.Wheel().Effect(0).kind, sim::EffectKind::None);
  EXPECT_EQ(device.Wheel().Effect(1).kind, sim::EffectKind::None);
}

// Angle of the rim after `seconds` from rest at `start` radians.
double AngleAfter(PidDevice& device, double start, double seconds) {
  device.Wheel().Reset(start);
  device.Advance(seconds);
  return device.Wheel().Angle();
}

TEST(PidDevice, CentresTheRimUntilAHostTakesTheMotorOver) {
  PidDevice device;
  EXPECT_TRUE(device.Centring());
  EXPECT_NEAR(AngleAfter(device, 0.5, 3.0), 0.0, 0.1) << "the centring spring pulls the rim back";
  Play(device, {{out, "06 01", "enable actuators: still the wheel's own spring"}});
  EXPECT_TRUE(device.Wheel().Parameters().autoCenterEnabled);
  Play(device, {{out, "06 04", "reset"}});
  EXPECT_FALSE(device.Centring());
  EXPECT_FALSE(device.Wheel().Parameters().autoCenterEnabled);
  EXPECT_DOUBLE_EQ(AngleAfter(device, 0.5, 3.0), 0.5) << "a free rim stays where it is";
}

TEST(PidDevice, ConstantForcesTurnTheRimTheDirectInputWay) {
  // A positive force along +X turns the wheel toward negative angles, as on the DLL's wheel.
  for (const char* magnitude : {"88 13", "78 ec"}) {
    PidDevice device;
    Play(device, Join({acquire, createConstantForce,
                       {{out, std::string("04 01 ") + magnitude, "constant force"}, {out, "05 01 01 ff", "start"}}}));
    device.Advance(0.3);
    std::array<uint8_t, pid_wheel::inputReportLength> report{};
    while (device.NextInputReport(report) != pid_wheel::inputReportLength) {
    }
    int x = report[1] | (report[2] << 8);
    if (std::string(magnitude) == "88 13") {
      EXPECT_LT(device.Wheel().Angle(), -0.1);
      EXPECT_LT(x, 32767 - 500);
    } else {
      EXPECT_GT(device.Wheel().Angle(), 0.1);
      EXPECT_GT(x, 32767 + 500);
    }
  }
}

TEST(PidDevice, AFiniteEffectStopsAfterItsDurationTimesItsLoops) {
  PidDevice device;
  Play(device, Join({acquire, createConstantForce,
                     {
                         {out, "01 01 01 64 00 00 00 ff 04 28 23 00 00", "set effect: 100 ms"},
                         {out, "05 01 01 02", "start, twice"},
                         {input, "02 3e 01", "block 1 playing (the device's flags with it)"},
                         {input, "01 ff 7f ff 7f 00 00 00", "the wheel"},
                     }}));
  device.Advance(0.15);
  EXPECT_TRUE(device.Block(1).playing);
  device.Advance(0.06);
  EXPECT_FALSE(device.Block(1).playing);
  EXPECT_FALSE(device.Wheel().Effect(0).playing);
  Play(device, {{input, "02 1e 01", "block 1 stopped by itself"},
                {out, "05 01 01 ff", "start until stopped"}});
  device.Advance(10.0);
  EXPECT_TRUE(device.Block(1).playing) << "loop count 255 plays until stopped";
  Play(device, {{out, "06 05", "pause"}, {out, "05 01 01 01", "start once"}});
  device.Advance(1.0);
  EXPECT_TRUE(device.Block(1).playing) << "a paused device does not count the time";
}

TEST(Direction, SineMatchesTheLibrarysToOnePartInABillion) {
  for (uint32_t angle = 0; angle <= 72000; angle += 7) {
    double expected = std::sin(angle * 3.14159265358979323846 / 18000.0);
    ASSERT_NEAR(pid_wheel::SineOfHundredthsOfDegree(angle), expected, 1e-9) << angle;
  }
  EXPECT_EQ(pid_wheel::SineOfHundredthsOfDegree(9000), 1.0);
  EXPECT_EQ(pid_wheel::SineOfHundredthsOfDegree(27000), -1.0);
  EXPECT_EQ(pid_wheel::SineOfHundredthsOfDegree(0), 0.0);
  EXPECT_EQ(pid_wheel::SineOfHundredthsOfDegree(18000), 0.0);
  EXPECT_EQ(pid_wheel::SineOfHundredthsOfDegree(36000 + 9000), 1.0);
}

}  // namespace
