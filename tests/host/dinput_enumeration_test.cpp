// EnumDevices, CreateDevice and GetDeviceStatus over sets of attached and detached devices.
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/dinput_test_fixture.h"
#include "support/case_name.h"

namespace dinput_test {
namespace {

class Enumeration : public DirectInputTest {
 protected:
  // The wheel, a keyboard, a mouse, a gamepad without force feedback, a one-actuator
  // joystick, and a force-feedback pad that has been unplugged.
  void AttachMixedSet() {
    ASSERT_NE(host::AttachDevice(host::VirtualWheelDescription()), host::noDevice);
    ASSERT_NE(host::AttachDevice(host::KeyboardDescription()), host::noDevice);
    ASSERT_NE(host::AttachDevice(host::MouseDescription()), host::noDevice);
    ASSERT_NE(host::AttachDevice(host::GameControllerDescription("Plain Pad", 0x045E, 0x028E, 0)), host::noDevice);
    host::DeviceDescription stick = host::GameControllerDescription("Rumble Stick", 0x1209, 0x0002, 1);
    stick.devType = DI8DEVTYPE_JOYSTICK | (DI8DEVTYPEJOYSTICK_STANDARD << 8) | DIDEVTYPE_HID;
    ASSERT_NE(host::AttachDevice(stick), host::noDevice);
    host::DeviceId gone = host::AttachDevice(host::GameControllerDescription("Unplugged Pad", 0x1209, 0x0003, 2));
    ASSERT_NE(gone, host::noDevice);
    ASSERT_TRUE(host::DetachDevice(gone));
  }
};

struct FilterCase {
  const char* what;
  DWORD devType;
  DWORD flags;
  std::vector<std::string> names;
};

void PrintTo(const FilterCase& c, std::ostream* out) { *out << c.what; }

class EnumerationFilters : public Enumeration, public testing::WithParamInterface<FilterCase> {};

TEST_P(EnumerationFilters, ListsTheDevicesTheFilterAdmitsInAttachOrder) {
  AttachMixedSet();
  const FilterCase& c = GetParam();
  EXPECT_EQ(EnumeratedNames(c.devType, c.flags), c.names) << c.what;
}

const std::string wheel = "Vantrel Virtual Wheel";

INSTANTIATE_TEST_SUITE_P(
    DeviceSets, EnumerationFilters,
    testing::Values(
        FilterCase{"everything installed", DI8DEVCLASS_ALL, DIEDFL_ALLDEVICES,
                   {wheel, "Keyboard", "Mouse", "Plain Pad", "Rumble Stick", "Unplugged Pad"}},
        FilterCase{"attached only", DI8DEVCLASS_ALL, DIEDFL_ATTACHEDONLY,
                   {wheel, "Keyboard", "Mouse", "Plain Pad", "Rumble Stick"}},
        FilterCase{"game controllers", DI8DEVCLASS_GAMECTRL, DIEDFL_ATTACHEDONLY,
                   {wheel, "Plain Pad", "Rumble Stick"}},
        FilterCase{"force feedback", DI8DEVCLASS_GAMECTRL, DIEDFL_ATTACHEDONLY | DIEDFL_FORCEFEEDBACK,
                   {wheel, "Rumble Stick"}},
        FilterCase{"force feedback, unplugged too", DI8DEVCLASS_ALL, DIEDFL_FORCEFEEDBACK,
                   {wheel, "Rumble Stick", "Unplugged Pad"}},
        FilterCase{"keyboards", DI8DEVCLASS_KEYBOARD, DIEDFL_ATTACHEDONLY, {"Keyboard"}},
        FilterCase{"pointers", DI8DEVCLASS_POINTER, DIEDFL_ATTACHEDONLY, {"Mouse"}},
        FilterCase{"other devices", DI8DEVCLASS_DEVICE, DIEDFL_ALLDEVICES, {}},
        FilterCase{"driving type", DI8DEVTYPE_DRIVING, DIEDFL_ATTACHEDONLY, {wheel}},
        FilterCase{"joystick type", DI8DEVTYPE_JOYSTICK, DIEDFL_ATTACHEDONLY, {"Rumble Stick"}},
        FilterCase{"gamepad type, unplugged too", DI8DEVTYPE_GAMEPAD, DIEDFL_ALLDEVICES,
                   {"Plain Pad", "Unplugged Pad"}}),
    test_support::NamedByWhat());

TEST_F(Enumeration, EmptyRegistryEnumeratesNothing) {
  EXPECT_TRUE(EnumeratedNames(DI8DEVCLASS_ALL, DIEDFL_ALLDEVICES).empty());
}

struct StopCounter {
  int calls = 0;
  int stopAt = 0;
  std::vector<std::string> names;
};

BOOL CALLBACK StopAfter(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
  auto* counter = static_cast<StopCounter*>(context);
  counter->names.push_back(instance->tszInstanceName);
  return ++counter->calls == counter->stopAt ? DIENUM_STOP : DIENUM_CONTINUE;
}

TEST_F(Enumeration, StopsWhenTheCallbackSaysStop) {
  AttachMixedSet();
  for (int stopAt : {1, 2, 5}) {
    StopCounter counter;
    counter.stopAt = stopAt;
    EXPECT_EQ(directInput->EnumDevices(DI8DEVCLASS_ALL, StopAfter, &counter, DIEDFL_ATTACHEDONLY), DI_OK);
    EXPECT_EQ(counter.calls, stopAt);
    std::vector<std::string> all = EnumeratedNames(DI8DEVCLASS_ALL, DIEDFL_ATTACHEDONLY);
    EXPECT_EQ(counter.names, std::vector<std::string>(all.begin(), all.begin() + stopAt));
  }
}

BOOL CALLBACK AnyNonZeroContinues(LPCDIDEVICEINSTANCEA, LPVOID context) {
  ++*static_cast<int*>(context);
  return 7;
}

TEST_F(Enumeration, OnlyZeroStops) {
  AttachMixedSet();
  int calls = 0;
  EXPECT_EQ(directInput->EnumDevices(DI8DEVCLASS_ALL, AnyNonZeroContinues, &calls, DIEDFL_ATTACHEDONLY), DI_OK);
  EXPECT_EQ(calls, 5);
}

struct Instances {
  std::vector<DIDEVICEINSTANCEA> seen;
};

BOOL CALLBACK KeepInstance(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
  static_cast<Instances*>(context)->seen.push_back(*instance);
  return DIENUM_CONTINUE;
}

TEST_F(Enumeration, TwentyDevicesEachWithTheirOwnInstanceAndPidVidProduct) {
  std::vector<host::DeviceId> ids;
  for (int i = 0; i < 20; ++i) {
    std::string name = "Pad " + std::to_string(i);
    host::DeviceId id = host::AttachDevice(
        host::GameControllerDescription(name, 0x045E, static_cast<uint16_t>(0x0100 + i), i % 4 == 3 ? 3 : i % 4));
    ASSERT_NE(id, host::noDevice) << name;
    ids.push_back(id);
  }
  Instances instances;
  ASSERT_EQ(directInput->EnumDevices(DI8DEVCLASS_GAMECTRL, KeepInstance, &instances, DIEDFL_ATTACHEDONLY), DI_OK);
  ASSERT_EQ(instances.seen.size(), 20u);
  for (size_t i = 0; i < 20; ++i) {
    const DIDEVICEINSTANCEA& instance = instances.seen[i];
    EXPECT_EQ(instance.dwSize, 580u);
    EXPECT_EQ(std::string(instance.tszInstanceName), "Pad " + std::to_string(i));
    EXPECT_TRUE(IsEqualGUID(instance.guidInstance, host::DeviceInstanceGuid(ids[i])));
    GUID product{static_cast<DWORD>(0x045E | (0x0100 + i) << 16), 0, 0, {0, 0, 'P', 'I', 'D', 'V', 'I', 'D'}};
    EXPECT_TRUE(IsEqualGUID(instance.guidProduct, product)) << "device " << i;
    for (size_t j = 0; j < i; ++j) {
      EXPECT_FALSE(IsEqualGUID(instance.guidInstance, instances.seen[j].guidInstance)) << i << " and " << j;
    }
    // Every device can be opened and released again.
    ComPtr<IDirectInputDevice8A> device;
    EXPECT_EQ(directInput->CreateDevice(instance.guidInstance, device.Put(), nullptr), DI_OK);
  }
}

TEST_F(Enumeration, TheWheelDescribesItself) {
  host::DeviceId id = host::AttachDevice(host::VirtualWheelDescription());
  Instances instances;
  ASSERT_EQ(directInput->EnumDevices(DI8DEVCLASS_GAMECTRL, KeepInstance, &instances, DIEDFL_FORCEFEEDBACK), DI_OK);
  ASSERT_EQ(instances.seen.size(), 1u);
  const DIDEVICEINSTANCEA& wheelInstance = instances.seen[0];
  EXPECT_EQ(std::string(wheelInstance.tszInstanceName), "Vantrel Virtual Wheel");
  EXPECT_EQ(std::string(wheelInstance.tszProductName), "Vantrel Virtual Wheel");
  EXPECT_EQ(GET_DIDEVICE_TYPE(wheelInstance.dwDevType), DI8DEVTYPE_DRIVING);
  EXPECT_TRUE(wheelInstance.dwDevType & DIDEVTYPE_HID);
  // {00011209-0000-0000-0000-504944564944}
  const GUID product = {0x00011209, 0x0000, 0x0000, {0x00, 0x00, 0x50, 0x49, 0x44, 0x56, 0x49, 0x44}};
  EXPECT_TRUE(IsEqualGUID(wheelInstance.guidProduct, product));
  EXPECT_TRUE(IsEqualGUID(host::ProductGuidFromIds(0x1209, 0x0001), product));
  EXPECT_FALSE(IsEqualGUID(wheelInstance.guidFFDriver, GUID_NULL));
  EXPECT_TRUE(IsEqualGUID(wheelInstance.guidInstance, host::DeviceInstanceGuid(id)));
}

BOOL CALLBACK NeverCalled(LPCDIDEVICEINSTANCEA, LPVOID context) {
  ++*static_cast<int*>(context);
  return DIENUM_CONTINUE;
}

TEST_F(Enumeration, RejectsWhatItCannotHonour) {
  AttachMixedSet();
  int calls = 0;
  EXPECT_EQ(directInput->EnumDevices(DI8DEVCLASS_ALL, nullptr, nullptr, 0), DIERR_INVALIDPARAM);
  EXPECT_EQ(directInput->EnumDevices(DI8DEVCLASS_ALL, NeverCalled, &calls, 0x8), DIERR_INVALIDPARAM);
  EXPECT_EQ(directInput->EnumDevices(5, NeverCalled, &calls, 0), DIERR_INVALIDPARAM);
  EXPECT_EQ(directInput->EnumDevices(0x1D, NeverCalled, &calls, 0), DIERR_INVALIDPARAM);
  EXPECT_EQ(calls, 0);
}

TEST_F(Enumeration, ReplugKeepsTheIdAndThePlace) {
  host::DeviceId first = host::AttachDevice(host::GameControllerDescription("First", 0x045E, 1, 0));
  host::DeviceId second = host::AttachDevice(host::GameControllerDescription("Second", 0x045E, 2, 0));
  GUID firstGuid = host::DeviceInstanceGuid(first);
  ASSERT_TRUE(host::DetachDevice(first));
  EXPECT_EQ(directInput->GetDeviceStatus(firstGuid), DI_NOTATTACHED);
  EXPECT_EQ(EnumeratedNames(DI8DEVCLASS_ALL, DIEDFL_ATTACHEDONLY), std::vector<std::string>{"Second"});

  host::DeviceDescription again = host::GameControllerDescription("First", 0x045E, 1, 0);
  again.instanceGuid = firstGuid;
  EXPECT_EQ(host::AttachDevice(again), first);
  EXPECT_EQ(host::AttachDevice(again), host::noDevice) << "the same device cannot be attached twice";
  host::DetachDevice(first);
  host::DeviceDescription otherControls = host::GameControllerDescription("First", 0x045E, 1, 0, 6);
  otherControls.instanceGuid = firstGuid;
  EXPECT_EQ(host::AttachDevice(otherControls), host::noDevice) << "a re-plugged device has the controls it had";
  EXPECT_TRUE(host::ReattachDevice(first));
  EXPECT_EQ(directInput->GetDeviceStatus(firstGuid), DI_OK);
  EXPECT_EQ(EnumeratedNames(DI8DEVCLASS_ALL, DIEDFL_ATTACHEDONLY), (std::vector<std::string>{"First", "Second"}));
  EXPECT_NE(first, second);
}

TEST_F(Enumeration, CreateDeviceNeedsAPresentDevice) {
  host::DeviceId pad = host::AttachDevice(host::GameControllerDescription("Pad", 0x045E, 1, 0));
  host::AttachDevice(host::KeyboardDescription());
  const GUID unknown = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};

  ComPtr<IDirectInputDevice8A> device;
  EXPECT_EQ(directInput->CreateDevice(unknown, device.Put(), nullptr), DIERR_DEVICENOTREG);
  EXPECT_FALSE(device);
  EXPECT_EQ(directInput->GetDeviceStatus(unknown), DIERR_DEVICENOTREG);
  EXPECT_EQ(directInput->CreateDevice(host::DeviceInstanceGuid(pad), nullptr, nullptr), DIERR_INVALIDPARAM);
  EXPECT_EQ(directInput->CreateDevice(host::DeviceInstanceGuid(pad), device.Put(),
                                      reinterpret_cast<LPUNKNOWN>(directInput.Get())),
            DIERR_NOAGGREGATION);
  EXPECT_FALSE(device);

  host::DetachDevice(pad);
  EXPECT_EQ(directInput->CreateDevice(host::DeviceInstanceGuid(pad), device.Put(), nullptr), DIERR_DEVICENOTREG);

  // The system keyboard GUID stands for the keyboard attached.
  ASSERT_EQ(directInput->CreateDevice(GUID_SysKeyboard, device.Put(), nullptr), DI_OK);
  DIDEVICEINSTANCEA info{};
  info.dwSize = sizeof(info);
  ASSERT_EQ(device->GetDeviceInfo(&info), DI_OK);
  EXPECT_EQ(std::string(info.tszInstanceName), "Keyboard");
  EXPECT_TRUE(IsEqualGUID(info.guidProduct, GUID_SysKeyboard));
  EXPECT_EQ(directInput->CreateDevice(GUID_SysMouse, device.Put(), nullptr), DIERR_DEVICENOTREG);
}

}  // namespace
}  // namespace dinput_test
