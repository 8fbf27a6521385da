// The calls the program makes on every tick allocate nothing (counted through the replaced
// global operator new in tests/support/counting_allocator.cpp), with the call log on.
#include <cstdint>

#include <gtest/gtest.h>

#include "host/dinput_test_fixture.h"
#include "support/counting_allocator.h"

namespace dinput_test {
namespace {

class HotPathTest : public DirectInputTest {};

TEST_F(HotPathTest, TheTickAllocatesNothing) {
  host::DeviceId wheel = host::AttachDevice(host::VirtualWheelDescription());
  ComPtr<IDirectInputDevice8A> device = OpenAcquired(wheel);
  EffectBlock constantBlock;
  constantBlock.Constant(0, 2, 1, 0);
  ComPtr<IDirectInputEffect> force = Create(device.Get(), GUID_ConstantForce, &constantBlock.effect);
  EffectBlock springBlock;
  springBlock.Condition(MakeCondition(0, 3000), 2, 2);
  ComPtr<IDirectInputEffect> spring = Create(device.Get(), GUID_Spring, &springBlock.effect);
  ASSERT_EQ(force->Start(1, 0), DI_OK);
  ASSERT_EQ(spring->Start(1, 0), DI_OK);
  unsigned char leds[4] = {0x01, 0x00, 0x00, 0x00};
  DIEFFESCAPE escape{sizeof(DIEFFESCAPE), 0, leds, sizeof(leds), nullptr, 0};
  DIPROPRANGE range{{sizeof(DIPROPRANGE), sizeof(DIPROPHEADER), DIJOFS_X, DIPH_BYOFFSET}, 0, 0};
  DIJOYSTATE state;
  DWORD status = 0;

  // Everything the loop checks is gathered first and asserted after, since gtest allocates.
  HRESULT worst = DI_OK;
  auto note = [&worst](HRESULT result) {
    if (FAILED(result)) worst = result;
  };
  auto tick = [&](int i) {
    note(device->Acquire());
    note(device->Poll());
    note(device->GetDeviceState(sizeof(state), &state));
    note(device->GetProperty(DIPROP_LOGICALRANGE, &range.diph));
    constantBlock.constant.lMagnitude = (i % 200) * 50 - 5000;
    note(force->SetParameters(&constantBlock.effect, DIEP_TYPESPECIFICPARAMS));
    springBlock.conditions[0].lOffset = i % 1000;
    note(spring->SetParameters(&springBlock.effect, DIEP_TYPESPECIFICPARAMS | DIEP_START));
    note(force->GetEffectStatus(&status));
    if (i % 50 == 0) {
      note(force->Stop());
      note(force->Start(1, 0));
    }
    leds[0] = static_cast<unsigned char>(i);
    note(device->Escape(&escape));
    Sleep(1);
  };
  tick(0);  // anything done once, on the first call, is not the loop's
  uint64_t before = test_support::AllocationCount();
  for (int i = 1; i <= 2000; ++i) tick(i);
  uint64_t allocations = test_support::AllocationCount() - before;

  EXPECT_EQ(allocations, 0u);
  EXPECT_EQ(worst, DI_OK);
  EXPECT_GE(host::CallLogSize(), 2000u * 8) << "the calls were recorded";
}

TEST(CountingAllocator, CountsWhatItShould) {
  uint64_t before = test_support::AllocationCount();
  int* volatile one = new int(5);  // volatile: the allocation cannot be optimised away
  delete one;
  EXPECT_EQ(test_support::AllocationCount() - before, 1u);
}

}  // namespace
}  // namespace dinput_test
