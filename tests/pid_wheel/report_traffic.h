// Device traffic as data: the reports a host sends to the wheel, in order, with what the
// wheel must answer, written as hex bytes the way a USB trace shows them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pid_wheel/pid_device.h"

namespace pid_wheel_test {

enum class Direction {
  Output,      // the host writes an output report; `accepted` says whether the wheel takes it
  SetFeature,  // the host sets a feature report
  GetFeature,  // the host reads feature report bytes[0]; the wheel must answer exactly `bytes`
  Input,       // the next input report the wheel returns must be exactly `bytes`
};

struct Traffic {
  Direction direction;
  std::string bytes;  // "01 02 ff"
  const char* comment;
  bool accepted = true;
};

std::vector<uint8_t> Bytes(const std::string& hex);

// Plays the table against the device; every mismatch is a test failure naming its row.
void Play(pid_wheel::PidDevice& device, const std::vector<Traffic>& traffic);

}  // namespace pid_wheel_test
