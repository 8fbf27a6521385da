#include "pid_wheel/report_descriptor.h"

namespace pid_wheel {

namespace {

// Short items: the low two bits of the prefix give the data size (1, 2 or 4 bytes follow).
constexpr uint8_t descriptor[] = {
    0x05, 0x01,        // Usage Page (Generic Desktop)
    0x09, 0x04,        // Usage (Joystick): wheels report themselves as joysticks
    0xA1, 0x01,        // Collection (Application)
    0x05, 0x02,        //   Usage Page (Simulation Controls)
    0x09, 0x02,        //   Usage (Automobile Simulation Device): makes it a driving device
    0xA1, 0x00,        //   Collection (Physical)
    0x85, 0x01,        //     Report ID (1)
    0x05, 0x01,        //     Usage Page (Generic Desktop)
    0x15, 0x00,        //     Logical Minimum (0)
    0x27, 0xFF, 0xFF, 0x00, 0x00,  // Logical Maximum (65535)
    0x75, 0x10,        //     Report Size (16)
    0x95, 0x01,        //     Report Count (1)
    // X and Y in main items of their own, X first: effect axes given by offset are matched
    // against the order the class driver lists them in.
    0x09, 0x30,        //     Usage (X): the rim
    0x81, 0x02,        //     Input (Data, Variable, Absolute)
    0x09, 0x31,        //     Usage (Y): combined pedals
    0x81, 0x02,        //     Input (Data, Variable, Absolute)
    0x09, 0x39,        //     Usage (Hat Switch)
    0x15, 0x01,        //     Logical Minimum (1)
    0x25, 0x08,        //     Logical Maximum (8)
    0x35, 0x00,        //     Physical Minimum (0)
    0x46, 0x3B, 0x01,  //     Physical Maximum (315)
    0x65, 0x14,        //     Unit (degrees)
    0x75, 0x04,        //     Report Size (4)
    0x95, 0x01,        //     Report Count (1)
    0x81, 0x42,        //     Input (Data, Variable, Absolute, Null State)
    0x65, 0x00,        //     Unit (none)
    0x45, 0x00,        //     Physical Maximum (0)
    0x81, 0x01,        //     Input (Constant): 4 bits of padding
    0x05, 0x09,        //     Usage Page (Button)
    0x19, 0x01,        //     Usage Minimum (1)
    0x29, 0x0C,        //     Usage Maximum (12)
    0x15, 0x00,        //     Logical Minimum (0)
    0x25, 0x01,        //     Logical Maximum (1)
    0x75, 0x01,        //     Report Size (1)
    0x95, 0x0C,        //     Report Count (12)
    0x81, 0x02,        //     Input (Data, Variable, Absolute)
    0x75, 0x04,        //     Report Size (4)
    0x95, 0x01,        //     Report Count (1)
    0x81, 0x01,        //     Input (Constant): 4 bits of padding
    0xC0,              //   End Collection
    0xC0,              // End Collection
};

}  // namespace

std::span<const uint8_t> ReportDescriptor() { return descriptor; }

}  // namespace pid_wheel
