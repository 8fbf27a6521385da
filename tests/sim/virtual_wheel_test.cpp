// Physics checks of the rim: each compares the simulation with the closed-form answer.
#include "sim/virtual_wheel.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/case_name.h"
#include "wheel_test_support.h"

namespace {

using sim::EffectKind;
using sim::VirtualWheel;
using sim::WheelParameters;
using simtest::ConditionEffect;
using simtest::ConstantForce;
using simtest::FreeWheel;
using simtest::RecordError;
using simtest::RelativeError;
using simtest::SymmetricCondition;

// --- Constant torque -------------------------------------------------------------------

struct ConstantTorqueCase {
  const char* what;
  int32_t magnitude;  // constant force effect, 0 = none
  double hand;
  double torque;      // what the rim should feel, N m
};

void PrintTo(const ConstantTorqueCase& c, std::ostream* out) { *out << c.what; }

class ConstantTorqueTest : public testing::TestWithParam<ConstantTorqueCase> {};

TEST_P(ConstantTorqueTest, AcceleratesAsTorqueOverInertia) {
  const ConstantTorqueCase& c = GetParam();
  VirtualWheel wheel(FreeWheel());
  if (c.magnitude != 0) wheel.SetEffect(0, ConstantForce(c.magnitude));
  wheel.SetHandTorque(c.hand);

  const double t = 0.25;
  wheel.Advance(t);

  const double alpha = c.torque / wheel.Parameters().inertia;
  const double alphaError = RelativeError(wheel.Acceleration(), alpha);
  const double velocityError = RelativeError(wheel.Velocity(), alpha * t);
  const double angleError = RelativeError(wheel.Angle(), 0.5 * alpha * t * t);
  RecordError("acceleration_relative_error", alphaError);
  RecordError("velocity_relative_error", velocityError);
  RecordError("angle_relative_error", angleError);
  EXPECT_NEAR(wheel.ElapsedSeconds(), t, 1e-12);
  EXPECT_LT(alphaError, 1e-9) << c.what << ": alpha " << wheel.Acceleration();
  EXPECT_LT(velocityError, 0.01) << c.what << ": omega " << wheel.Velocity();
  EXPECT_LT(angleError, 0.01) << c.what << ": theta " << wheel.Angle();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConstantTorqueTest,
    testing::Values(
        // A negative magnitude turns the wheel toward positive angles.
        ConstantTorqueCase{"constant force -5000", -5000, 0.0, 1.1},
        ConstantTorqueCase{"constant force +8000", 8000, 0.0, -1.76},
        ConstantTorqueCase{"hand torque", 0, 0.7, 0.7},
        // The hand is not limited by the motor's maximum.
        ConstantTorqueCase{"hand above the motor limit", 0, -4.0, -4.0},
        ConstantTorqueCase{"force and hand add", -2500, 0.3, 0.85}),
    test_support::NamedByWhat());

// --- Static and kinetic friction -------------------------------------------------------

struct BreakAwayCase {
  double fractionOfStatic;  // hand torque as a fraction of staticFriction
  bool moves;
};

// "0.99 of static, holds" or "-1.01 of static, slides".
std::string Describe(const BreakAwayCase& c) {
  char text[64];
  std::snprintf(text, sizeof(text), "%g of static, %s", c.fractionOfStatic, c.moves ? "slides" : "holds");
  return text;
}

void PrintTo(const BreakAwayCase& c, std::ostream* out) { *out << Describe(c); }

class BreakAwayTest : public testing::TestWithParam<BreakAwayCase> {};

TEST_P(BreakAwayTest, HoldsUpToStaticFrictionThenSlidesAgainstCoulombFriction) {
  const BreakAwayCase& c = GetParam();
  WheelParameters p;  // default frictions
  p.viscousDamping = 0.0;
  p.autoCenterEnabled = false;
  VirtualWheel wheel(p);
  const double torque = c.fractionOfStatic * p.staticFriction;
  wheel.SetHandTorque(torque);

  const double t = 0.5;
  wheel.Advance(t);

  if (!c.moves) {
    EXPECT_EQ(wheel.Angle(), 0.0) << "torque " << torque;
    EXPECT_EQ(wheel.Velocity(), 0.0) << "torque " << torque;
    return;
  }
  // Once free, only kinetic friction opposes the hand.
  const double alpha = (torque - std::copysign(p.coulombFriction, torque)) / p.inertia;
  const double error = RelativeError(wheel.Velocity(), alpha * t);
  RecordError("velocity_relative_error", error);
  EXPECT_LT(error, 0.01) << "torque " << torque << " velocity " << wheel.Velocity();
}

INSTANTIATE_TEST_SUITE_P(Fractions, BreakAwayTest,
                         testing::Values(BreakAwayCase{0.0, false}, BreakAwayCase{0.5, false},
                                         BreakAwayCase{0.99, false}, BreakAwayCase{1.0, false},
                                         BreakAwayCase{-0.99, false}, BreakAwayCase{-1.0, false},
                                         BreakAwayCase{1.01, true}, BreakAwayCase{1.5, true},
                                         BreakAwayCase{-1.01, true}, BreakAwayCase{-3.0, true}),
                         [](const testing::TestParamInfo<BreakAwayCase>& info) {
                           return test_support::CaseName(Describe(info.param));
                         });

// The motor's own force meets the same friction: a belt wheel ignores forces below about
// 7.5 % of full scale.
TEST(FrictionTest, SmallConstantForcesDoNotMoveTheDefaultWheel) {
  struct Case {
    int32_t magnitude;
    bool moves;
  };
  for (const Case& c : {Case{500, false}, Case{-740, false}, Case{740, false},
                        Case{-760, true}, Case{760, true}, Case{2000, true}}) {
    WheelParameters p;
    p.autoCenterEnabled = false;
    VirtualWheel wheel(p);
    wheel.SetEffect(0, ConstantForce(c.magnitude));
    wheel.Advance(0.5);
    if (c.moves) {
      // Positive magnitude, negative angle.
      EXPECT_LT(wheel.Angle() * c.magnitude, 0.0) << c.magnitude;
    } else {
      EXPECT_EQ(wheel.Angle(), 0.0) << c.magnitude;
    }
  }
}

// Let go while turning, the rim coasts to a stop against kinetic friction alone.
TEST(FrictionTest, ACoastingWheelStopsInTheDistanceKineticFrictionAllows) {
  for (const double speed : {0.3, -2.0}) {
    WheelParameters p;
    p.viscousDamping = 0.0;
    p.autoCenterEnabled = false;
    VirtualWheel wheel(p);
    wheel.Reset(0.0, speed);
    const double deceleration = p.coulombFriction / p.inertia;
    double stoppedAt = -1.0;
    while (wheel.ElapsedSeconds() < 1.0) {
      wheel.Advance(p.subStepSeconds);
      if (wheel.Velocity() == 0.0 && stoppedAt < 0.0) stoppedAt = wheel.ElapsedSeconds();
    }
    const double expectedTime = std::abs(speed) / deceleration;
    const double expectedDistance = speed * speed / (2.0 * deceleration);
    const double timeError = RelativeError(stoppedAt, expectedTime);
    const double distanceError = RelativeError(std::abs(wheel.Angle()), expectedDistance);
    RecordError("stop_time_relative_error", timeError);
    RecordError("stop_distance_relative_error", distanceError);
    EXPECT_LT(timeError, 0.01) << "speed " << speed << ": stopped after " << stoppedAt << " s";
    EXPECT_LT(distanceError, 0.01) << "speed " << speed << ": went " << wheel.Angle();
    EXPECT_GT(wheel.Angle() * speed, 0.0);
  }
}

// Sliding continues on a torque too weak to break away, and a wheel that comes to rest stays
// at rest without creeping or chattering.
TEST(FrictionTest, SlidesBetweenKineticAndStaticFrictionAndStopsCleanly) {
  WheelParameters p;
  p.viscousDamping = 0.0;
  p.autoCenterEnabled = false;
  VirtualWheel wheel(p);

  wheel.SetHandTorque(2.0 * p.staticFriction);
  wheel.Advance(0.2);
  const double pushed = wheel.Velocity();
  ASSERT_GT(pushed, 0.0);

  wheel.SetHandTorque(0.5 * (p.coulombFriction + p.staticFriction));
  wheel.Advance(0.2);
  EXPECT_GT(wheel.Velocity(), pushed) << "still above kinetic friction, still speeding up";

  wheel.SetHandTorque(0.5 * p.coulombFriction);
  const double decay = p.inertia * wheel.Velocity() / (0.5 * p.coulombFriction);
  wheel.Advance(decay + 0.01);
  EXPECT_EQ(wheel.Velocity(), 0.0);
  const double stopped = wheel.Angle();
  for (int i = 0; i < 5000; ++i) {
    wheel.Advance(p.subStepSeconds);
    ASSERT_EQ(wheel.Velocity(), 0.0) << "sub-step " << i;
    ASSERT_EQ(wheel.Angle(), stopped) << "sub-step " << i;
  }
}

// --- Spring oscillation ----------------------------------------------------------------

struct SpringCase {
  int32_t coefficient;
  int32_t offset;
  double startAngle;
};

// "coefficient 7000, offset -2000, from 0.5 rad".
std::string Describe(const SpringCase& c) {
  char text[96];
  std::snprintf(text, sizeof(text), "coefficient %d, offset %d, from %g rad", c.coefficient, c.offset, c.startAngle);
  return text;
}

void PrintTo(const SpringCase& c, std::ostream* out) { *out << Describe(c); }

class SpringPeriodTest : public testing::TestWithParam<SpringCase> {};

TEST_P(SpringPeriodTest, OscillatesAboutTheOffsetWithThePeriodOfItsStiffness) {
  const SpringCase& c = GetParam();
  VirtualWheel wheel(FreeWheel());
  const WheelParameters& p = wheel.Parameters();
  const double half = p.rotationRange / 2.0;
  // Position reads 10000 at +half range, so the force is coefficient/10000 * angle/half of
  // full scale, and full scale is the motor's maximum.
  const double stiffness = c.coefficient / 10000.0 * p.maxMotorTorque / half;
  const double centre = c.offset / 10000.0 * half;
  const double expectedPeriod = 2.0 * std::numbers::pi * std::sqrt(p.inertia / stiffness);

  wheel.SetEffect(3, ConditionEffect(EffectKind::Spring, SymmetricCondition(c.coefficient,
                                                                            c.offset)));
  wheel.Reset(c.startAngle);

  std::vector<double> upCrossings;
  double previous = wheel.Angle() - centre;
  double highest = previous;
  double lowest = previous;
  while (upCrossings.size() < 4 && wheel.ElapsedSeconds() < 6.0 * expectedPeriod) {
    wheel.Advance(p.subStepSeconds);
    const double now = wheel.Angle() - centre;
    if (previous < 0.0 && now >= 0.0) {
      const double fraction = -previous / (now - previous);
      upCrossings.push_back(wheel.ElapsedSeconds() - (1.0 - fraction) * p.subStepSeconds);
    }
    highest = std::max(highest, now);
    lowest = std::min(lowest, now);
    previous = now;
  }
  ASSERT_EQ(upCrossings.size(), 4u) << "no oscillation about the offset";
  const double period = (upCrossings.back() - upCrossings.front()) / 3.0;
  const double periodError = RelativeError(period, expectedPeriod);
  const double amplitude = std::abs(c.startAngle - centre);
  const double amplitudeError =
      std::max(RelativeError(highest, amplitude), RelativeError(-lowest, amplitude));
  RecordError("period_relative_error", periodError);
  RecordError("amplitude_relative_error", amplitudeError);
  EXPECT_LT(periodError, 0.01) << "period " << period << " s, expected " << expectedPeriod;
  EXPECT_LT(amplitudeError, 0.01) << "swing " << lowest << ".." << highest;
}

INSTANTIATE_TEST_SUITE_P(Springs, SpringPeriodTest,
                         testing::Values(SpringCase{10000, 0, 1.0}, SpringCase{4000, 0, -0.5},
                                         SpringCase{10000, 3000, 0.0},
                                         SpringCase{7000, -2000, 0.5}),
                         [](const testing::TestParamInfo<SpringCase>& info) {
                           return test_support::CaseName(Describe(info.param));
                         });

// --- Damping ---------------------------------------------------------------------------

struct DecayCase {
  const char* what;
  double viscousDamping;     // N m s/rad, the rim's own
  int32_t damperCoefficient;  // 0 = no damper effect
};

void PrintTo(const DecayCase& c, std::ostream* out) { *out << c.what; }

class VelocityDecayTest : public testing::TestWithParam<DecayCase> {};

TEST_P(VelocityDecayTest, DecaysExponentially) {
  const DecayCase& c = GetParam();
  WheelParameters p = FreeWheel();
  p.viscousDamping = c.viscousDamping;
  VirtualWheel wheel(p);
  if (c.damperCoefficient != 0) {
    wheel.SetEffect(0, ConditionEffect(EffectKind::Damper,
                                       SymmetricCondition(c.damperCoefficient)));
  }
  // Damper: velocity reads 10000 at conditionFullScaleVelocity.
  const double damping = c.viscousDamping + c.damperCoefficient / 10000.0 * p.maxMotorTorque /
                                                p.conditionFullScaleVelocity;
  const double start = 2.0;
  wheel.Reset(0.0, start);
  const double t = 0.1;
  wheel.Advance(t);
  const double expected = start * std::exp(-damping / p.inertia * t);
  const double error = RelativeError(wheel.Velocity(), expected);
  RecordError("velocity_relative_error", error);
  EXPECT_LT(error, 0.01) << c.what << ": " << wheel.Velocity() << " vs " << expected;
}

INSTANTIATE_TEST_SUITE_P(Sources, VelocityDecayTest,
                         testing::Values(DecayCase{"rim damping", 0.22, 0},
                                         DecayCase{"damper effect", 0.0, 10000},
                                         DecayCase{"both", 0.05, 5000}),
                         test_support::NamedByWhat());

// --- Inertia condition -----------------------------------------------------------------

// An inertia condition opposes acceleration, so it adds to the rim's inertia; reading a
// filtered acceleration keeps it steady even where it adds more than the rim has.
TEST(InertiaConditionTest, AddsToTheRimsInertia) {
  struct Case {
    double rimInertia;
    int32_t coefficient;
  };
  for (const Case& c : {Case{0.03, 0}, Case{0.03, 5000}, Case{0.03, 10000}, Case{0.01, 10000}}) {
    const int32_t coefficient = c.coefficient;
    WheelParameters free = FreeWheel();
    free.inertia = c.rimInertia;
    VirtualWheel wheel(free);
    const WheelParameters& p = wheel.Parameters();
    wheel.SetEffect(0, ConditionEffect(EffectKind::Inertia, SymmetricCondition(coefficient)));
    const double torque = 1.0;
    wheel.SetHandTorque(torque);
    wheel.Advance(0.1);
    const double added =
        coefficient / 10000.0 * p.maxMotorTorque / p.conditionFullScaleAcceleration;
    const double expected = torque / (p.inertia + added);
    const double error = RelativeError(wheel.Acceleration(), expected);
    RecordError("acceleration_relative_error_J" + std::to_string(c.rimInertia) + "_c" +
                    std::to_string(coefficient),
                error);
    EXPECT_LT(error, 0.01) << "rim " << c.rimInertia << " kg m^2, coefficient " << coefficient
                           << ": " << wheel.Acceleration()
                           << " vs " << expected;
  }
}

// --- End stops -------------------------------------------------------------------------

TEST(EndStopTest, HoldsAgainstLargeTorquesAndLetsGo) {
  for (const double direction : {1.0, -1.0}) {
    VirtualWheel wheel;  // default wheel
    const double half = wheel.Parameters().rotationRange / 2.0;
    wheel.SetHandTorque(50.0 * direction);
    wheel.SetEffect(0, ConstantForce(static_cast<int32_t>(-10000 * direction)));
    for (int ms = 0; ms < 3000; ++ms) {
      wheel.Advance(0.001);
      ASSERT_LE(std::abs(wheel.Angle()), half) << "ms " << ms;
    }
    EXPECT_EQ(wheel.Angle(), direction * half);
    EXPECT_EQ(wheel.Velocity(), 0.0);
    EXPECT_EQ(wheel.Acceleration(), 0.0);

    wheel.SetHandTorque(-2.0 * direction);
    wheel.ClearAllEffects();
    wheel.Advance(0.1);
    EXPECT_LT(std::abs(wheel.Angle()), half - 0.01) << "stuck at the stop";
  }
}

TEST(EndStopTest, StopsAFastSpinDead) {
  VirtualWheel wheel(FreeWheel());
  const double half = wheel.Parameters().rotationRange / 2.0;
  wheel.Reset(0.0, 100.0);
  wheel.Advance(half / 100.0 + 0.01);
  EXPECT_EQ(wheel.Angle(), half);
  EXPECT_EQ(wheel.Velocity(), 0.0);
  wheel.Advance(0.5);
  EXPECT_EQ(wheel.Angle(), half) << "no rebound";
}

TEST(EndStopTest, ResetPlacesTheWheelInsideTheStops) {
  VirtualWheel wheel;
  const double half = wheel.Parameters().rotationRange / 2.0;
  wheel.Reset(20.0);
  EXPECT_EQ(wheel.Angle(), half);
  wheel.Reset(-20.0);
  EXPECT_EQ(wheel.Angle(), -half);
}

// --- Time stepping ---------------------------------------------------------------------

// A wheel with every force at work, so any difference in stepping shows in the state.
VirtualWheel BusyWheel() {
  WheelParameters p;
  p.encoderNoiseCounts = 0.7;
  VirtualWheel wheel(p);
  wheel.SetEffect(0, ConditionEffect(EffectKind::Spring, SymmetricCondition(6000, 1000)));
  wheel.SetEffect(1, ConditionEffect(EffectKind::Damper, SymmetricCondition(3000)));
  wheel.SetEffect(2, ConditionEffect(EffectKind::Friction, SymmetricCondition(800)));
  wheel.SetEffect(3, ConditionEffect(EffectKind::Inertia, SymmetricCondition(2000)));
  wheel.SetEffect(4, ConstantForce(-3000, 0.8));
  wheel.SetHandTorque(0.4);
  wheel.Reset(-1.0, 0.5);
  return wheel;
}

class ChunkedAdvanceTest : public testing::TestWithParam<double> {};

TEST_P(ChunkedAdvanceTest, ManyShortCallsEqualOneLongCall) {
  const double chunk = GetParam();
  const int calls = static_cast<int>(std::round(1.3 / chunk));
  VirtualWheel chunked = BusyWheel();
  VirtualWheel whole = BusyWheel();
  for (int i = 0; i < calls; ++i) chunked.Advance(chunk);
  whole.Advance(chunk * calls);

  EXPECT_EQ(chunked.ElapsedSeconds(), whole.ElapsedSeconds());
  EXPECT_EQ(chunked.Angle(), whole.Angle());
  EXPECT_EQ(chunked.Velocity(), whole.Velocity());
  EXPECT_EQ(chunked.Acceleration(), whole.Acceleration());
  EXPECT_EQ(chunked.EncoderCount(), whole.EncoderCount());
  EXPECT_NE(whole.Angle(), -1.0) << "the wheel should have moved";
  EXPECT_NEAR(whole.ElapsedSeconds(), chunk * calls, whole.Parameters().subStepSeconds);
}

// Whole sub-steps, fractions of one, and sizes that leave a remainder on every call.
INSTANTIATE_TEST_SUITE_P(Chunks, ChunkedAdvanceTest,
                         testing::Values(1e-4, 3e-5, 5e-5, 3.7e-4, 1e-3, 1.0 / 60.0, 0.0123),
                         [](const testing::TestParamInfo<double>& info) {
                           return "Of" + std::to_string(std::lround(info.param * 1e6)) + "Microseconds";
                         });

// A polling loop's fixed period must cost the same whole number of sub-steps on every call,
// not 9 then 11 as rounding would have it.
TEST(AdvanceTest, AFixedPeriodRunsTheSameSubStepsEveryCall) {
  for (const double period : {0.001, 0.0005, 0.01, 0.0003}) {
    VirtualWheel wheel(FreeWheel());
    const double h = wheel.Parameters().subStepSeconds;
    const long perCall = std::lround(period / h);
    for (int call = 1; call <= 2000; ++call) {
      wheel.Advance(period);
      ASSERT_EQ(std::lround(wheel.ElapsedSeconds() / h), perCall * call)
          << "period " << period << ", call " << call;
    }
  }
}

TEST(AdvanceTest, IgnoresDurationsThatAreNotPositiveAndFinite) {
  VirtualWheel wheel(FreeWheel());
  wheel.SetHandTorque(1.0);
  const double infinity = std::numeric_limits<double>::infinity();
  for (const double seconds : {0.0, -0.5, std::nan(""), infinity}) wheel.Advance(seconds);
  EXPECT_EQ(wheel.ElapsedSeconds(), 0.0);
  EXPECT_EQ(wheel.Angle(), 0.0);
  wheel.Advance(0.001);
  EXPECT_NEAR(wheel.ElapsedSeconds(), 0.001, 1e-15);
}

TEST(AdvanceTest, HonoursASubStepChangedAtRunTime) {
  VirtualWheel wheel(FreeWheel());
  wheel.SetHandTorque(0.3);
  wheel.Advance(0.5);
  const double velocity = wheel.Velocity();
  WheelParameters p = wheel.Parameters();
  p.subStepSeconds = 1e-3;
  wheel.SetParameters(p);
  EXPECT_EQ(wheel.Velocity(), velocity) << "the state survives a parameter change";
  wheel.Advance(0.0005);
  EXPECT_NEAR(wheel.ElapsedSeconds(), 0.5, 1e-12) << "half a 1 ms step waits";
  wheel.Advance(0.4995);
  EXPECT_NEAR(wheel.ElapsedSeconds(), 1.0, 1e-12);
  EXPECT_NEAR(wheel.Velocity(), 0.3 / p.inertia * 1.0, 1e-9);
}

// The model draws nothing from outside its inputs: equal runs end in equal states.
TEST(AdvanceTest, RunsAreRepeatable) {
  VirtualWheel first = BusyWheel();
  VirtualWheel second = BusyWheel();
  for (int i = 0; i < 300; ++i) {
    first.SetHandTorque(std::sin(i * 0.05));
    second.SetHandTorque(std::sin(i * 0.05));
    first.Advance(0.003);
    second.Advance(0.003);
    ASSERT_EQ(first.Angle(), second.Angle()) << i;
    ASSERT_EQ(first.EncoderCount(), second.EncoderCount()) << i;
  }
}

}  // namespace
