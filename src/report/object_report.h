// One device object's subtree in the report: identity, force-feedback limits, its nine
// properties, type and flag breakdowns and HID attributes.
#pragma once

#include "platform/platform.h"

// EnumObjects callback; reference is the group line the object goes under. Always continues.
BOOL CALLBACK ReportDeviceObject(LPCDIDEVICEOBJECTINSTANCEA object, LPVOID reference);
