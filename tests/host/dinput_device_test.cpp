// IDirectInputDevice8A: structure sizes, acquisition (unplug and focus included),
// cooperative levels, data formats, device state, objects, capabilities and lifetimes.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/dinput_test_fixture.h"

namespace dinput_test {
namespace {

using Device = IDirectInputDevice8A;

class DeviceTest : public DirectInputTest {
 protected:
  void SetUp() override {
    DirectInputTest::SetUp();
    wheel = host::AttachDevice(host::VirtualWheelDescription());
    ASSERT_NE(wheel, host::noDevice);
  }
  host::DeviceId wheel = host::noDevice;
};

// --- dwSize checks

struct SizeCase {
  const char* call;
  DWORD size;
  HRESULT expected;
};

HRESULT CallWithSize(Device* device, const std::string& call, DWORD size) {
  // Room for the largest structure any of these calls takes.
  alignas(8) unsigned char buffer[1024] = {};
  std::memcpy(buffer, &size, sizeof(size));
  if (call == "GetCapabilities") return device->GetCapabilities(reinterpret_cast<LPDIDEVCAPS>(buffer));
  if (call == "GetDeviceInfo") return device->GetDeviceInfo(reinterpret_cast<LPDIDEVICEINSTANCEA>(buffer));
  if (call == "GetObjectInfo") {
    return device->GetObjectInfo(reinterpret_cast<LPDIDEVICEOBJECTINSTANCEA>(buffer), DIJOFS_X, DIPH_BYOFFSET);
  }
  if (call == "GetEffectInfo") {
    return device->GetEffectInfo(reinterpret_cast<LPDIEFFECTINFOA>(buffer), GUID_ConstantForce);
  }
  if (call == "Escape") {
    DIEFFESCAPE escape{};
    escape.dwSize = size;
    return device->Escape(&escape);
  }
  if (call == "GetProperty") {
    DIPROPDWORD gain{{size, sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, 0};
    return device->GetProperty(DIPROP_FFGAIN, &gain.diph);
  }
  if (call == "CreateEffect") {
    EffectBlock block;
    block.Constant(1000).dwSize = size;
    ComPtr<IDirectInputEffect> effect;
    return device->CreateEffect(GUID_ConstantForce, &block.effect, effect.Put(), nullptr);
  }
  ADD_FAILURE() << "no such call " << call;
  return E_FAIL;
}

TEST_F(DeviceTest, StructureSizesAreChecked) {
  const SizeCase cases[] = {
      {"GetCapabilities", sizeof(DIDEVCAPS), DI_OK},
      {"GetCapabilities", sizeof(DIDEVCAPS_DX3), DI_OK},
      {"GetCapabilities", sizeof(DIDEVCAPS) + 4, DIERR_INVALIDPARAM},
      {"GetCapabilities", 0, DIERR_INVALIDPARAM},
      {"GetDeviceInfo", 580, DI_OK},
      {"GetDeviceInfo", sizeof(DIDEVICEINSTANCE_DX3A), DI_OK},
      {"GetDeviceInfo", 584, DIERR_INVALIDPARAM},
      {"GetObjectInfo", sizeof(DIDEVICEOBJECTINSTANCEA), DI_OK},
      {"GetObjectInfo", sizeof(DIDEVICEOBJECTINSTANCE_DX3A), DI_OK},
      {"GetObjectInfo", sizeof(DIDEVICEOBJECTINSTANCEA) - 4, DIERR_INVALIDPARAM},
      {"GetEffectInfo", sizeof(DIEFFECTINFOA), DI_OK},
      {"GetEffectInfo", sizeof(DIEFFECTINFOA) + 4, DIERR_INVALIDPARAM},
      {"Escape", sizeof(DIEFFESCAPE), DI_OK},
      {"Escape", 28, DIERR_INVALIDPARAM},  // the 32-bit size
      {"GetProperty", sizeof(DIPROPDWORD), DI_OK},
      {"GetProperty", sizeof(DIPROPRANGE), DIERR_INVALIDPARAM},
      {"CreateEffect", sizeof(DIEFFECT), DI_OK},
      {"CreateEffect", sizeof(DIEFFECT_DX5), DI_OK},
      {"CreateEffect", 56, DIERR_INVALIDPARAM},  // the 32-bit DirectInput 6 size
  };
  ComPtr<Device> device = OpenAcquired(wheel);
  for (const SizeCase& c : cases) {
    EXPECT_EQ(CallWithSize(device.Get(), c.call, c.size), c.expected) << c.call << " with dwSize " << c.size;
  }
}

// --- Acquisition

struct Step {
  const char* what;
  std::function<HRESULT(Device*)> call;
  HRESULT expected;
};

HRESULT ReadState(Device* device) {
  DIJOYSTATE state;
  return device->GetDeviceState(sizeof(state), &state);
}

HRESULT SetBufferSize(Device* device) {
  DIPROPDWORD size{{sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, 16};
  return device->SetProperty(DIPROP_BUFFERSIZE, &size.diph);
}

void RunSteps(Device* device, const std::vector<Step>& steps) {
  for (size_t i = 0; i < steps.size(); ++i) {
    EXPECT_EQ(steps[i].call(device), steps[i].expected) << "step " << i + 1 << ": " << steps[i].what;
  }
}

TEST_F(DeviceTest, AcquisitionFollowsDirectInputsRules) {
  ComPtr<Device> device = Open(wheel);
  auto format = [](Device* d) { return d->SetDataFormat(&c_dfDIJoystick); };
  auto level = [](Device* d) { return d->SetCooperativeLevel(TestWindow(), DISCL_EXCLUSIVE | DISCL_FOREGROUND); };
  RunSteps(device.Get(), {
                             {"read before acquiring", ReadState, DIERR_NOTACQUIRED},
                             {"poll before acquiring", [](Device* d) { return d->Poll(); }, DIERR_NOTACQUIRED},
                             {"acquire without a format", [](Device* d) { return d->Acquire(); }, DIERR_INVALIDPARAM},
                             {"set the format", format, DI_OK},
                             {"set the level", level, DI_OK},
                             {"acquire", [](Device* d) { return d->Acquire(); }, DI_OK},
                             {"acquire again", [](Device* d) { return d->Acquire(); }, S_FALSE},
                             {"format while acquired", format, DIERR_ACQUIRED},
                             {"level while acquired", level, DIERR_ACQUIRED},
                             {"buffer size while acquired", SetBufferSize, DIERR_ACQUIRED},
                             {"poll a device that needs none", [](Device* d) { return d->Poll(); }, DI_NOEFFECT},
                             {"read", ReadState, DI_OK},
                             {"unacquire", [](Device* d) { return d->Unacquire(); }, DI_OK},
                             {"unacquire again", [](Device* d) { return d->Unacquire(); }, DI_NOEFFECT},
                             {"read after", ReadState, DIERR_NOTACQUIRED},
                             {"buffer size when not acquired", SetBufferSize, DI_OK},
                         });
}

TEST_F(DeviceTest, UnpluggingLosesTheDeviceUntilItComesBack) {
  ComPtr<Device> device = OpenAcquired(wheel);
  ASSERT_TRUE(host::DetachDevice(wheel));
  RunSteps(device.Get(), {
                             {"read", ReadState, DIERR_INPUTLOST},
                             {"read again", ReadState, DIERR_INPUTLOST},
                             {"poll", [](Device* d) { return d->Poll(); }, DIERR_INPUTLOST},
                             {"acquire while unplugged", [](Device* d) { return d->Acquire(); }, DIERR_UNPLUGGED},
                             {"still lost", ReadState, DIERR_INPUTLOST},
                         });
  DIDEVCAPS caps{};
  caps.dwSize = sizeof(caps);
  ASSERT_EQ(device->GetCapabilities(&caps), DI_OK);
  EXPECT_FALSE(caps.dwFlags & DIDC_ATTACHED);

  ASSERT_TRUE(host::ReattachDevice(wheel));
  RunSteps(device.Get(), {
                             {"acquire once back", [](Device* d) { return d->Acquire(); }, DI_OK},
                             {"read", ReadState, DI_OK},
                         });
  // Unacquire ends the lost state: a device unplugged while unacquired is just not acquired.
  ASSERT_TRUE(host::DetachDevice(wheel));
  RunSteps(device.Get(), {
                             {"unacquire the lost device", [](Device* d) { return d->Unacquire(); }, DI_NOEFFECT},
                             {"read", ReadState, DIERR_NOTACQUIRED},
                         });
}

TEST_F(DeviceTest, ForegroundDevicesLoseFocusBackgroundOnesDoNot) {
  host::DeviceId pad = host::AttachDevice(host::GameControllerDescription("Pad", 0x045E, 0x028E, 0));
  ComPtr<Device> foreground = OpenAcquired(wheel, DISCL_EXCLUSIVE | DISCL_FOREGROUND);
  ComPtr<Device> background = OpenAcquired(pad, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);

  host::SetApplicationActive(false);
  EXPECT_EQ(ReadState(foreground.Get()), DIERR_INPUTLOST);
  EXPECT_EQ(ReadState(background.Get()), DI_OK);
  EXPECT_EQ(foreground->Acquire(), DIERR_OTHERAPPHASPRIO);
  EXPECT_EQ(ReadState(foreground.Get()), DIERR_INPUTLOST);

  host::SetApplicationActive(true);
  EXPECT_EQ(foreground->Acquire(), DI_OK);
  EXPECT_EQ(ReadState(foreground.Get()), DI_OK);
}

TEST_F(DeviceTest, OnlyOneInterfaceHoldsADeviceExclusively) {
  ComPtr<Device> first = OpenAcquired(wheel, DISCL_EXCLUSIVE | DISCL_BACKGROUND);
  ComPtr<Device> second = Open(wheel);
  ASSERT_EQ(second->SetDataFormat(&c_dfDIJoystick), DI_OK);
  ASSERT_EQ(second->SetCooperativeLevel(TestWindow(), DISCL_EXCLUSIVE | DISCL_BACKGROUND), DI_OK);
  EXPECT_EQ(second->Acquire(), DIERR_OTHERAPPHASPRIO);
  ComPtr<Device> third = OpenAcquired(wheel, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
  EXPECT_EQ(ReadState(third.Get()), DI_OK);
  ASSERT_EQ(first->Unacquire(), DI_OK);
  EXPECT_EQ(second->Acquire(), DI_OK);
}

struct LevelCase {
  DWORD flags;
  bool window;
  bool keyboard;
  HRESULT expected;
};

TEST_F(DeviceTest, CooperativeLevelsAreValidated) {
  host::DeviceId keyboard = host::AttachDevice(host::KeyboardDescription());
  const LevelCase cases[] = {
      {DISCL_EXCLUSIVE | DISCL_FOREGROUND, true, false, DI_OK},
      {DISCL_NONEXCLUSIVE | DISCL_BACKGROUND, true, false, DI_OK},
      {DISCL_NONEXCLUSIVE | DISCL_BACKGROUND, false, false, DI_OK},
      {DISCL_EXCLUSIVE | DISCL_BACKGROUND, false, false, E_HANDLE},
      {DISCL_NONEXCLUSIVE | DISCL_FOREGROUND, false, false, E_HANDLE},
      {DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND, true, false, DIERR_INVALIDPARAM},
      {DISCL_EXCLUSIVE | DISCL_FOREGROUND | DISCL_BACKGROUND, true, false, DIERR_INVALIDPARAM},
      {DISCL_EXCLUSIVE, true, false, DIERR_INVALIDPARAM},
      {DISCL_FOREGROUND, true, false, DIERR_INVALIDPARAM},
      {DISCL_EXCLUSIVE | DISCL_FOREGROUND | 0x100, true, false, DIERR_INVALIDPARAM},
      {DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_NOWINKEY, true, true, DI_OK},
      {DISCL_EXCLUSIVE | DISCL_BACKGROUND, true, true, DIERR_UNSUPPORTED},
  };
  ComPtr<Device> wheelDevice = Open(wheel);
  ComPtr<Device> keyboardDevice = Open(keyboard);
  for (const LevelCase& c : cases) {
    Device* device = c.keyboard ? keyboardDevice.Get() : wheelDevice.Get();
    EXPECT_EQ(device->SetCooperativeLevel(c.window ? TestWindow() : nullptr, c.flags), c.expected)
        << "flags 0x" << std::hex << c.flags << (c.window ? " with" : " without") << " a window"
        << (c.keyboard ? " on the keyboard" : "");
  }
}

// --- Data formats and state

TEST_F(DeviceTest, DataFormatsAreValidated) {
  ComPtr<Device> device = Open(wheel);
  DIOBJECTDATAFORMAT zAxis = {&GUID_ZAxis, 0, DIDFT_AXIS | DIDFT_ANYINSTANCE, 0};
  DIOBJECTDATAFORMAT optionalZ = {&GUID_ZAxis, 0, DIDFT_AXIS | DIDFT_ANYINSTANCE | DIDFT_OPTIONAL, 0};
  DIOBJECTDATAFORMAT xAxis = {&GUID_XAxis, 0, DIDFT_AXIS | DIDFT_ANYINSTANCE, 0};
  DIOBJECTDATAFORMAT misplaced = {&GUID_XAxis, 2, DIDFT_AXIS | DIDFT_ANYINSTANCE, 0};
  DIOBJECTDATAFORMAT beyond = {nullptr, 8, DIDFT_BUTTON | DIDFT_ANYINSTANCE, 0};
  struct FormatCase {
    const char* what;
    DIDATAFORMAT format;
    HRESULT expected;
  };
  const FormatCase cases[] = {
      {"the joystick format", c_dfDIJoystick, DI_OK},
      {"wrong structure size", {28, sizeof(DIOBJECTDATAFORMAT), DIDF_ABSAXIS, 80, 0, nullptr}, DIERR_INVALIDPARAM},
      {"wrong object size", {sizeof(DIDATAFORMAT), 16, DIDF_ABSAXIS, 80, 0, nullptr}, DIERR_INVALIDPARAM},
      {"size not a multiple of 4", {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_ABSAXIS, 6, 0, nullptr},
       DIERR_INVALIDPARAM},
      {"both axis modes", {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_ABSAXIS | DIDF_RELAXIS, 4, 0, nullptr},
       DIERR_INVALIDPARAM},
      {"a required axis the wheel lacks", {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), 0, 4, 1, &zAxis},
       DIERR_INVALIDPARAM},
      {"an optional axis the wheel lacks", {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), 0, 4, 1, &optionalZ},
       DI_OK},
      {"a required axis the wheel has", {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), 0, 4, 1, &xAxis}, DI_OK},
      {"an axis off its 4-byte place", {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), 0, 8, 1, &misplaced},
       DIERR_INVALIDPARAM},
      {"an object past the end", {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), 0, 8, 1, &beyond},
       DIERR_INVALIDPARAM},
  };
  for (const FormatCase& c : cases) EXPECT_EQ(device->SetDataFormat(&c.format), c.expected) << c.what;
  EXPECT_EQ(device->SetDataFormat(nullptr), DIERR_INVALIDPARAM);
}

TEST_F(DeviceTest, StateCarriesTheScriptedInputsInTheJoystickLayout) {
  host::DeviceId pad = host::AttachDevice(host::GameControllerDescription("Pad", 0x045E, 0x028E, 0, 6, 10, 1));
  ComPtr<Device> device = OpenAcquired(pad, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
  DIJOYSTATE rest = State(device.Get());
  EXPECT_EQ(rest.lX, 32767);
  EXPECT_EQ(rest.lRz, 32767);
  EXPECT_EQ(rest.rgdwPOV[0], 0xFFFFFFFFu);
  EXPECT_EQ(rest.rgdwPOV[1], 0xFFFFFFFFu) << "a POV the pad lacks reads centred";
  EXPECT_EQ(rest.rglSlider[0], 0) << "an axis the pad lacks reads 0";

  ASSERT_TRUE(host::SetAxisValue(pad, 0, 0));
  ASSERT_TRUE(host::SetAxisValue(pad, 5, 65535));
  ASSERT_TRUE(host::SetButton(pad, 3, true));
  ASSERT_TRUE(host::SetPov(pad, 0, 9000));
  EXPECT_FALSE(host::SetButton(pad, 10, true)) << "the pad has buttons 0 to 9";
  DIJOYSTATE moved = State(device.Get());
  EXPECT_EQ(moved.lX, 0);
  EXPECT_EQ(moved.lRz, 65535);
  EXPECT_EQ(moved.rgbButtons[3], 0x80);
  EXPECT_EQ(moved.rgbButtons[2], 0);
  EXPECT_EQ(moved.rgdwPOV[0], 9000u);

  DIJOYSTATE state;
  EXPECT_EQ(device->GetDeviceState(sizeof(state) - 4, &state), DIERR_INVALIDPARAM);
  EXPECT_EQ(device->GetDeviceState(sizeof(state), nullptr), DIERR_INVALIDPARAM);
}

TEST_F(DeviceTest, APolledDeviceReportsWhatTheLastPollSaw) {
  host::DeviceDescription description = host::GameControllerDescription("Polled Pad", 0x045E, 0x0001, 0);
  description.needsPolling = true;
  host::DeviceId pad = host::AttachDevice(description);
  ComPtr<Device> device = OpenAcquired(pad, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
  host::SetAxisValue(pad, 0, 1000);
  EXPECT_EQ(State(device.Get()).lX, 32767) << "not polled since acquiring";
  EXPECT_EQ(device->Poll(), DI_OK);
  EXPECT_EQ(State(device.Get()).lX, 1000);
  DIDEVCAPS caps{};
  caps.dwSize = sizeof(caps);
  ASSERT_EQ(device->GetCapabilities(&caps), DI_OK);
  EXPECT_TRUE(caps.dwFlags & DIDC_POLLEDDEVICE);
}

TEST_F(DeviceTest, KeyboardAndMouseReportInTheirOwnFormats) {
  host::DeviceId keyboard = host::AttachDevice(host::KeyboardDescription());
  host::DeviceId mouse = host::AttachDevice(host::MouseDescription());

  // A 256-byte key array, one optional button per scan code.
  std::vector<DIOBJECTDATAFORMAT> keys(256);
  for (DWORD i = 0; i < 256; ++i) keys[i] = {&GUID_Key, i, DIDFT_BUTTON | DIDFT_MAKEINSTANCE(i) | DIDFT_OPTIONAL, 0};
  DIDATAFORMAT keyFormat = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS, 256, 256, keys.data()};
  ComPtr<Device> keys256 = Open(keyboard);
  ASSERT_EQ(keys256->SetDataFormat(&keyFormat), DI_OK);
  ASSERT_EQ(keys256->SetCooperativeLevel(TestWindow(), DISCL_NONEXCLUSIVE | DISCL_FOREGROUND), DI_OK);
  ASSERT_EQ(keys256->Acquire(), DI_OK);
  ASSERT_TRUE(host::SetButton(keyboard, 0x1E, true));  // the A key's scan code
  unsigned char pressed[256];
  ASSERT_EQ(keys256->GetDeviceState(sizeof(pressed), pressed), DI_OK);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(pressed[i], i == 0x1E ? 0x80 : 0) << "key " << i;

  DIOBJECTDATAFORMAT mouseObjects[] = {
      {&GUID_XAxis, 0, DIDFT_AXIS | DIDFT_ANYINSTANCE, 0},
      {&GUID_YAxis, 4, DIDFT_AXIS | DIDFT_ANYINSTANCE, 0},
      {nullptr, 8, DIDFT_BUTTON | DIDFT_ANYINSTANCE | DIDFT_OPTIONAL, 0},
  };
  DIDATAFORMAT mouseFormat = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS, 12, 3, mouseObjects};
  ComPtr<Device> pointer = Open(mouse);
  ASSERT_EQ(pointer->SetDataFormat(&mouseFormat), DI_OK);
  ASSERT_EQ(pointer->Acquire(), DI_OK);
  struct {
    LONG x;
    LONG y;
    BYTE button;
    BYTE pad[3];
  } motion{};
  host::SetAxisValue(mouse, 0, 40);
  host::SetAxisValue(mouse, 1, -15);
  ASSERT_EQ(pointer->GetDeviceState(sizeof(motion), &motion), DI_OK);
  EXPECT_EQ(motion.x, 40);
  EXPECT_EQ(motion.y, -15);
  ASSERT_EQ(pointer->GetDeviceState(sizeof(motion), &motion), DI_OK);
  EXPECT_EQ(motion.x, 0) << "relative axes report the movement since the last read";
  host::SetAxisValue(mouse, 0, 50);
  ASSERT_EQ(pointer->GetDeviceState(sizeof(motion), &motion), DI_OK);
  EXPECT_EQ(motion.x, 10);
}

TEST_F(DeviceTest, BufferedDataIsAnEmptyBuffer) {
  ComPtr<Device> device = Open(wheel);
  DIDEVICEOBJECTDATA data[4];
  DWORD count = 4;
  ASSERT_EQ(device->SetDataFormat(&c_dfDIJoystick), DI_OK);
  ASSERT_EQ(device->Acquire(), DI_OK);
  EXPECT_EQ(device->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), data, &count, 0), DIERR_NOTBUFFERED);
  ASSERT_EQ(device->Unacquire(), DI_OK);
  ASSERT_EQ(SetBufferSize(device.Get()), DI_OK);
  EXPECT_EQ(device->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), data, &count, 0), DIERR_NOTACQUIRED);
  ASSERT_EQ(device->Acquire(), DI_OK);
  EXPECT_EQ(device->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), data, &count, 0), DI_OK);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(device->GetDeviceData(20, data, &count, 0), DIERR_INVALIDPARAM);
}

// --- Objects and capabilities

struct ObjectSeen {
  std::string name;
  DWORD offset;
  DWORD type;
  DWORD flags;
};

BOOL CALLBACK CollectObject(LPCDIDEVICEOBJECTINSTANCEA object, LPVOID context) {
  EXPECT_EQ(object->dwSize, sizeof(DIDEVICEOBJECTINSTANCEA));
  static_cast<std::vector<ObjectSeen>*>(context)->push_back(
      {object->tszName, object->dwOfs, object->dwType, object->dwFlags});
  return DIENUM_CONTINUE;
}

std::vector<std::string> Names(const std::vector<ObjectSeen>& objects) {
  std::vector<std::string> names;
  for (const ObjectSeen& object : objects) names.push_back(object.name);
  return names;
}

TEST_F(DeviceTest, EnumObjectsFiltersByTypeAndAttribute) {
  host::DeviceId stick = host::AttachDevice(host::GameControllerDescription("Stick", 0x045E, 0x0010, 1, 3, 2, 1));
  ComPtr<Device> device = Open(stick);
  struct FilterCase {
    DWORD flags;
    std::vector<std::string> names;
  };
  const FilterCase cases[] = {
      {DIDFT_ALL, {"X Axis", "Y Axis", "Z Axis", "Hat Switch 0", "Button 0", "Button 1"}},
      {DIDFT_AXIS, {"X Axis", "Y Axis", "Z Axis"}},
      {DIDFT_ABSAXIS, {"X Axis", "Y Axis", "Z Axis"}},
      {DIDFT_RELAXIS, {}},
      {DIDFT_AXIS | DIDFT_FFACTUATOR, {"X Axis"}},
      {DIDFT_FFACTUATOR, {"X Axis"}},
      {DIDFT_BUTTON, {"Button 0", "Button 1"}},
      {DIDFT_POV, {"Hat Switch 0"}},
      {DIDFT_BUTTON | DIDFT_POV, {"Hat Switch 0", "Button 0", "Button 1"}},
      {DIDFT_BUTTON | DIDFT_FFEFFECTTRIGGER, {}},
  };
  for (const FilterCase& c : cases) {
    std::vector<ObjectSeen> seen;
    ASSERT_EQ(device->EnumObjects(CollectObject, &seen, c.flags), DI_OK);
    EXPECT_EQ(Names(seen), c.names) << "flags 0x" << std::hex << c.flags;
  }
  std::vector<ObjectSeen> axes;
  ASSERT_EQ(device->EnumObjects(CollectObject, &axes, DIDFT_AXIS), DI_OK);
  ASSERT_EQ(axes.size(), 3u);
  EXPECT_TRUE(axes[0].flags & DIDOI_FFACTUATOR);
  EXPECT_TRUE(axes[0].type & DIDFT_FFACTUATOR);
  EXPECT_FALSE(axes[1].flags & DIDOI_FFACTUATOR);
  EXPECT_EQ(DIDFT_GETINSTANCE(axes[2].type), 2);
  EXPECT_EQ(device->EnumObjects(nullptr, nullptr, DIDFT_ALL), DIERR_INVALIDPARAM);
}

TEST_F(DeviceTest, ObjectsAreFoundByOffsetIdAndUsage) {
  ComPtr<Device> device = Open(wheel);
  DIDEVICEOBJECTINSTANCEA object{};
  object.dwSize = sizeof(object);
  EXPECT_EQ(device->GetObjectInfo(&object, DIJOFS_Y, DIPH_BYOFFSET), DIERR_OBJECTNOTFOUND) << "no format yet";
  ASSERT_EQ(device->SetDataFormat(&c_dfDIJoystick), DI_OK);

  ASSERT_EQ(device->GetObjectInfo(&object, DIJOFS_Y, DIPH_BYOFFSET), DI_OK);
  EXPECT_EQ(std::string(object.tszName), "Y Axis");
  EXPECT_TRUE(IsEqualGUID(object.guidType, GUID_YAxis));
  EXPECT_EQ(object.dwOfs, static_cast<DWORD>(DIJOFS_Y));
  EXPECT_EQ(object.dwFlags & DIDOI_FFACTUATOR, static_cast<DWORD>(DIDOI_FFACTUATOR));

  ASSERT_EQ(device->GetObjectInfo(&object, DIDFT_BUTTON | DIDFT_MAKEINSTANCE(4), DIPH_BYID), DI_OK);
  EXPECT_EQ(std::string(object.tszName), "Button 4");
  EXPECT_EQ(object.dwOfs, static_cast<DWORD>(DIJOFS_BUTTON(4)));

  ASSERT_EQ(device->GetObjectInfo(&object, DIMAKEUSAGEDWORD(0x01, 0x30), DIPH_BYUSAGE), DI_OK);
  EXPECT_EQ(std::string(object.tszName), "X Axis");

  EXPECT_EQ(device->GetObjectInfo(&object, DIJOFS_Z, DIPH_BYOFFSET), DIERR_OBJECTNOTFOUND);
  EXPECT_EQ(device->GetObjectInfo(&object, DIDFT_BUTTON | DIDFT_MAKEINSTANCE(12), DIPH_BYID), DIERR_OBJECTNOTFOUND);
  EXPECT_EQ(device->GetObjectInfo(&object, 0, DIPH_DEVICE), DIERR_INVALIDPARAM);
}

TEST_F(DeviceTest, CapabilitiesDescribeTheDevice) {
  host::DeviceId keyboard = host::AttachDevice(host::KeyboardDescription());
  ComPtr<Device> wheelDevice = Open(wheel);
  ComPtr<Device> keyboardDevice = Open(keyboard);
  DIDEVCAPS caps{};
  caps.dwSize = sizeof(caps);
  ASSERT_EQ(wheelDevice->GetCapabilities(&caps), DI_OK);
  EXPECT_EQ(caps.dwFlags & (DIDC_ATTACHED | DIDC_FORCEFEEDBACK | DIDC_POLLEDDEVICE),
            static_cast<DWORD>(DIDC_ATTACHED | DIDC_FORCEFEEDBACK));
  EXPECT_EQ(GET_DIDEVICE_TYPE(caps.dwDevType), DI8DEVTYPE_DRIVING);
  EXPECT_EQ(caps.dwAxes, 2u);
  EXPECT_EQ(caps.dwButtons, 12u);
  EXPECT_EQ(caps.dwPOVs, 1u);
  EXPECT_GT(caps.dwFFSamplePeriod, 0u);
  EXPECT_GT(caps.dwFFMinTimeResolution, 0u);

  DIDEVCAPS_DX3 old{};
  old.dwSize = sizeof(old);
  ASSERT_EQ(keyboardDevice->GetCapabilities(reinterpret_cast<LPDIDEVCAPS>(&old)), DI_OK);
  EXPECT_EQ(old.dwFlags, static_cast<DWORD>(DIDC_ATTACHED));
  EXPECT_EQ(old.dwButtons, 0x58u);
  EXPECT_EQ(GET_DIDEVICE_TYPE(old.dwDevType), DI8DEVTYPE_KEYBOARD);
}

// --- Creation and lifetimes

TEST_F(DeviceTest, DirectInput8CreateChecksItsArguments) {
  HINSTANCE module = GetModuleHandleA(nullptr);
  struct CreateCase {
    const char* what;
    HINSTANCE hinst;
    DWORD version;
    const IID* iid;
    bool outer;
    HRESULT expected;
  };
  const CreateCase cases[] = {
      {"the usual call", module, 0x0800, &IID_IDirectInput8A, false, DI_OK},
      {"as IUnknown", module, 0x0800, &IID_IUnknown, false, DI_OK},
      {"the wide interface", module, 0x0800, &IID_IDirectInput8W, false, DIERR_NOINTERFACE},
      {"a newer version", module, 0x0900, &IID_IDirectInput8A, false, DIERR_OLDDIRECTINPUTVERSION},
      {"an older version", module, 0x0700, &IID_IDirectInput8A, false, DIERR_BETADIRECTINPUTVERSION},
      {"no module", nullptr, 0x0800, &IID_IDirectInput8A, false, DIERR_INVALIDPARAM},
      {"aggregated", module, 0x0800, &IID_IDirectInput8A, true, DIERR_NOAGGREGATION},
  };
  for (const CreateCase& c : cases) {
    void* out = reinterpret_cast<void*>(1);
    HRESULT result = DirectInput8Create(c.hinst, c.version, *c.iid, &out,
                                        c.outer ? reinterpret_cast<LPUNKNOWN>(directInput.Get()) : nullptr);
    EXPECT_EQ(result, c.expected) << c.what;
    if (SUCCEEDED(result)) {
      ASSERT_NE(out, nullptr);
      static_cast<IUnknown*>(out)->Release();
    } else {
      EXPECT_EQ(out, nullptr) << c.what;
    }
  }
  EXPECT_EQ(DirectInput8Create(module, 0x0800, IID_IDirectInput8A, nullptr, nullptr), DIERR_INVALIDPARAM);
}

TEST_F(DeviceTest, ObjectsLiveWhileAnythingHoldsThem) {
  ComPtr<Device> device = OpenAcquired(wheel);
  EffectBlock block;
  ComPtr<IDirectInputEffect> effect = Create(device.Get(), GUID_ConstantForce, &block.Constant(1000));
  EXPECT_EQ(host::LiveObjects().devices, 1);
  EXPECT_EQ(host::LiveObjects().effects, 1);

  // Released in the "wrong" order: the effect keeps its device, the device its DirectInput.
  directInput.Reset();
  device.Reset();
  EXPECT_EQ(host::LiveObjects().directInput, 1);
  EXPECT_EQ(host::LiveObjects().devices, 1);
  EXPECT_EQ(effect->Start(1, 0), DI_OK) << "the device was still acquired";
  effect.Reset();
  EXPECT_EQ(host::LiveObjects().directInput, 0);
  EXPECT_EQ(host::LiveObjects().devices, 0);
  EXPECT_EQ(host::LiveObjects().effects, 0);
}

TEST_F(DeviceTest, QueryInterfaceAndReferenceCounts) {
  ComPtr<Device> device = Open(wheel);
  ComPtr<IUnknown> unknown;
  ASSERT_EQ(device->QueryInterface(IID_IUnknown, unknown.PutVoid()), S_OK);
  EXPECT_EQ(static_cast<void*>(unknown.Get()), static_cast<void*>(device.Get()));
  ComPtr<IUnknown> wide;
  EXPECT_EQ(device->QueryInterface(IID_IDirectInputDevice8W, wide.PutVoid()), E_NOINTERFACE);
  EXPECT_FALSE(wide);
  EXPECT_EQ(device->QueryInterface(IID_IDirectInputDevice8A, nullptr), E_POINTER);
  EXPECT_EQ(device->AddRef(), 3u);
  EXPECT_EQ(device->Release(), 2u);
}

}  // namespace
}  // namespace dinput_test
