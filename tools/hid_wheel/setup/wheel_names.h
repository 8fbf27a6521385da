// The names that tie the HID wheel's driver, its INF and its device together.
#pragma once

namespace hid_wheel_setup {

// The root-enumerated device's instance and the hardware id the INF's model line matches
// (Wine compares hardware ids case-sensitively, so one spelling everywhere).
inline constexpr wchar_t deviceInstanceId[] = L"ROOT\\VANTRELHIDWHEEL\\0000";
// The HID class driver names its device after the root device's.
inline constexpr wchar_t hidDeviceInstanceId[] = L"HID\\VANTRELHIDWHEEL\\0000";
inline constexpr wchar_t hardwareId[] = L"Root\\VantrelHidWheel";
inline constexpr wchar_t serviceName[] = L"vantrel_hid_wheel";
inline constexpr wchar_t driverFileName[] = L"vantrel_hid_wheel.sys";
inline constexpr char productName[] = "Vantrel HID Wheel";

}  // namespace hid_wheel_setup
