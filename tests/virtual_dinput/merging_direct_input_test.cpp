// The DLL's DirectInput over a scripted system DirectInput and the stand-in with the
// virtual wheel: what is listed and in which order, where each call goes, and the virtual
// wheel alone when the system's DirectInput can't be had.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/debug_output.h"
#include "host/dinput/live_objects.h"
#include "support/com_ptr.h"
#include "virtual_dinput/merging_direct_input.h"
#include "virtual_dinput/scripted_system_dinput.h"
#include "virtual_dinput/virtual_wheel_standin.h"

namespace virtual_dinput_test {
namespace {

using test_support::ComPtr;

constexpr GUID realWheelGuid = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x01}};
constexpr GUID padGuid = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x02}};
constexpr const char* systemPath = "C:\\windows\\system32\\dinput8.dll";
constexpr const char* wheelName = "Vantrel Virtual Wheel";

struct Listing {
  std::vector<std::string> names;
  int stopAfter = -1;  // stop when this many have been listed; -1: never
};

BOOL CALLBACK ListDevice(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
  auto* listing = static_cast<Listing*>(context);
  listing->names.push_back(instance->tszInstanceName);
  if (listing->stopAfter >= 0 && static_cast<int>(listing->names.size()) >= listing->stopAfter) return DIENUM_STOP;
  return DIENUM_CONTINUE;
}

class MergingDirectInputTest : public testing::Test {
 protected:
  void SetUp() override {
    system_.AddDevice("Real Wheel", realWheelGuid, DI8DEVTYPE_DRIVING);
    system_.AddDevice("Pad", padGuid, DI8DEVTYPE_GAMEPAD);
    UseSystemFactory(&system_, DI_OK);
    LoadedSystemDirectInput() = {ScriptedDirectInput8Create, systemPath, ""};
    host::ClearDebugOutput();
    liveDirectInputs_ = host::LiveObjects().directInput;
  }

  void TearDown() override {
    // Every object the DLL made is gone again, and it keeps no reference on the system's.
    EXPECT_EQ(host::LiveObjects().directInput, liveDirectInputs_);
    EXPECT_EQ(system_.references, 1u);
  }

  HRESULT Create(ComPtr<IDirectInput8A>& out, DWORD version = DIRECTINPUT_VERSION,
                 REFIID riid = IID_IDirectInput8A) {
    return virtual_dinput::CreateMergingDirectInput(GetModuleHandleA(nullptr), version, riid, out.PutVoid(),
                                                    nullptr);
  }

  static Listing List(IDirectInput8A* directInput, DWORD type, DWORD flags, int stopAfter = -1,
                      HRESULT* result = nullptr) {
    Listing listing;
    listing.stopAfter = stopAfter;
    HRESULT hr = directInput->EnumDevices(type, ListDevice, &listing, flags);
    if (result != nullptr) *result = hr;
    return listing;
  }

  ScriptedSystemDirectInput system_;
  int liveDirectInputs_ = 0;
};

TEST_F(MergingDirectInputTest, ListsTheSystemsDevicesFirstAndThenTheVirtualWheel) {
  ComPtr<IDirectInput8A> directInput;
  ASSERT_EQ(Create(directInput), DI_OK);
  EXPECT_EQ(SystemFactoryCalls(), 1);
  EXPECT_EQ(host::DebugOutputCallCount(), 0u);

  HRESULT hr = E_FAIL;
  Listing listing = List(directInput.Get(), DI8DEVCLASS_GAMECTRL, DIEDFL_ATTACHEDONLY | DIEDFL_FORCEFEEDBACK, -1, &hr);
  EXPECT_EQ(hr, DI_OK);
  EXPECT_EQ(listing.names, (std::vector<std::string>{"Real Wheel", "Pad", wheelName}));
  // The caller's filter reaches the system unchanged.
  EXPECT_EQ(system_.lastEnumType, static_cast<DWORD>(DI8DEVCLASS_GAMECTRL));
  EXPECT_EQ(system_.lastEnumFlags, static_cast<DWORD>(DIEDFL_ATTACHEDONLY | DIEDFL_FORCEFEEDBACK));

  // The stand-in applies the same filter to the wheel: it is no keyboard.
  listing = List(directInput.Get(), DI8DEVCLASS_KEYBOARD, DIEDFL_ATTACHEDONLY);
  EXPECT_EQ(listing.names, (std::vector<std::string>{"Real Wheel", "Pad"}));
}

TEST_F(MergingDirectInputTest, TheCallersStopEndsTheWholeEnumeration) {
  ComPtr<IDirectInput8A> directInput;
  ASSERT_EQ(Create(directInput), DI_OK);
  struct Case {
    int stopAfter;
    std::vector<std::string> listed;
  };
  const Case cases[] = {
      {1, {"Real Wheel"}},
      {2, {"Real Wheel", "Pad"}},  // the last of the system's: the wheel is not offered
      {3, {"Real Wheel", "Pad", wheelName}},
  };
  for (const Case& c : cases) {
    HRESULT hr = E_FAIL;
    Listing listing = List(directInput.Get(), DI8DEVCLASS_GAMECTRL, DIEDFL_ATTACHEDONLY, c.stopAfter, &hr);
    EXPECT_EQ(hr, DI_OK) << "stop after " << c.stopAfter;
    EXPECT_EQ(listing.names, c.listed) << "stop after " << c.stopAfter;
  }
}

TEST_F(MergingDirectInputTest, EnumerationErrorsAreTheCallers) {
  ComPtr<IDirectInput8A> directInput;
  ASSERT_EQ(Create(directInput), DI_OK);
  EXPECT_EQ(directInput->EnumDevices(DI8DEVCLASS_GAMECTRL, nullptr, nullptr, DIEDFL_ATTACHEDONLY),
            DIERR_INVALIDPARAM);

  // A filter the system refuses is refused, and the wheel is not listed after it.
  system_.enumResult = DIERR_INVALIDPARAM;
  HRESULT hr = DI_OK;
  Listing listing = List(directInput.Get(), 0x7F, DIEDFL_ATTACHEDONLY, -1, &hr);
  EXPECT_EQ(hr, DIERR_INVALIDPARAM);
  EXPECT_TRUE(listing.names.empty());
}

TEST_F(MergingDirectInputTest, EachDeviceIsCreatedAndAskedForByItsOwner) {
  ComPtr<IDirectInput8A> directInput;
  ASSERT_EQ(Create(directInput), DI_OK);
  const GUID wheel = virtual_dinput::VirtualWheelGuid();

  ComPtr<IDirectInputDevice8A> device;
  ASSERT_EQ(directInput->CreateDevice(wheel, device.Put(), nullptr), DI_OK);
  DIDEVICEINSTANCEA info{};
  info.dwSize = sizeof(info);
  ASSERT_EQ(device->GetDeviceInfo(&info), DI_OK);
  EXPECT_STREQ(info.tszInstanceName, wheelName);
  EXPECT_EQ(directInput->GetDeviceStatus(wheel), DI_OK);
  EXPECT_TRUE(system_.createdGuids.empty());
  EXPECT_TRUE(system_.statusGuids.empty());

  ComPtr<IDirectInputDevice8A> real;
  EXPECT_EQ(directInput->CreateDevice(realWheelGuid, real.Put(), nullptr), DIERR_ACQUIRED);
  EXPECT_EQ(directInput->GetDeviceStatus(padGuid), DI_OK);
  ASSERT_EQ(system_.createdGuids.size(), 1u);
  EXPECT_TRUE(IsEqualGUID(system_.createdGuids[0], realWheelGuid));
  ASSERT_EQ(system_.statusGuids.size(), 1u);
  EXPECT_TRUE(IsEqualGUID(system_.statusGuids[0], padGuid));
  // An instance neither knows is the system's to refuse.
  EXPECT_EQ(directInput->GetDeviceStatus(GUID{}), DIERR_DEVICENOTREG);
  EXPECT_EQ(system_.statusGuids.size(), 2u);
}

TEST_F(MergingDirectInputTest, CallsWithoutADeviceGoToTheSystem) {
  ComPtr<IDirectInput8A> directInput;
  ASSERT_EQ(Create(directInput), DI_OK);
  GUID found{};
  EXPECT_EQ(directInput->RunControlPanel(nullptr, 0), DI_OK);
  EXPECT_EQ(directInput->FindDevice(GUID_Joystick, "\\\\?\\hid#vid_1209", &found), DI_OK);
  EXPECT_TRUE(IsEqualGUID(found, realWheelGuid));
  EXPECT_EQ(directInput->EnumDevicesBySemantics(nullptr, nullptr, nullptr, nullptr, 0), DI_OK);
  EXPECT_EQ(directInput->ConfigureDevices(nullptr, nullptr, 0, nullptr), DI_OK);
  EXPECT_EQ(directInput->Initialize(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION), DI_OK);
  EXPECT_EQ(system_.calls, (std::vector<std::string>{"RunControlPanel", "FindDevice", "EnumDevicesBySemantics",
                                                     "ConfigureDevices", "Initialize"}));
  // Initialize's version check is the stand-in's too: a bad one never reaches the system.
  EXPECT_EQ(directInput->Initialize(GetModuleHandleA(nullptr), 0x0700), DIERR_BETADIRECTINPUTVERSION);
  EXPECT_EQ(system_.calls.size(), 5u);
}

TEST_F(MergingDirectInputTest, OneObjectUntilItsLastRelease) {
  ComPtr<IDirectInput8A> directInput;
  ASSERT_EQ(Create(directInput), DI_OK);
  EXPECT_EQ(system_.references, 2u);
  ComPtr<IUnknown> unknown;
  ASSERT_EQ(directInput->QueryInterface(IID_IUnknown, unknown.PutVoid()), S_OK);
  EXPECT_EQ(static_cast<void*>(unknown.Get()), static_cast<void*>(directInput.Get()));
  void* other = &other;
  EXPECT_EQ(directInput->QueryInterface(IID_IDirectInputDevice8A, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  unknown.Reset();
  EXPECT_EQ(system_.references, 2u);
  directInput.Reset();
  EXPECT_EQ(system_.references, 1u);
}

TEST_F(MergingDirectInputTest, CreationIsCheckedBeforeTheSystemIsAsked) {
  struct Case {
    const char* what;
    DWORD version;
    GUID riid;
    HRESULT expected;
  };
  const Case cases[] = {
      {"older version", 0x0700, IID_IDirectInput8A, DIERR_BETADIRECTINPUTVERSION},
      {"newer version", 0x0900, IID_IDirectInput8A, DIERR_OLDDIRECTINPUTVERSION},
      {"other interface", DIRECTINPUT_VERSION, IID_IDirectInputDevice8A, DIERR_NOINTERFACE},
  };
  for (const Case& c : cases) {
    ComPtr<IDirectInput8A> directInput;
    EXPECT_EQ(Create(directInput, c.version, c.riid), c.expected) << c.what;
    EXPECT_FALSE(directInput) << c.what;
    EXPECT_EQ(SystemFactoryCalls(), 0) << c.what;
  }
  EXPECT_EQ(virtual_dinput::CreateMergingDirectInput(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION,
                                                     IID_IDirectInput8A, nullptr, nullptr),
            DIERR_INVALIDPARAM);
}

TEST_F(MergingDirectInputTest, WithoutTheSystemsDirectInputTheWheelIsAlone) {
  struct Case {
    virtual_dinput::SystemDirectInput loaded;
    HRESULT factoryResult;
    const char* trace;
  };
  const Case cases[] = {
      {{nullptr, "", "GetSystemDirectoryA failed (error 5)"},
       DI_OK,
       "dinput8 (virtual wheel): system DirectInput not available, GetSystemDirectoryA failed (error 5); "
       "the virtual wheel alone\n"},
      {{nullptr, systemPath, "LoadLibraryA failed (error 126)"},
       DI_OK,
       "dinput8 (virtual wheel): system DirectInput not available, C:\\windows\\system32\\dinput8.dll: "
       "LoadLibraryA failed (error 126); the virtual wheel alone\n"},
      {{ScriptedDirectInput8Create, systemPath, ""},
       DIERR_OLDDIRECTINPUTVERSION,
       "dinput8 (virtual wheel): system DirectInput not available, C:\\windows\\system32\\dinput8.dll: "
       "DirectInput8Create failed (0x8007047e); the virtual wheel alone\n"},
  };
  for (const Case& c : cases) {
    host::ClearDebugOutput();
    LoadedSystemDirectInput() = c.loaded;
    UseSystemFactory(&system_, c.factoryResult);
    system_.calls.clear();

    ComPtr<IDirectInput8A> directInput;
    ASSERT_EQ(Create(directInput), DI_OK) << c.trace;
    EXPECT_EQ(host::DebugOutputText(), c.trace);
    Listing listing = List(directInput.Get(), DI8DEVCLASS_GAMECTRL, DIEDFL_ATTACHEDONLY);
    EXPECT_EQ(listing.names, std::vector<std::string>{wheelName}) << c.trace;
    // The stand-in answers what the system would have.
    EXPECT_EQ(directInput->GetDeviceStatus(realWheelGuid), DIERR_DEVICENOTREG) << c.trace;
    EXPECT_EQ(directInput->RunControlPanel(nullptr, 0), DIERR_UNSUPPORTED) << c.trace;
    EXPECT_EQ(directInput->GetDeviceStatus(virtual_dinput::VirtualWheelGuid()), DI_OK) << c.trace;
    EXPECT_TRUE(system_.calls.empty()) << c.trace;
  }
}

}  // namespace
}  // namespace virtual_dinput_test
