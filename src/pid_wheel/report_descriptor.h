// The HID wheel's report descriptor: what a HID class driver parses to learn the wheel's
// input report (axes, hat, buttons) and the force-feedback reports it accepts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace pid_wheel {

std::span<const uint8_t> ReportDescriptor();

}  // namespace pid_wheel
