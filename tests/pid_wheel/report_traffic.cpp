#include "pid_wheel/report_traffic.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

namespace pid_wheel_test {

std::vector<uint8_t> Bytes(const std::string& hex) {
  std::vector<uint8_t> bytes;
  std::istringstream in(hex);
  std::string token;
  while (in >> token) bytes.push_back(static_cast<uint8_t>(std::stoul(token, nullptr, 16)));
  return bytes;
}

namespace {

std::string Hex(const uint8_t* bytes, size_t size) {
  std::string text;
  for (size_t i = 0; i < size; ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, i == 0 ? "%02x" : " %02x", bytes[i]);
    text += byte;
  }
  return text;
}

}  // namespace

void Play(pid_wheel::PidDevice& device, const std::vector<Traffic>& traffic) {
  for (size_t row = 0; row < traffic.size(); ++row) {
    const Traffic& t = traffic[row];
    std::vector<uint8_t> bytes = Bytes(t.bytes);
    std::string where = "row " + std::to_string(row) + " (" + t.comment + ")";
    switch (t.direction) {
      case Direction::Output:
        EXPECT_EQ(device.WriteOutputReport(bytes), t.accepted) << where;
        break;
      case Direction::SetFeature:
        EXPECT_EQ(device.SetFeatureReport(bytes), t.accepted) << where;
        break;
      case Direction::GetFeature: {
        uint8_t buffer[pid_wheel::featureReportLength] = {};
        size_t length = device.GetFeatureReport(bytes.at(0), buffer);
        EXPECT_EQ(Hex(buffer, length), Hex(bytes.data(), bytes.size())) << where;
        break;
      }
      case Direction::Input: {
        std::array<uint8_t, pid_wheel::inputReportLength> buffer{};
        size_t length = device.NextInputReport(buffer);
        EXPECT_EQ(Hex(buffer.data(), length), Hex(bytes.data(), bytes.size())) << where;
        break;
      }
    }
  }
}

}  // namespace pid_wheel_test
