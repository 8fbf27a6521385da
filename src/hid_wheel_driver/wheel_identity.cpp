#include "hid_wheel_driver/wheel_identity.h"

namespace hid_wheel_driver {

const wchar_t* WheelString(USHORT id) {
  switch (id) {
    case 1:
    case 14:
      return L"Vantrel";
    case 2:
    case 15:
      return L"Vantrel HID Wheel";
    case 3:
    case 16:
      return L"VANTREL-HID-0001";
    default:
      return nullptr;
  }
}

}  // namespace hid_wheel_driver
