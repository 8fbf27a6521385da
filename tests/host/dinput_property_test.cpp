// GetProperty and SetProperty: the properties the program reads and sets, their headers,
// their effect on the state read back, and the ones a device refuses.
#include <string>

#include <gtest/gtest.h>

#include "host/dinput_test_fixture.h"
#include "sim/virtual_wheel.h"

namespace dinput_test {
namespace {

class PropertyTest : public DirectInputTest {
 protected:
  void SetUp() override {
    DirectInputTest::SetUp();
    wheel = host::AttachDevice(host::VirtualWheelDescription());
    ASSERT_NE(wheel, host::noDevice);
    device = OpenAcquired(wheel);
  }
  void TearDown() override {
    device.Reset();
    DirectInputTest::TearDown();
  }

  HRESULT GetDword(REFGUID property, DWORD how, DWORD obj, DWORD* value) {
    DIPROPDWORD p{{sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), obj, how}, 0xDEADBEEF};
    HRESULT result = device->GetProperty(property, &p.diph);
    *value = p.dwData;
    return result;
  }
  HRESULT SetDword(REFGUID property, DWORD how, DWORD obj, DWORD value) {
    DIPROPDWORD p{{sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), obj, how}, value};
    return device->SetProperty(property, &p.diph);
  }
  HRESULT GetRange(REFGUID property, DWORD how, DWORD obj, LONG* low, LONG* high) {
    DIPROPRANGE p{{sizeof(DIPROPRANGE), sizeof(DIPROPHEADER), obj, how}, -1, -1};
    HRESULT result = device->GetProperty(property, &p.diph);
    *low = p.lMin;
    *high = p.lMax;
    return result;
  }
  HRESULT SetRange(DWORD how, DWORD obj, LONG low, LONG high) {
    DIPROPRANGE p{{sizeof(DIPROPRANGE), sizeof(DIPROPHEADER), obj, how}, low, high};
    return device->SetProperty(DIPROP_RANGE, &p.diph);
  }

  host::DeviceId wheel = host::noDevice;
  ComPtr<IDirectInputDevice8A> device;
};

struct DwordCase {
  const char* what;
  const GUID& property;
  DWORD how;
  DWORD obj;
  HRESULT expected;
  DWORD value;  // checked when expected is DI_OK
};

TEST_F(PropertyTest, DwordPropertiesOfTheWheel) {
  const DWORD xById = DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(0);
  const DwordCase cases[] = {
      {"force-feedback gain", DIPROP_FFGAIN, DIPH_DEVICE, 0, DI_OK, 10000},
      {"auto-centre", DIPROP_AUTOCENTER, DIPH_DEVICE, 0, DI_OK, DIPROPAUTOCENTER_ON},
      {"buffer size", DIPROP_BUFFERSIZE, DIPH_DEVICE, 0, DI_OK, 0},
      {"axis mode", DIPROP_AXISMODE, DIPH_DEVICE, 0, DI_OK, DIPROPAXISMODE_ABS},
      {"joystick id", DIPROP_JOYSTICKID, DIPH_DEVICE, 0, DI_OK, 0},
      {"vendor and product", DIPROP_VIDPID, DIPH_DEVICE, 0, DI_OK, 0x00011209},
      {"memory load", DIPROP_FFLOAD, DIPH_DEVICE, 0, DI_OK, 0},
      {"granularity of X", DIPROP_GRANULARITY, DIPH_BYOFFSET, DIJOFS_X, DI_OK, 1},
      {"granularity of the hat", DIPROP_GRANULARITY, DIPH_BYOFFSET, DIJOFS_POV(0), DI_OK, 4500},
      {"granularity of a button", DIPROP_GRANULARITY, DIPH_BYOFFSET, DIJOFS_BUTTON0, DIERR_UNSUPPORTED, 0},
      {"dead zone of X", DIPROP_DEADZONE, DIPH_BYOFFSET, DIJOFS_X, DI_OK, 0},
      {"saturation of X by id", DIPROP_SATURATION, DIPH_BYID, xById, DI_OK, 10000},
      {"calibration mode of Y", DIPROP_CALIBRATIONMODE, DIPH_BYOFFSET, DIJOFS_Y, DI_OK, DIPROPCALIBRATIONMODE_COOKED},
      {"dead zone of the device", DIPROP_DEADZONE, DIPH_DEVICE, 0, DIERR_INVALIDPARAM, 0},
      {"gain of an object", DIPROP_FFGAIN, DIPH_BYOFFSET, DIJOFS_X, DIERR_INVALIDPARAM, 0},
      {"device with an object", DIPROP_FFGAIN, DIPH_DEVICE, DIJOFS_Y, DIERR_INVALIDPARAM, 0},
      {"an offset the format lacks", DIPROP_DEADZONE, DIPH_BYOFFSET, DIJOFS_Z, DIERR_OBJECTNOTFOUND, 0},
      {"an unknown way to name it", DIPROP_DEADZONE, 7, DIJOFS_X, DIERR_INVALIDPARAM, 0},
      {"property 17", MAKEDIPROP(17), DIPH_DEVICE, 0, DIERR_UNSUPPORTED, 0},
      {"a real GUID", GUID_XAxis, DIPH_DEVICE, 0, DIERR_UNSUPPORTED, 0},
  };
  for (const DwordCase& c : cases) {
    DWORD value = 0;
    EXPECT_EQ(GetDword(c.property, c.how, c.obj, &value), c.expected) << c.what;
    if (c.expected == DI_OK) {
      EXPECT_EQ(value, c.value) << c.what;
    }
  }
}

TEST_F(PropertyTest, HeadersMustHaveTheirSizes) {
  DIPROPDWORD gain{{sizeof(DIPROPDWORD), 12, 0, DIPH_DEVICE}, 0};
  EXPECT_EQ(device->GetProperty(DIPROP_FFGAIN, &gain.diph), DIERR_INVALIDPARAM) << "header size";
  DIPROPRANGE range{{sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), DIJOFS_X, DIPH_BYOFFSET}, 0, 0};
  EXPECT_EQ(device->GetProperty(DIPROP_RANGE, &range.diph), DIERR_INVALIDPARAM) << "a range in a DWORD's size";
  EXPECT_EQ(device->GetProperty(DIPROP_FFGAIN, nullptr), DIERR_INVALIDPARAM);
  EXPECT_EQ(device->SetProperty(DIPROP_FFGAIN, nullptr), DIERR_INVALIDPARAM);
}

TEST_F(PropertyTest, RangesOfTheAxes) {
  LONG low = 0;
  LONG high = 0;
  ASSERT_EQ(GetRange(DIPROP_RANGE, DIPH_BYOFFSET, DIJOFS_X, &low, &high), DI_OK);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 65535);
  ASSERT_EQ(GetRange(DIPROP_LOGICALRANGE, DIPH_BYOFFSET, DIJOFS_X, &low, &high), DI_OK);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 65535);
  ASSERT_EQ(GetRange(DIPROP_PHYSICALRANGE, DIPH_BYID, DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(1), &low, &high), DI_OK);
  EXPECT_EQ(high, 65535);
  EXPECT_EQ(GetRange(DIPROP_RANGE, DIPH_DEVICE, 0, &low, &high), DIERR_INVALIDPARAM);
  EXPECT_EQ(GetRange(DIPROP_RANGE, DIPH_BYOFFSET, DIJOFS_BUTTON0, &low, &high), DIERR_UNSUPPORTED);
}

TEST_F(PropertyTest, TheLogicalRangeFollowsTheDescription) {
  host::DeviceDescription narrow = host::GameControllerDescription("Narrow Pad", 0x045E, 0x0042, 0);
  narrow.logicalMin = -512;
  narrow.logicalMax = 511;
  host::DeviceId pad = host::AttachDevice(narrow);
  ComPtr<IDirectInputDevice8A> padDevice = OpenAcquired(pad, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
  DIPROPRANGE range{{sizeof(DIPROPRANGE), sizeof(DIPROPHEADER), DIJOFS_X, DIPH_BYOFFSET}, 0, 0};
  ASSERT_EQ(padDevice->GetProperty(DIPROP_LOGICALRANGE, &range.diph), DI_OK);
  EXPECT_EQ(range.lMin, -512);
  EXPECT_EQ(range.lMax, 511);
  // The logical extremes read as the application's range (0..65535 by default).
  host::SetAxisValue(pad, 0, -512);
  EXPECT_EQ(State(padDevice.Get()).lX, 0);
  host::SetAxisValue(pad, 0, 511);
  EXPECT_EQ(State(padDevice.Get()).lX, 65535);
}

TEST_F(PropertyTest, LogicalRangeCanBeScriptedAsNotImplemented) {
  host::DeviceDescription oddPad = host::GameControllerDescription("Odd Pad", 0x045E, 0x0043, 0);
  oddPad.logicalRangeNotImplemented = true;
  host::DeviceId pad = host::AttachDevice(oddPad);
  ComPtr<IDirectInputDevice8A> padDevice = OpenAcquired(pad, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
  DIPROPRANGE range{{sizeof(DIPROPRANGE), sizeof(DIPROPHEADER), DIJOFS_X, DIPH_BYOFFSET}, 0, 0};
  EXPECT_EQ(padDevice->GetProperty(DIPROP_LOGICALRANGE, &range.diph), E_NOTIMPL);
  EXPECT_EQ(padDevice->GetProperty(DIPROP_RANGE, &range.diph), DI_OK) << "only the logical range is missing";

  LONG low = 0;
  LONG high = 0;
  ASSERT_TRUE(host::SetLogicalRangeNotImplemented(wheel));
  EXPECT_EQ(GetRange(DIPROP_LOGICALRANGE, DIPH_BYOFFSET, DIJOFS_X, &low, &high), E_NOTIMPL);
  ASSERT_TRUE(host::SetLogicalRangeNotImplemented(wheel, false));
  EXPECT_EQ(GetRange(DIPROP_LOGICALRANGE, DIPH_BYOFFSET, DIJOFS_X, &low, &high), DI_OK);
  EXPECT_FALSE(host::SetLogicalRangeNotImplemented(99));
}

TEST_F(PropertyTest, RangeDeadZoneAndSaturationShapeTheReading) {
  host::DeviceId pad = host::AttachDevice(host::GameControllerDescription("Pad", 0x045E, 0x0044, 0));
  ComPtr<IDirectInputDevice8A> padDevice = OpenAcquired(pad, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
  auto setRange = [&](LONG low, LONG high) {
    DIPROPRANGE p{{sizeof(DIPROPRANGE), sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, low, high};
    return padDevice->SetProperty(DIPROP_RANGE, &p.diph);
  };
  auto setX = [&](const GUID& property, DWORD value) {
    DIPROPDWORD p{{sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), DIJOFS_X, DIPH_BYOFFSET}, value};
    return padDevice->SetProperty(property, &p.diph);
  };
  ASSERT_EQ(setRange(-1000, 1000), DI_OK);
  struct Reading {
    LONG logical;  // on 0..65535
    LONG expected;
  };
  auto readX = [&](LONG logical) {
    host::SetAxisValue(pad, 0, logical);
    return State(padDevice.Get()).lX;
  };
  for (Reading r : {Reading{0, -1000}, Reading{65535, 1000}, Reading{49151, 500}}) {
    EXPECT_EQ(readX(r.logical), r.expected) << "plain reading of " << r.logical;
  }
  EXPECT_EQ(State(padDevice.Get()).lY, 0) << "DIPH_DEVICE set every axis";

  ASSERT_EQ(setX(DIPROP_DEADZONE, 2000), DI_OK);    // the inner fifth of each half reads centre
  ASSERT_EQ(setX(DIPROP_SATURATION, 8000), DI_OK);  // the outer fifth reads full
  for (Reading r : {Reading{36000, 0}, Reading{62000, 1000}, Reading{3000, -1000}, Reading{49151, 500}}) {
    EXPECT_EQ(readX(r.logical), r.expected) << "dead zone and saturation, " << r.logical;
  }
  ASSERT_EQ(setX(DIPROP_CALIBRATIONMODE, DIPROPCALIBRATIONMODE_RAW), DI_OK);
  EXPECT_EQ(readX(36000), 36000) << "raw data skips range, dead zone and saturation";

  EXPECT_EQ(setRange(10, 10), DIERR_INVALIDPARAM);
  EXPECT_EQ(setRange(10, -10), DIERR_INVALIDPARAM);
  EXPECT_EQ(setX(DIPROP_DEADZONE, 10001), DIERR_INVALIDPARAM);
  EXPECT_EQ(setX(DIPROP_CALIBRATIONMODE, 2), DIERR_INVALIDPARAM);
}

TEST_F(PropertyTest, ReadOnlyAndForeignProperties) {
  EXPECT_EQ(SetDword(DIPROP_FFLOAD, DIPH_DEVICE, 0, 0), DIERR_READONLY);
  EXPECT_EQ(SetDword(DIPROP_JOYSTICKID, DIPH_DEVICE, 0, 3), DIERR_READONLY);
  EXPECT_EQ(SetDword(DIPROP_GRANULARITY, DIPH_BYOFFSET, DIJOFS_X, 2), DIERR_READONLY);
  EXPECT_EQ(SetRange(DIPH_BYOFFSET, DIJOFS_X, 0, 100), DI_OK);
  DIPROPRANGE logical{{sizeof(DIPROPRANGE), sizeof(DIPROPHEADER), DIJOFS_X, DIPH_BYOFFSET}, 0, 100};
  EXPECT_EQ(device->SetProperty(DIPROP_LOGICALRANGE, &logical.diph), DIERR_READONLY);
  EXPECT_EQ(SetDword(DIPROP_FFGAIN, DIPH_DEVICE, 0, 10001), DIERR_INVALIDPARAM);
  EXPECT_EQ(SetDword(DIPROP_AUTOCENTER, DIPH_DEVICE, 0, 2), DIERR_INVALIDPARAM);
  EXPECT_EQ(SetDword(DIPROP_AXISMODE, DIPH_DEVICE, 0, DIPROPAXISMODE_REL), DIERR_ACQUIRED);

  host::DeviceId keyboard = host::AttachDevice(host::KeyboardDescription());
  ComPtr<IDirectInputDevice8A> keys = Open(keyboard);
  DIPROPDWORD p{{sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, 5000};
  EXPECT_EQ(keys->SetProperty(DIPROP_FFGAIN, &p.diph), DIERR_UNSUPPORTED);
  EXPECT_EQ(keys->GetProperty(DIPROP_AUTOCENTER, &p.diph), DIERR_UNSUPPORTED);
  EXPECT_EQ(keys->GetProperty(DIPROP_VIDPID, &p.diph), DIERR_UNSUPPORTED) << "not a HID device";
  EXPECT_EQ(keys->GetProperty(DIPROP_JOYSTICKID, &p.diph), DIERR_UNSUPPORTED);
}

TEST_F(PropertyTest, NamesAndPath) {
  DIPROPSTRING name{};
  name.diph = {sizeof(DIPROPSTRING), sizeof(DIPROPHEADER), 0, DIPH_DEVICE};
  ASSERT_EQ(device->GetProperty(DIPROP_INSTANCENAME, &name.diph), DI_OK);
  std::u16string wide(reinterpret_cast<const char16_t*>(name.wsz));
  EXPECT_EQ(wide, u"Vantrel Virtual Wheel");
  ASSERT_EQ(device->GetProperty(DIPROP_PRODUCTNAME, &name.diph), DI_OK);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(name.wsz)), u"Vantrel Virtual Wheel");

  const char16_t renamed[] = u"Bench Wheel";
  std::copy(renamed, renamed + sizeof(renamed) / sizeof(renamed[0]), name.wsz);
  ASSERT_EQ(device->SetProperty(DIPROP_INSTANCENAME, &name.diph), DI_OK);
  DIDEVICEINSTANCEA info{};
  info.dwSize = sizeof(info);
  ASSERT_EQ(device->GetDeviceInfo(&info), DI_OK);
  EXPECT_EQ(std::string(info.tszInstanceName), "Bench Wheel");
  EXPECT_EQ(std::string(info.tszProductName), "Vantrel Virtual Wheel");

  DIPROPGUIDANDPATH path{};
  path.diph = {sizeof(DIPROPGUIDANDPATH), sizeof(DIPROPHEADER), 0, DIPH_DEVICE};
  ASSERT_EQ(device->GetProperty(DIPROP_GUIDANDPATH, &path.diph), DI_OK);
  const GUID hidClass = {0x745A17A0, 0x74D3, 0x11D0, {0xB6, 0xFE, 0x00, 0xA0, 0xC9, 0x0F, 0x57, 0xDA}};
  EXPECT_TRUE(IsEqualGUID(path.guidClass, hidClass));
  std::u16string devicePath(reinterpret_cast<const char16_t*>(path.wszPath));
  EXPECT_NE(devicePath.find(u"vid_1209&pid_0001"), std::u16string::npos);
}

TEST_F(PropertyTest, GainAndAutoCentreReachTheWheel) {
  sim::VirtualWheel* rim = host::VirtualWheelOf(wheel);
  ASSERT_NE(rim, nullptr);
  EXPECT_TRUE(rim->Parameters().autoCenterEnabled);
  ASSERT_EQ(SetDword(DIPROP_AUTOCENTER, DIPH_DEVICE, 0, DIPROPAUTOCENTER_OFF), DI_OK);
  EXPECT_FALSE(rim->Parameters().autoCenterEnabled);
  EXPECT_EQ(DeviceProperty(device.Get(), DIPROP_AUTOCENTER), static_cast<DWORD>(DIPROPAUTOCENTER_OFF));
  ASSERT_EQ(SetDword(DIPROP_FFGAIN, DIPH_DEVICE, 0, 2500), DI_OK);
  EXPECT_DOUBLE_EQ(rim->Parameters().deviceGain, 0.25);
  EXPECT_EQ(DeviceProperty(device.Get(), DIPROP_FFGAIN), 2500u);
}

TEST_F(PropertyTest, MemoryLoadNeedsExclusiveAccessAndCountsDownloads) {
  EffectBlock block;
  ComPtr<IDirectInputEffect> first = Create(device.Get(), GUID_ConstantForce, &block.Constant(1000));
  ComPtr<IDirectInputEffect> second = Create(device.Get(), GUID_Spring, &block.Condition(MakeCondition(0, 5000)));
  DWORD load = 0;
  ASSERT_EQ(GetDword(DIPROP_FFLOAD, DIPH_DEVICE, 0, &load), DI_OK);
  EXPECT_EQ(load, 2u * 100 / 32);
  ComPtr<IDirectInputDevice8A> shared = OpenAcquired(wheel, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
  DIPROPDWORD p{{sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, 0};
  EXPECT_EQ(shared->GetProperty(DIPROP_FFLOAD, &p.diph), DIERR_NOTEXCLUSIVEACQUIRED);
}

}  // namespace
}  // namespace dinput_test
