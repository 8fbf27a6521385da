#include "host/dinput/device_objects.h"

#include <cstdio>

namespace host::dinput {
namespace {

struct AxisKind {
  const GUID* type;
  WORD usage;
  const char* name;
};

const AxisKind controllerAxes[maxControllerAxes] = {
    {&GUID_XAxis, 0x30, "X Axis"},       {&GUID_YAxis, 0x31, "Y Axis"},     {&GUID_ZAxis, 0x32, "Z Axis"},
    {&GUID_RxAxis, 0x33, "X Rotation"},  {&GUID_RyAxis, 0x34, "Y Rotation"}, {&GUID_RzAxis, 0x35, "Z Rotation"},
    {&GUID_Slider, 0x36, "Slider"},      {&GUID_Slider, 0x36, "Slider"},
};

constexpr WORD genericDesktopPage = 0x01;
constexpr WORD keyboardPage = 0x07;
constexpr WORD buttonPage = 0x09;
constexpr WORD hatSwitchUsage = 0x39;

DeviceObject MakeObject(const GUID& type, DWORD typeFlags, int instance, DWORD objectFlags, DWORD offset, WORD page,
                        WORD usage, const char* name) {
  DeviceObject object{};
  object.type = type;
  object.typeFlags = typeFlags;
  object.instance = static_cast<WORD>(instance);
  object.objectFlags = objectFlags;
  object.nativeOffset = offset;
  object.usagePage = page;
  object.usage = usage;
  std::snprintf(object.name, sizeof(object.name), "%s", name);
  return object;
}

}  // namespace

std::vector<DeviceObject> GameControllerObjects(const DeviceDescription& description) {
  std::vector<DeviceObject> objects;
  for (int axis = 0; axis < description.axes; ++axis) {
    bool actuator = axis < description.actuatorAxes;
    const AxisKind& kind = controllerAxes[axis];
    DeviceObject object = MakeObject(*kind.type, DIDFT_ABSAXIS | (actuator ? DIDFT_FFACTUATOR : 0), axis,
                                     DIDOI_ASPECTPOSITION | (actuator ? DIDOI_FFACTUATOR : 0),
                                     static_cast<DWORD>(axis * sizeof(LONG)), genericDesktopPage, kind.usage, kind.name);
    if (actuator) {
      object.ffMaxForce = DI_FFNOMINALMAX;
      object.ffForceResolution = 1;
    }
    objects.push_back(object);
  }
  for (int pov = 0; pov < description.povs; ++pov) {
    char name[32];
    std::snprintf(name, sizeof(name), "Hat Switch %d", pov);
    objects.push_back(MakeObject(GUID_POV, DIDFT_POV, pov, 0, static_cast<DWORD>(DIJOFS_POV(pov)), genericDesktopPage,
                                 hatSwitchUsage, name));
  }
  for (int button = 0; button < description.buttons; ++button) {
    char name[32];
    std::snprintf(name, sizeof(name), "Button %d", button);
    objects.push_back(MakeObject(GUID_Button, DIDFT_PSHBUTTON, button, 0, static_cast<DWORD>(DIJOFS_BUTTON(button)),
                                 buttonPage, static_cast<WORD>(button + 1), name));
  }
  return objects;
}

std::vector<DeviceObject> KeyboardObjects() {
  std::vector<DeviceObject> objects;
  for (int scanCode = firstKeyScanCode; scanCode <= lastKeyScanCode; ++scanCode) {
    char name[32];
    std::snprintf(name, sizeof(name), "Key 0x%02X", scanCode);
    objects.push_back(MakeObject(GUID_Key, DIDFT_PSHBUTTON, scanCode, 0, static_cast<DWORD>(scanCode), keyboardPage,
                                 static_cast<WORD>(scanCode), name));
  }
  return objects;
}

std::vector<DeviceObject> MouseObjects() {
  std::vector<DeviceObject> objects;
  objects.push_back(MakeObject(GUID_XAxis, DIDFT_RELAXIS, 0, DIDOI_ASPECTPOSITION, 0, genericDesktopPage, 0x30, "X Axis"));
  objects.push_back(MakeObject(GUID_YAxis, DIDFT_RELAXIS, 1, DIDOI_ASPECTPOSITION, 4, genericDesktopPage, 0x31, "Y Axis"));
  objects.push_back(MakeObject(GUID_ZAxis, DIDFT_RELAXIS, 2, DIDOI_ASPECTPOSITION, 8, genericDesktopPage, 0x38, "Wheel"));
  for (int button = 0; button < 3; ++button) {
    char name[32];
    std::snprintf(name, sizeof(name), "Button %d", button);
    objects.push_back(MakeObject(GUID_Button, DIDFT_PSHBUTTON, button, 0, static_cast<DWORD>(12 + button), buttonPage,
                                 static_cast<WORD>(button + 1), name));
  }
  return objects;
}

}  // namespace host::dinput
