// Per-step work must not touch the heap: the wheel will run inside a driver's timing loop.
// Counts through the test binary's replaced global allocation functions.
#include <new>

#include <gtest/gtest.h>

#include "sim/virtual_wheel.h"
#include "support/counting_allocator.h"
#include "wheel_test_support.h"

namespace {
long Allocations() { return static_cast<long>(test_support::AllocationCount()); }
}  // namespace

namespace {

using sim::EffectKind;
using simtest::ConditionEffect;
using simtest::ConstantForce;
using simtest::SymmetricCondition;

TEST(NoAllocationTest, TheCounterSeesAllocations) {
  const long before = Allocations();
  // A direct call: unlike a new-expression, the optimiser may not leave it out.
  void* block = ::operator new(16);
  ::operator delete(block);
  EXPECT_EQ(Allocations(), before + 1);
}

TEST(NoAllocationTest, AdvanceAndTheReadingsDoNotAllocate) {
  sim::WheelParameters p;
  p.encoderNoiseCounts = 1.0;
  sim::VirtualWheel wheel(p);
  for (int slot = 0; slot < sim::VirtualWheel::effectSlotCount; slot += 5) {
    wheel.SetEffect(slot, ConditionEffect(EffectKind::Spring, SymmetricCondition(3000)));
    wheel.SetEffect(slot + 1, ConditionEffect(EffectKind::Damper, SymmetricCondition(3000)));
    wheel.SetEffect(slot + 2, ConditionEffect(EffectKind::Friction, SymmetricCondition(3000)));
    wheel.SetEffect(slot + 3, ConditionEffect(EffectKind::Inertia, SymmetricCondition(3000)));
    wheel.SetEffect(slot + 4, ConstantForce(-2000));
  }
  wheel.SetHandTorque(0.8);

  const long before = Allocations();
  long long sink = 0;
  for (int i = 0; i < 200; ++i) {
    wheel.Advance(0.00137);
    wheel.SetEffectPlaying(3, i % 2 == 0);
    sink += wheel.EncoderCount() + wheel.AxisValue(0, 65535);
    sink += static_cast<long long>(wheel.MotorTorque() + wheel.MeasuredAngle());
  }
  wheel.Advance(10.0);  // one long call: 100000 sub-steps
  EXPECT_EQ(Allocations(), before);
  EXPECT_NE(wheel.ElapsedSeconds(), 0.0);
  (void)sink;
}

}  // namespace
