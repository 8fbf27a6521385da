#include "pid_wheel/input_report.h"

#include "sim/virtual_wheel.h"

namespace pid_wheel {

namespace {

void PutUint16(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value & 0xFF);
  at[1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

}  // namespace

InputReport MakeInputReport(const sim::VirtualWheel& wheel) {
  InputReport report{};
  report[0] = inputReportId;
  PutUint16(&report[1], static_cast<uint32_t>(wheel.AxisValue(axisLogicalMin, axisLogicalMax)));
  PutUint16(&report[3], static_cast<uint32_t>(axisLogicalMin + (axisLogicalMax - axisLogicalMin) / 2));
  // Hat 0 is outside its logical 1..8: the null state, centred. Buttons all up.
  report[5] = 0;
  report[6] = 0;
  report[7] = 0;
  return report;
}

}  // namespace pid_wheel
