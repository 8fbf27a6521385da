// The call log (what each record keeps, its ring, its switch) and fault injection, checked
// with the table comparison every device-traffic test uses.
#include <cstring>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "host/dinput_test_fixture.h"
#include "support/call_log_expectations.h"

namespace dinput_test {
namespace {

using host::Method;
using test_support::BytesOf;
using test_support::CallFilter;
using test_support::CallsDuring;
using test_support::ExpectedCall;

class CallLogTest : public DirectInputTest {
 protected:
  void SetUp() override {
    DirectInputTest::SetUp();
    wheel = host::AttachDevice(host::VirtualWheelDescription());
    ASSERT_NE(wheel, host::noDevice);
  }
  host::DeviceId wheel = host::noDevice;
};

BOOL CALLBACK FirstDevice(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
  *static_cast<GUID*>(context) = instance->guidInstance;
  return DIENUM_STOP;
}

TEST_F(CallLogTest, ASessionLikeTheProgramsIsLoggedCallByCall) {
  const DICONSTANTFORCE force{-2500};
  const DICONDITION springX = MakeCondition(0, 6000, 9000, 100);
  const DICONDITION springY = MakeCondition(0, 6000, 10000, 0);
  const DICONDITION damper = MakeCondition(0, 3000);
  unsigned char leds[4] = {0x0F, 0x03, 0x00, 0x00};

  ComPtr<IDirectInputDevice8A> device;
  std::vector<ComPtr<IDirectInputEffect>> effects;
  auto session = [&] {
    GUID found{};
    directInput->EnumDevices(DI8DEVCLASS_GAMECTRL, FirstDevice, &found, DIEDFL_ATTACHEDONLY | DIEDFL_FORCEFEEDBACK);
    directInput->CreateDevice(found, device.Put(), nullptr);
    device->SetDataFormat(&c_dfDIJoystick);
    device->SetCooperativeLevel(TestWindow(), DISCL_EXCLUSIVE | DISCL_BACKGROUND);
    DIPROPDWORD off{{sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, DIPROPAUTOCENTER_OFF};
    device->SetProperty(DIPROP_AUTOCENTER, &off.diph);
    device->Acquire();

    EffectBlock block;
    const GUID* types[] = {&GUID_ConstantForce, &GUID_Spring, &GUID_Damper, &GUID_Inertia, &GUID_Friction};
    for (const GUID* type : types) {
      if (type == &GUID_ConstantForce) {
        block.Constant(0, 2, 1, 0);
      } else {
        block.Condition(type == &GUID_Spring ? springX : damper, 2, 2);
        if (type == &GUID_Spring) block.conditions[1] = springY;
      }
      effects.emplace_back();
      device->CreateEffect(*type, &block.effect, effects.back().Put(), nullptr);
    }
    for (auto& effect : effects) effect->Start(1, 0);

    // One tick of the force loop.
    device->Poll();
    DIJOYSTATE state;
    device->GetDeviceState(sizeof(state), &state);
    DIPROPRANGE range{{sizeof(DIPROPRANGE), sizeof(DIPROPHEADER), DIJOFS_X, DIPH_BYOFFSET}, 0, 0};
    device->GetProperty(DIPROP_LOGICALRANGE, &range.diph);
    block.Constant(force.lMagnitude, 2, 1, 0);
    effects[0]->SetParameters(&block.effect, DIEP_TYPESPECIFICPARAMS | DIEP_DIRECTION);
    DIEFFESCAPE escape{sizeof(DIEFFESCAPE), 0, leds, sizeof(leds), nullptr, 0};
    device->Escape(&escape);
  };

  const std::vector<ExpectedCall> expected = {
      {.method = Method::EnumDevices, .result = DI_OK, .flags = DIEDFL_ATTACHEDONLY | DIEDFL_FORCEFEEDBACK,
       .comment = "look for a force-feedback controller"},
      {.method = Method::CreateDevice, .result = DI_OK, .comment = "open the wheel"},
      {.method = Method::SetDataFormat, .result = DI_OK, .flags = DIDF_ABSAXIS, .comment = "joystick format"},
      {.method = Method::SetCooperativeLevel, .result = DI_OK, .flags = DISCL_EXCLUSIVE | DISCL_BACKGROUND},
      {.method = Method::SetProperty, .result = DI_OK, .property = 9, .data = DIPROPAUTOCENTER_OFF,
       .comment = "auto-centre off"},
      {.method = Method::Acquire, .result = DI_OK},
      {.method = Method::CreateEffect, .effect = 0, .result = DI_OK, .block = BytesOf(DICONSTANTFORCE{0}),
       .check = test_support::EffectGuid(GUID_ConstantForce), .comment = "constant force, silent"},
      {.method = Method::CreateEffect, .effect = 1, .result = DI_OK, .block = BytesOf({springX, springY}),
       .check = test_support::EffectGuid(GUID_Spring), .comment = "spring, a block per axis"},
      {.method = Method::CreateEffect, .effect = 2, .block = BytesOf({damper, damper}),
       .check = test_support::EffectGuid(GUID_Damper)},
      {.method = Method::CreateEffect, .effect = 3, .check = test_support::EffectGuid(GUID_Inertia)},
      {.method = Method::CreateEffect, .effect = 4, .check = test_support::EffectGuid(GUID_Friction)},
      {.method = Method::Start, .effect = 0, .result = DI_OK, .check = test_support::StartIterations(1)},
      {.method = Method::Start, .effect = 1},
      {.method = Method::Start, .effect = 2},
      {.method = Method::Start, .effect = 3},
      {.method = Method::Start, .effect = 4},
      {.method = Method::Poll, .result = DI_NOEFFECT, .comment = "the wheel needs no polling"},
      {.method = Method::GetDeviceState, .result = DI_OK},
      {.method = Method::GetProperty, .result = DI_OK, .property = 19, .comment = "logical range of X"},
      {.method = Method::SetParameters, .effect = 0, .result = DI_OK,
       .flags = DIEP_TYPESPECIFICPARAMS | DIEP_DIRECTION, .block = BytesOf(force),
       .check = test_support::EffectAxesAndDirections({}, {1, 0}), .comment = "the new force"},
      {.method = Method::Escape, .result = DI_OK, .block = {0x0F, 0x03, 0x00, 0x00}, .comment = "LEDs"},
  };
  EXPECT_TRUE(CallsDuring(session, expected, CallFilter{.ignored = test_support::RefCounting()}));

  // The records keep more than the table looked at.
  std::vector<host::CallRecord> records = host::CallLogRecords();
  const host::CallRecord* range = nullptr;
  const host::CallRecord* escape = nullptr;
  const host::CallRecord* created = nullptr;
  for (const host::CallRecord& record : records) {
    if (record.method == Method::GetProperty) range = &record;
    if (record.method == Method::Escape) escape = &record;
    if (record.method == Method::CreateEffect && record.effect == 1) created = &record;
    EXPECT_EQ(record.device, record.method == Method::EnumDevices ? host::noDevice : wheel) << MethodName(record.method);
  }
  ASSERT_NE(range, nullptr);
  EXPECT_EQ(range->property.dwObj, static_cast<DWORD>(DIJOFS_X));
  EXPECT_EQ(range->property.dwHow, static_cast<DWORD>(DIPH_BYOFFSET));
  EXPECT_EQ(range->property.min, 0);
  EXPECT_EQ(range->property.max, 65535);
  ASSERT_NE(escape, nullptr);
  EXPECT_EQ(escape->escape.cbInBuffer, 4u);
  EXPECT_EQ(escape->escape.cbOutBuffer, 0u);
  EXPECT_EQ(escape->iface, host::Interface::Device);
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->effectParams.cAxes, 2u);
  EXPECT_EQ(created->effectParams.axes[1], static_cast<DWORD>(DIJOFS_Y));
  EXPECT_EQ(created->effectParams.dwDuration, INFINITE);
  EXPECT_EQ(created->effectParams.typeSpecificSize, 48u);
  EXPECT_FALSE(created->effectParams.hasEnvelope);
}

TEST_F(CallLogTest, OnlyTheMembersAFlagNamesAreRead) {
  ComPtr<IDirectInputDevice8A> device = OpenAcquired(wheel);
  EffectBlock block;
  ComPtr<IDirectInputEffect> effect = Create(device.Get(), GUID_ConstantForce, &block.Constant(100));
  // Members the flags leave out may be garbage, as DirectInput allows.
  DIEFFECT gainOnly;
  std::memset(&gainOnly, 0xA5, sizeof(gainOnly));
  gainOnly.dwSize = sizeof(gainOnly);
  gainOnly.dwGain = 4000;
  EXPECT_TRUE(CallsDuring([&] { effect->SetParameters(&gainOnly, DIEP_GAIN); },
                          {{.method = Method::SetParameters, .effect = 0, .result = DI_OK, .flags = DIEP_GAIN,
                            .check = test_support::EffectGain(4000)}}));
  const host::CallRecord& record = host::CallLogAt(0);
  EXPECT_EQ(record.effectParams.typeSpecificSize, 0u);
  EXPECT_EQ(record.effectParams.cAxes, 0u);
  EXPECT_EQ(record.effectParams.dwDuration, 0u);

  // A DirectInput 5 structure ends before dwStartDelay: nothing reads past it (ASan watches).
  auto old = std::make_unique<DIEFFECT_DX5>();
  std::memset(old.get(), 0, sizeof(DIEFFECT_DX5));
  old->dwSize = sizeof(DIEFFECT_DX5);
  EXPECT_EQ(effect->SetParameters(reinterpret_cast<LPCDIEFFECT>(old.get()), DIEP_STARTDELAY), DIERR_INVALIDPARAM);
  EXPECT_EQ(effect->SetParameters(reinterpret_cast<LPCDIEFFECT>(old.get()), DIEP_DURATION), DI_OK);
}

TEST_F(CallLogTest, TheRingKeepsTheNewestRecords) {
  ComPtr<IDirectInputDevice8A> device = OpenAcquired(wheel);
  host::ClearCallLog();
  const size_t extra = 10;
  DIJOYSTATE state;
  for (size_t i = 0; i < host::callLogCapacity + extra; ++i) device->GetDeviceState(sizeof(state), &state);
  EXPECT_EQ(host::CallLogSize(), host::callLogCapacity);
  EXPECT_EQ(host::CallLogDropped(), extra);
  EXPECT_EQ(host::CallLogAt(0).sequence, extra + 1);
  EXPECT_EQ(host::CallLogAt(host::callLogCapacity - 1).sequence, host::callLogCapacity + extra);
  host::ClearCallLog();
  EXPECT_EQ(host::CallLogSize(), 0u);
  EXPECT_EQ(host::CallLogDropped(), 0u);
}

TEST_F(CallLogTest, RecordingCanBeSwitchedOff) {
  ComPtr<IDirectInputDevice8A> device = OpenAcquired(wheel);
  host::ClearCallLog();
  host::SetCallLogEnabled(false);
  DIJOYSTATE state;
  EXPECT_EQ(device->GetDeviceState(sizeof(state), &state), DI_OK);
  EXPECT_EQ(host::CallLogSize(), 0u);
  host::SetCallLogEnabled(true);
  EXPECT_EQ(device->GetDeviceState(sizeof(state), &state), DI_OK);
  EXPECT_EQ(host::CallLogSize(), 1u);
}

TEST_F(CallLogTest, ReferenceCountsAreLoggedPerInterface) {
  ComPtr<IDirectInputDevice8A> device = Open(wheel);
  EXPECT_TRUE(CallsDuring(
      [&] {
        device->AddRef();
        device->Release();
        device.Reset();
      },
      {
          {.method = Method::AddRef, .check = [](const host::CallRecord& r) { return r.value == 2 ? "" : "not 2"; }},
          {.method = Method::Release, .check = [](const host::CallRecord& r) { return r.value == 1 ? "" : "not 1"; }},
          {.method = Method::Release, .check = [](const host::CallRecord& r) { return r.value == 0 ? "" : "not 0"; },
           .comment = "the last reference"},
      }));
}

// --- Fault injection

TEST_F(CallLogTest, AnInjectedFailureChangesNothingAndThenTheCallsRecover) {
  ComPtr<IDirectInputDevice8A> device = OpenAcquired(wheel);
  EffectBlock block;
  ComPtr<IDirectInputEffect> effect = Create(device.Get(), GUID_ConstantForce, &block.Constant(1000));
  ASSERT_TRUE(host::FailNextCalls(Method::SetParameters, 2, DIERR_INPUTLOST));
  EXPECT_EQ(host::PendingFaults(), 2u);
  block.constant.lMagnitude = 7000;
  auto magnitude = [&] {
    DICONSTANTFORCE out{};
    DIEFFECT query{};
    query.dwSize = sizeof(query);
    query.cbTypeSpecificParams = sizeof(out);
    query.lpvTypeSpecificParams = &out;
    EXPECT_EQ(effect->GetParameters(&query, DIEP_TYPESPECIFICPARAMS), DI_OK);
    return out.lMagnitude;
  };
  const std::vector<ExpectedCall> expected = {
      {.method = Method::SetParameters, .effect = 0, .result = DIERR_INPUTLOST,
       .check = [](const host::CallRecord& r) { return r.injected ? "" : "not marked injected"; }},
      {.method = Method::SetParameters, .effect = 0, .result = DIERR_INPUTLOST},
      {.method = Method::SetParameters, .effect = 0, .result = DI_OK, .block = BytesOf(DICONSTANTFORCE{7000}),
       .check = [](const host::CallRecord& r) { return r.injected ? "marked injected" : ""; }},
  };
  EXPECT_TRUE(CallsDuring(
      [&] {
        effect->SetParameters(&block.effect, DIEP_TYPESPECIFICPARAMS);
        EXPECT_EQ(magnitude(), 1000);
        effect->SetParameters(&block.effect, DIEP_TYPESPECIFICPARAMS);
        effect->SetParameters(&block.effect, DIEP_TYPESPECIFICPARAMS);
        EXPECT_EQ(magnitude(), 7000);
      },
      expected, CallFilter{.ignored = {Method::GetParameters}}));
  EXPECT_EQ(host::PendingFaults(), 0u);
}

TEST_F(CallLogTest, FaultsCanBeAimedAtOneDeviceOneEffectOrOneInterface) {
  host::DeviceId other = host::AttachDevice(host::GameControllerDescription("Stick", 0x045E, 0x0099, 2));
  ComPtr<IDirectInputDevice8A> wheelDevice = OpenAcquired(wheel);
  ComPtr<IDirectInputDevice8A> otherDevice = OpenAcquired(other);
  DIJOYSTATE state;

  ASSERT_TRUE(host::FailNextCalls(Method::GetDeviceState, 1, DIERR_INPUTLOST, {.device = other}));
  EXPECT_EQ(wheelDevice->GetDeviceState(sizeof(state), &state), DI_OK);
  EXPECT_EQ(otherDevice->GetDeviceState(sizeof(state), &state), DIERR_INPUTLOST);
  EXPECT_EQ(otherDevice->GetDeviceState(sizeof(state), &state), DI_OK);

  EffectBlock block;
  ComPtr<IDirectInputEffect> first = Create(wheelDevice.Get(), GUID_ConstantForce, &block.Constant(1));
  ComPtr<IDirectInputEffect> second = Create(wheelDevice.Get(), GUID_ConstantForce, &block.Constant(2));
  ASSERT_TRUE(host::FailNextCalls(Method::Start, 1, DIERR_DEVICEFULL, {.device = wheel, .effect = 1}));
  EXPECT_EQ(first->Start(1, 0), DI_OK);
  EXPECT_EQ(second->Start(1, 0), DIERR_DEVICEFULL);
  EXPECT_EQ(second->Start(1, 0), DI_OK);

  unsigned char bytes[2] = {1, 2};
  DIEFFESCAPE escape{sizeof(DIEFFESCAPE), 7, bytes, sizeof(bytes), nullptr, 0};
  ASSERT_TRUE(host::FailNextCalls(Method::Escape, 1, DIERR_DRIVERFIRST + 3, {.iface = host::Interface::Effect}));
  EXPECT_EQ(wheelDevice->Escape(&escape), DI_OK);
  EXPECT_EQ(first->Escape(&escape), DIERR_DRIVERFIRST + 3);

  ASSERT_TRUE(host::FailNextCalls(Method::Poll, 2, DIERR_NOTACQUIRED, {.skip = 2}));
  std::vector<HRESULT> polls;
  for (int i = 0; i < 5; ++i) polls.push_back(wheelDevice->Poll());
  EXPECT_EQ(polls, (std::vector<HRESULT>{DI_NOEFFECT, DI_NOEFFECT, DIERR_NOTACQUIRED, DIERR_NOTACQUIRED, DI_NOEFFECT}));
}

TEST_F(CallLogTest, FailedCreationsHandBackNothing) {
  ASSERT_TRUE(host::FailNextCalls(Method::CreateDevice, 1, DIERR_OUTOFMEMORY));
  ComPtr<IDirectInputDevice8A> device;
  EXPECT_EQ(directInput->CreateDevice(host::DeviceInstanceGuid(wheel), device.Put(), nullptr), DIERR_OUTOFMEMORY);
  EXPECT_FALSE(device);
  EXPECT_EQ(host::LiveObjects().devices, 0);

  device = OpenAcquired(wheel);
  ASSERT_TRUE(host::FailNextCalls(Method::CreateEffect, 1, DIERR_DEVICEFULL));
  EffectBlock block;
  ComPtr<IDirectInputEffect> effect;
  EXPECT_EQ(device->CreateEffect(GUID_ConstantForce, &block.Constant(1), effect.Put(), nullptr), DIERR_DEVICEFULL);
  EXPECT_FALSE(effect);
  EXPECT_EQ(host::LiveObjects().effects, 0);
  // The failed creation did not use up index 0.
  ASSERT_EQ(device->CreateEffect(GUID_ConstantForce, &block.effect, effect.Put(), nullptr), DI_OK);
  EXPECT_EQ(host::CallLogAt(host::CallLogSize() - 1).effect, 0);

  ASSERT_TRUE(host::FailNextCalls(Method::DirectInput8Create, 1, DIERR_OLDDIRECTINPUTVERSION));
  void* out = nullptr;
  EXPECT_EQ(DirectInput8Create(GetModuleHandleA(nullptr), 0x0800, IID_IDirectInput8A, &out, nullptr),
            DIERR_OLDDIRECTINPUTVERSION);
  EXPECT_EQ(out, nullptr);
}

TEST_F(CallLogTest, FaultRulesAreFiniteAndCanBeCleared) {
  EXPECT_FALSE(host::FailNextCalls(Method::Poll, 0, E_FAIL)) << "a rule that fails nothing";
  for (int i = 0; i < host::maxFaultRules; ++i) ASSERT_TRUE(host::FailNextCalls(Method::Poll, 1, E_FAIL));
  EXPECT_FALSE(host::FailNextCalls(Method::Poll, 1, E_FAIL)) << "the table is full";
  EXPECT_EQ(host::PendingFaults(), static_cast<uint32_t>(host::maxFaultRules));
  host::ClearFaults();
  EXPECT_EQ(host::PendingFaults(), 0u);
  ComPtr<IDirectInputDevice8A> device = OpenAcquired(wheel);
  EXPECT_EQ(device->Poll(), DI_NOEFFECT);
}

}  // namespace
}  // namespace dinput_test
