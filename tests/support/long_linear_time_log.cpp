#include "support/long_linear_time_log.h"

#include <cmath>
#include <cstdio>

std::string LongLinearTimeLog(int rows) {
  // 900 degrees on the 0..65535 axis; 4096 counts per turn; 69 rad/s^2 from rest, levelling
  // off at 12 rad/s; the end stop 440 degrees away.
  constexpr double degreesPerRaw = 900.0 / 65535.0;
  constexpr double rawPerCount = 65535.0 / (4096 * 2.5);
  constexpr double topSpeed = 12.0 * 180.0 / 3.14159265358979;  // deg/s
  constexpr double timeConstant = 12.0 / 69.0;                 // s
  std::string text = "count, time (ms), startX, endX, deltaX, deltaXDeg\r\n";
  char line[96];
  for (int i = 0; i < rows; ++i) {
    const int ms = i + 1;
    const double t = ms / 1000.0;
    double degrees = topSpeed * (t - timeConstant * (1.0 - std::exp(-t / timeConstant)));
    degrees = std::min(degrees, 440.0);
    const int raw = static_cast<int>(std::floor(degrees / degreesPerRaw / rawPerCount) * rawPerCount);
    const int deltaX = static_cast<int>(raw * degreesPerRaw * 20000.0 / 900.0);
    std::snprintf(line, sizeof line, "%d, %d, %d, %d, %d, %f\r\n", i, ms, 3, 3 + deltaX, deltaX,
                  -raw * degreesPerRaw);
    text += line;
  }
  return text;
}
