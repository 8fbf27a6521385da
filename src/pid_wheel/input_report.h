// The wheel's input report: what the device returns each time the HID class driver reads it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace sim {
class VirtualWheel;
}

namespace pid_wheel {

inline constexpr uint8_t inputReportId = 1;
// Report ID, X and Y (16 bits each), hat and padding (8 bits), 12 buttons and padding (16 bits).
inline constexpr size_t inputReportLength = 8;
// The axes' logical range, the one the virtual wheel's DLL reports too.
inline constexpr int32_t axisLogicalMin = 0;
inline constexpr int32_t axisLogicalMax = 65535;

using InputReport = std::array<uint8_t, inputReportLength>;

// X is the rim as the encoder reads it; Y (combined pedals) rests in the middle, the hat
// centred, the buttons up.
InputReport MakeInputReport(const sim::VirtualWheel& wheel);

}  // namespace pid_wheel
