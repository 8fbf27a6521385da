#include "host/dinput_test_fixture.h"

#include "host/system.h"

namespace dinput_test {

EffectBlock::EffectBlock() { Reset(1); }

void EffectBlock::Reset(DWORD axisCount) {
  axes[0] = DIJOFS_X;
  axes[1] = DIJOFS_Y;
  axes[2] = DIJOFS_Z;
  for (LONG& direction : directions) direction = 0;
  constant = DICONSTANTFORCE{};
  for (DICONDITION& condition : conditions) condition = DICONDITION{};
  envelope = DIENVELOPE{sizeof(DIENVELOPE), 0, 0, 0, 0};
  effect = DIEFFECT{};
  effect.dwSize = sizeof(DIEFFECT);
  effect.dwFlags = DIEFF_CARTESIAN | DIEFF_OBJECTOFFSETS;
  effect.dwDuration = INFINITE;
  effect.dwGain = DI_FFNOMINALMAX;
  effect.dwTriggerButton = DIEB_NOTRIGGER;
  effect.cAxes = axisCount;
  effect.rgdwAxes = axes;
  effect.rglDirection = directions;
}

DIEFFECT& EffectBlock::Constant(LONG magnitude, DWORD axisCount, LONG dirX, LONG dirY) {
  Reset(axisCount);
  directions[0] = dirX;
  directions[1] = dirY;
  constant.lMagnitude = magnitude;
  effect.cbTypeSpecificParams = sizeof(DICONSTANTFORCE);
  effect.lpvTypeSpecificParams = &constant;
  return effect;
}

DIEFFECT& EffectBlock::Condition(const DICONDITION& condition, DWORD axisCount, DWORD blocks) {
  Reset(axisCount);
  directions[0] = 1;
  for (DWORD i = 0; i < blocks && i < 3; ++i) conditions[i] = condition;
  effect.cbTypeSpecificParams = blocks * sizeof(DICONDITION);
  effect.lpvTypeSpecificParams = conditions;
  return effect;
}

DICONDITION MakeCondition(LONG offset, LONG coefficient, DWORD saturation, LONG deadBand) {
  return DICONDITION{offset, coefficient, coefficient, saturation, saturation, deadBand};
}

void DirectInputTest::SetUp() {
  host::ResetDirectInput();
  host::UseVirtualClock(100000);
  ASSERT_EQ(host::CreateDirectInput(IID_IDirectInput8A, directInput.PutVoid()), DI_OK);
}

void DirectInputTest::TearDown() {
  directInput.Reset();
  host::LiveObjectCounts live = host::LiveObjects();
  EXPECT_EQ(live.directInput, 0) << "DirectInput objects left alive";
  EXPECT_EQ(live.devices, 0) << "device objects left alive";
  EXPECT_EQ(live.effects, 0) << "effect objects left alive";
  host::ResetDirectInput();
  host::UseRealClock();
}

ComPtr<IDirectInputDevice8A> DirectInputTest::Open(host::DeviceId device) {
  ComPtr<IDirectInputDevice8A> opened;
  EXPECT_EQ(directInput->CreateDevice(host::DeviceInstanceGuid(device), opened.Put(), nullptr), DI_OK);
  return opened;
}

ComPtr<IDirectInputDevice8A> DirectInputTest::OpenAcquired(host::DeviceId device, DWORD level) {
  ComPtr<IDirectInputDevice8A> opened = Open(device);
  if (!opened) return opened;
  EXPECT_EQ(opened->SetDataFormat(&c_dfDIJoystick), DI_OK);
  EXPECT_EQ(opened->SetCooperativeLevel(TestWindow(), level), DI_OK);
  EXPECT_EQ(opened->Acquire(), DI_OK);
  return opened;
}

ComPtr<IDirectInputEffect> DirectInputTest::Create(IDirectInputDevice8A* device, REFGUID type,
                                                   const DIEFFECT* parameters) {
  ComPtr<IDirectInputEffect> effect;
  EXPECT_EQ(device->CreateEffect(type, parameters, effect.Put(), nullptr), DI_OK);
  return effect;
}

DIJOYSTATE DirectInputTest::State(IDirectInputDevice8A* device) {
  DIJOYSTATE state{};
  EXPECT_EQ(device->GetDeviceState(sizeof(state), &state), DI_OK);
  return state;
}

DWORD DirectInputTest::DeviceProperty(IDirectInputDevice8A* device, REFGUID property) {
  DIPROPDWORD value{{sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, 0xDEADBEEF};
  EXPECT_EQ(device->GetProperty(property, &value.diph), DI_OK);
  return value.dwData;
}

namespace {

BOOL CALLBACK CollectName(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
  static_cast<std::vector<std::string>*>(context)->push_back(instance->tszInstanceName);
  return DIENUM_CONTINUE;
}

}  // namespace

std::vector<std::string> DirectInputTest::EnumeratedNames(DWORD devType, DWORD flags) {
  std::vector<std::string> names;
  EXPECT_EQ(directInput->EnumDevices(devType, CollectName, &names, flags), DI_OK);
  return names;
}

}  // namespace dinput_test
