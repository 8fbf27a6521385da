#include "report/device_report.h"

void BuildDeviceReport() {
  // The report tree is not built yet; a rebuild request still counts as a refresh.
}
