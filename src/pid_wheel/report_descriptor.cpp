#include "pid_wheel/report_descriptor.h"

namespace pid_wheel {

namespace {

// Short items: the low two bits of the prefix give the data size (1, 2 or 4 bytes follow).
// Every field states its own logical range, size, count, unit and exponent where the one
// before it differs, so no field inherits a global it does not mean. Unit exponents are
// signed bytes (0xFD is -3). The report layouts these items make are in pid_reports.h.
constexpr uint8_t descriptor[] = {
    0x05, 0x01,        // Usage Page (Generic Desktop)
    0x09, 0x04,        // Usage (Joystick): wheels report themselves as joysticks
    0xA1, 0x01,        // Collection (Application): the only top-level collection

    // ---- Input report 1: the wheel.
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

    // ---- Force feedback (Physical Interface Device page).
    0x05, 0x0F,        //   Usage Page (PID)

    // Output report 1: Set Effect.
    0x09, 0x21,        //   Usage (Set Effect Report)
    0xA1, 0x02,        //   Collection (Logical)
    0x85, 0x01,        //     Report ID (1)
    0x09, 0x22,        //     Usage (Effect Block Index)
    0x15, 0x01,        //     Logical Minimum (1)
    0x25, 0x20,        //     Logical Maximum (32)
    0x75, 0x08,        //     Report Size (8)
    0x95, 0x01,        //     Report Count (1)
    0x91, 0x02,        //     Output (Data, Variable, Absolute)
    0x09, 0x25,        //     Usage (Effect Type)
    0xA1, 0x02,        //     Collection (Logical)
    0x09, 0x26,        //       Usage (ET Constant Force)
    0x09, 0x40,        //       Usage (ET Spring)
    0x09, 0x41,        //       Usage (ET Damper)
    0x09, 0x42,        //       Usage (ET Inertia)
    0x09, 0x43,        //       Usage (ET Friction)
    0x15, 0x01,        //       Logical Minimum (1)
    0x25, 0x05,        //       Logical Maximum (5)
    0x91, 0x00,        //       Output (Data, Array, Absolute)
    0xC0,              //     End Collection
    0x09, 0x50,        //     Usage (Duration)
    0x15, 0x00,        //     Logical Minimum (0)
    0x27, 0xFF, 0xFF, 0xFF, 0x7F,  // Logical Maximum (2^31 - 1)
    0x66, 0x03, 0x10,  //     Unit (seconds)
    0x55, 0xFD,        //     Unit Exponent (-3): milliseconds
    0x75, 0x20,        //     Report Size (32)
    0x91, 0x02,        //     Output (Data, Variable, Absolute)
    0x65, 0x00,        //     Unit (none)
    0x55, 0x00,        //     Unit Exponent (0)
    0x09, 0x52,        //     Usage (Gain)
    0x26, 0xFF, 0x00,  //     Logical Maximum (255)
    0x75, 0x08,        //     Report Size (8)
    0x91, 0x02,        //     Output (Data, Variable, Absolute)
    0x09, 0x55,        //     Usage (Axes Enable)
    0xA1, 0x02,        //     Collection (Logical)
    0x05, 0x01,        //       Usage Page (Generic Desktop)
    0x09, 0x30,        //       Usage (X)
    0x09, 0x31,        //       Usage (Y)
    0x25, 0x01,        //       Logical Maximum (1)
    0x75, 0x01,        //       Report Size (1)
    0x95, 0x02,        //       Report Count (2)
    0x91, 0x02,        //       Output (Data, Variable, Absolute)
    0xC0,              //     End Collection
    0x05, 0x0F,        //     Usage Page (PID)
    0x09, 0x56,        //     Usage (Direction Enable)
    0x95, 0x01,        //     Report Count (1)
    0x91, 0x02,        //     Output (Data, Variable, Absolute)
    0x95, 0x05,        //     Report Count (5)
    0x91, 0x03,        //     Output (Constant): 5 bits of padding
    0x09, 0x57,        //     Usage (Direction)
    0xA1, 0x02,        //     Collection (Logical)
    0x0B, 0x01, 0x00, 0x0A, 0x00,  // Usage (Ordinals: Instance 1)
    0x0B, 0x02, 0x00, 0x0A, 0x00,  // Usage (Ordinals: Instance 2)
    0x27, 0x3C, 0x8C, 0x00, 0x00,  // Logical Maximum (35900)
    0x66, 0x14, 0x00,  //       Unit (degrees)
    0x55, 0xFE,        //       Unit Exponent (-2): hundredths of a degree
    0x75, 0x10,        //       Report Size (16)
    0x95, 0x02,        //       Report Count (2)
    0x91, 0x02,        //       Output (Data, Variable, Absolute)
    0x65, 0x00,        //       Unit (none)
    0x55, 0x00,        //       Unit Exponent (0)
    0xC0,              //     End Collection
    0xC0,              //   End Collection

    // Output report 2: Set Envelope.
    0x09, 0x5A,        //   Usage (Set Envelope Report)
    0xA1, 0x02,        //   Collection (Logical)
    0x85, 0x02,        //     Report ID (2)
    0x09, 0x22,        //     Usage (Effect Block Index)
    0x15, 0x01,        //     Logical Minimum (1)
    0x25, 0x20,        //     Logical Maximum (32)
    0x75, 0x08,        //     Report Size (8)
    0x95, 0x01,        //     Report Count (1)
    0x91, 0x02,        //     Output (Data, Variable, Absolute)
    0x09, 0x5B,        //     Usage (Attack Level)
    0x09, 0x5D,        //     Usage (Fade Level)
    0x15, 0x00,        //     Logical Minimum (0)
    0x26, 0x10, 0x27,  //     Logical Maximum (10000)
    0x75, 0x10,        //     Report Size (16)
    0x95, 0x02,        //     Report Count (2)
    0x91, 0x02,        //     Output (Data, Variable, Absolute)
    0x09, 0x5C,        //     Usage (Attack Time)
    0x09, 0x5E,        //     Usage (Fade Time)
    0x26, 0xFF, 0x7F,  //     Logical Maximum (32767)
    0x66, 0x03, 0x10,  //     Unit (seconds)
    0x55, 0xFD,        //     Unit Exponent (-3): milliseconds
    0x91, 0x02,        //     Output (Data, Variable, Absolute)
    0x65, 0x00,        //     Unit (none)
    0x55, 0x00,        //     Unit Exponent (0)
    0xC0,              //   End Collection

    // Output report 3: Set Condition, one per axis.
    0x09, 0x5F,        //   Usage (Set Condition Report)
    0xA1, 0x02,        //   Collection (Logical)
    0x85, 0x03,        //     Report ID (3)
    0x09, 0x22,        //     Usage (Effect Block Index)
    0x15, 0x01,        //     Logical Minimum (1)
    0x25, 0x20,        //     Logical Maximum (32)
    0x75, 0x08,        //     Report Size (8)
    0x95, 0x01,        //     Report Count (1)
    0x91, 0x02,        //     Output (Data, Variable, Absolute)
    0x09, 0x23,        //     Usage (Parameter Block Offset)
    0x15, 0x00,        //     Logical Minimum (0)
    0x25, 0x01,        //     Logical Maximum (1)
    0x91, 0x02,        //     Output (Data, Variable, Absolute)
    0x09, 0x60,        //     Usage (CP Offset)
    0x09, 0x61,        //     Usage (Positive Coefficient)
    0x09, 0x62,        //     Usage (Negative Coefficient)
    0x16, 0xF0, 0xD8,  //     Logical Minimum (-10000)
    0x26, 0x10, 0x27,  //     Logical Maximum (10000)
    0x75, 0x10,        //     Report Size (16)
    0x95, 0x03,        //     Report Count (3)
    0x91, 0x02,        //     Output (Data, Variable, Absolute)
    0x09, 0x63,        //     Usage (Positive Saturation)
    0x09, 0x64,        //     Usage (Negative Saturation)
    0x09, 0x65,        //     Usage (Dead Band)
    0x15, 0x00,        //     Logical Minimum (0)
    0x91, 0x02,        //     Output (Data, Variable, Absolute)
    0xC0,              //   End Collection

    // Output report 4: Set Constant Force.
    0x09, 0x73,        //   Usage (Set Constant Force Report)
    0xA1, 0x02,        //   Collection (Logical)
    0x85, 0x04,        //     Report ID (4)
    0x09, 0x22,        //     Usage (Effect Block Index)
    0x15, 0x01,        //     Logical Minimum (1)
    0x25, 0x20,        //     Logical Maximum (32)
    0x75, 0x08,        //     Report Size (8)
    0x95, 0x01,        //     Report Count (1)
    0x91, 0x02,        //     Output (Data, Variable, Absolute)
    0x09, 0x70,        //     Usage (Magnitude)
    0x16, 0xF0, 0xD8,  //     Logical Minimum (-10000)
    0x26, 0x10, 0x27,  //     Logical Maximum (10000)
    0x75, 0x10,        //     Report Size (16)
    0x91, 0x02,        //     Output (Data, Variable, Absolute)
    0xC0,              //   End Collection

    // Output report 5: Effect Operation.
    0x09, 0x77,        //   Usage (Effect Operation Report)
    0xA1, 0x02,        //   Collection (Logical)
    0x85, 0x05,        //     Report ID (5)
    0x09, 0x22,        //     Usage (Effect Block Index)
    0x15, 0x01,        //     Logical Minimum (1)
    0x25, 0x20,        //     Logical Maximum (32)
    0x75, 0x08,        //     Report Size (8)
    0x95, 0x01,        //     Report Count (1)
    0x91, 0x02,        //     Output (Data, Variable, Absolute)
    0x09, 0x78,        //     Usage (Effect Operation)
    0xA1, 0x02,        //     Collection (Logical)
    0x09, 0x79,        //       Usage (Op Effect Start)
    0x09, 0x7A,        //       Usage (Op Effect Start Solo)
    0x09, 0x7B,        //       Usage (Op Effect Stop)
    0x25, 0x03,        //       Logical Maximum (3)
    0x91, 0x00,        //       Output (Data, Array, Absolute)
    0xC0,              //     End Collection
    0x09, 0x7C,        //     Usage (Loop Count)
    0x15, 0x00,        //     Logical Minimum (0)
    0x26, 0xFF, 0x00,  //     Logical Maximum (255)
    0x91, 0x02,        //     Output (Data, Variable, Absolute)
    0xC0,              //   End Collection

    // Output report 6: Device Control.
    0x09, 0x95,        //   Usage (PID Device Control Report)
    0xA1, 0x02,        //   Collection (Logical)
    0x85, 0x06,        //     Report ID (6)
    0x09, 0x96,        //     Usage (PID Device Control)
    0xA1, 0x02,        //     Collection (Logical)
    0x09, 0x97,        //       Usage (DC Enable Actuators)
    0x09, 0x98,        //       Usage (DC Disable Actuators)
    0x09, 0x99,        //       Usage (DC Stop All Effects)
    0x09, 0x9A,        //       Usage (DC Device Reset)
    0x09, 0x9B,        //       Usage (DC Device Pause)
    0x09, 0x9C,        //       Usage (DC Device Continue)
    0x15, 0x01,        //       Logical Minimum (1)
    0x25, 0x06,        //       Logical Maximum (6)
    0x75, 0x08,        //       Report Size (8)
    0x95, 0x01,        //       Report Count (1)
    0x91, 0x00,        //       Output (Data, Array, Absolute)
    0xC0,              //     End Collection
    0xC0,              //   End Collection

    // Output report 7: Device Gain.
    0x09, 0x7D,        //   Usage (Device Gain Report)
    0xA1, 0x02,        //   Collection (Logical)
    0x85, 0x07,        //     Report ID (7)
    0x09, 0x7E,        //     Usage (Device Gain)
    0x15, 0x00,        //     Logical Minimum (0)
    0x26, 0xFF, 0x00,  //     Logical Maximum (255)
    0x75, 0x08,        //     Report Size (8)
    0x95, 0x01,        //     Report Count (1)
    0x91, 0x02,        //     Output (Data, Variable, Absolute)
    0xC0,              //   End Collection

    // Output report 8: Block Free.
    0x09, 0x90,        //   Usage (Block Free Report)
    0xA1, 0x02,        //   Collection (Logical)
    0x85, 0x08,        //     Report ID (8)
    0x09, 0x22,        //     Usage (Effect Block Index)
    0x15, 0x01,        //     Logical Minimum (1)
    0x25, 0x20,        //     Logical Maximum (32)
    0x75, 0x08,        //     Report Size (8)
    0x95, 0x01,        //     Report Count (1)
    0x91, 0x02,        //     Output (Data, Variable, Absolute)
    0xC0,              //   End Collection

    // Feature report 9: Create New Effect.
    0x09, 0xAB,        //   Usage (Create New Effect Report)
    0xA1, 0x02,        //   Collection (Logical)
    0x85, 0x09,        //     Report ID (9)
    0x09, 0x25,        //     Usage (Effect Type)
    0xA1, 0x02,        //     Collection (Logical)
    0x09, 0x26,        //       Usage (ET Constant Force)
    0x09, 0x40,        //       Usage (ET Spring)
    0x09, 0x41,        //       Usage (ET Damper)
    0x09, 0x42,        //       Usage (ET Inertia)
    0x09, 0x43,        //       Usage (ET Friction)
    0x15, 0x01,        //       Logical Minimum (1)
    0x25, 0x05,        //       Logical Maximum (5)
    0x75, 0x08,        //       Report Size (8)
    0x95, 0x01,        //       Report Count (1)
    0xB1, 0x00,        //       Feature (Data, Array, Absolute)
    0xC0,              //     End Collection
    0xC0,              //   End Collection

    // Feature report 10: Block Load, the answer to Create New Effect.
    0x09, 0x89,        //   Usage (Block Load Report)
    0xA1, 0x02,        //   Collection (Logical)
    0x85, 0x0A,        //     Report ID (10)
    0x09, 0x22,        //     Usage (Effect Block Index)
    0x15, 0x01,        //     Logical Minimum (1)
    0x25, 0x20,        //     Logical Maximum (32)
    0x75, 0x08,        //     Report Size (8)
    0x95, 0x01,        //     Report Count (1)
    0xB1, 0x02,        //     Feature (Data, Variable, Absolute)
    0x09, 0x8B,        //     Usage (Block Load Status)
    0xA1, 0x02,        //     Collection (Logical)
    0x09, 0x8C,        //       Usage (Block Load Success)
    0x09, 0x8D,        //       Usage (Block Load Full)
    0x09, 0x8E,        //       Usage (Block Load Error)
    0x25, 0x03,        //       Logical Maximum (3)
    0xB1, 0x00,        //       Feature (Data, Array, Absolute)
    0xC0,              //     End Collection
    0xC0,              //   End Collection

    // Feature report 11: PID Pool. The device manages the pool: effects are created through
    // Create New Effect and Block Load, and freed with Block Free.
    0x09, 0x7F,        //   Usage (PID Pool Report)
    0xA1, 0x02,        //   Collection (Logical)
    0x85, 0x0B,        //     Report ID (11)
    0x09, 0x80,        //     Usage (RAM Pool Size)
    0x15, 0x00,        //     Logical Minimum (0)
    0x27, 0xFF, 0xFF, 0x00, 0x00,  // Logical Maximum (65535)
    0x75, 0x10,        //     Report Size (16)
    0x95, 0x01,        //     Report Count (1)
    0xB1, 0x02,        //     Feature (Data, Variable, Absolute)
    0x09, 0x83,        //     Usage (Simultaneous Effects Max)
    0x26, 0xFF, 0x00,  //     Logical Maximum (255)
    0x75, 0x08,        //     Report Size (8)
    0xB1, 0x02,        //     Feature (Data, Variable, Absolute)
    0x09, 0xA9,        //     Usage (Device Managed Pool)
    0x09, 0xAA,        //     Usage (Shared Parameter Blocks)
    0x25, 0x01,        //     Logical Maximum (1)
    0x75, 0x01,        //     Report Size (1)
    0x95, 0x02,        //     Report Count (2)
    0xB1, 0x02,        //     Feature (Data, Variable, Absolute)
    0x95, 0x06,        //     Report Count (6)
    0xB1, 0x03,        //     Feature (Constant): 6 bits of padding
    0xC0,              //   End Collection

    // Input report 2: PID State, the device's flags and one effect's playing state.
    0x09, 0x92,        //   Usage (PID State Report)
    0xA1, 0x02,        //   Collection (Logical)
    0x85, 0x02,        //     Report ID (2)
    0x09, 0x9F,        //     Usage (Device Paused)
    0x09, 0xA0,        //     Usage (Actuators Enabled)
    0x09, 0xA4,        //     Usage (Safety Switch)
    0x09, 0xA5,        //     Usage (Actuator Override Switch)
    0x09, 0xA6,        //     Usage (Actuator Power)
    0x09, 0x94,        //     Usage (Effect Playing)
    0x15, 0x00,        //     Logical Minimum (0)
    0x25, 0x01,        //     Logical Maximum (1)
    0x75, 0x01,        //     Report Size (1)
    0x95, 0x06,        //     Report Count (6)
    0x81, 0x02,        //     Input (Data, Variable, Absolute)
    0x95, 0x02,        //     Report Count (2)
    0x81, 0x03,        //     Input (Constant): 2 bits of padding
    0x09, 0x22,        //     Usage (Effect Block Index)
    0x15, 0x01,        //     Logical Minimum (1)
    0x25, 0x20,        //     Logical Maximum (32)
    0x75, 0x08,        //     Report Size (8)
    0x95, 0x01,        //     Report Count (1)
    0x81, 0x02,        //     Input (Data, Variable, Absolute)
    0xC0,              //   End Collection

    0xC0,              // End Collection
};

}  // namespace

std::span<const uint8_t> ReportDescriptor() { return descriptor; }

}  // namespace pid_wheel
