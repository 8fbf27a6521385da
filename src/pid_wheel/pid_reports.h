// The force-feedback reports the wheel declares (HID PID): their ids, lengths and field
// layouts, byte by byte. Each report starts with its id; multi-byte fields are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pid_wheel {

// Effect blocks the wheel holds, indexed 1..maxEffectBlocks (0 means none).
inline constexpr int maxEffectBlocks = 32;

// The five effect types, in the order of the Effect Type arrays (array value = position + 1).
enum class EffectType : uint8_t { None = 0, ConstantForce, Spring, Damper, Inertia, Friction };
inline constexpr int effectTypeCount = 5;

// Output reports.
namespace set_effect {
inline constexpr uint8_t id = 1;
inline constexpr size_t length = 13;
// [1] block index, [2] effect type, [3..6] duration in ms (0xFFFFFFFF: infinite),
// [7] gain 0..255, [8] bit 0 axis X enabled, bit 1 axis Y enabled, bit 2 direction enabled,
// [9..10] direction ordinal 1 and [11..12] ordinal 2, in hundredths of a degree 0..35900.
}  // namespace set_effect

namespace set_envelope {
inline constexpr uint8_t id = 2;
inline constexpr size_t length = 10;
// [1] block index, [2..3] attack level, [4..5] fade level (0..10000),
// [6..7] attack time, [8..9] fade time (ms).
}  // namespace set_envelope

namespace set_condition {
inline constexpr uint8_t id = 3;
inline constexpr size_t length = 15;
// [1] block index, [2] parameter block offset (0: X, 1: Y), [3..4] centre-point offset,
// [5..6] positive and [7..8] negative coefficient (-10000..10000), [9..10] positive and
// [11..12] negative saturation, [13..14] dead band (0..10000).
}  // namespace set_condition

namespace set_constant_force {
inline constexpr uint8_t id = 4;
inline constexpr size_t length = 4;
// [1] block index, [2..3] magnitude -10000..10000.
}  // namespace set_constant_force

namespace effect_operation {
inline constexpr uint8_t id = 5;
inline constexpr size_t length = 4;
// [1] block index, [2] operation, [3] loop count (255: until stopped).
enum Operation : uint8_t { start = 1, startSolo = 2, stop = 3 };
inline constexpr uint8_t loopForever = 255;
}  // namespace effect_operation

namespace device_control {
inline constexpr uint8_t id = 6;
inline constexpr size_t length = 2;
// [1] command.
enum Command : uint8_t { enableActuators = 1, disableActuators, stopAll, reset, pause, resume };
}  // namespace device_control

namespace device_gain {
inline constexpr uint8_t id = 7;
inline constexpr size_t length = 2;
// [1] gain 0..255.
}  // namespace device_gain

namespace block_free {
inline constexpr uint8_t id = 8;
inline constexpr size_t length = 2;
// [1] block index.
}  // namespace block_free

// Feature reports: the effect pool, managed by the device.
namespace create_new_effect {
inline constexpr uint8_t id = 9;
inline constexpr size_t length = 2;
// [1] effect type.
}  // namespace create_new_effect

namespace block_load {
inline constexpr uint8_t id = 10;
inline constexpr size_t length = 3;
// [1] block index, [2] status.
enum Status : uint8_t { success = 1, full = 2, error = 3 };
}  // namespace block_load

namespace pool {
inline constexpr uint8_t id = 11;
inline constexpr size_t length = 5;
// [1..2] pool size in bytes, [3] effects at once, [4] bit 0 device-managed pool,
// bit 1 shared parameter blocks.
}  // namespace pool

// The longest feature report: the size of the class driver's feature buffers.
inline constexpr size_t featureReportLength = pool::length;

// Input report 2, the device's state (input report 1 is the wheel's axes and buttons).
namespace pid_state {
inline constexpr uint8_t id = 2;
inline constexpr size_t length = 3;
// [1] bit 0 paused, bit 1 actuators enabled, bit 2 safety switch, bit 3 actuator override
// switch, bit 4 actuator power, bit 5 effect playing; [2] the block that bit 5 is about.
inline constexpr uint8_t paused = 0x01;
inline constexpr uint8_t actuatorsEnabled = 0x02;
inline constexpr uint8_t safetySwitch = 0x04;
inline constexpr uint8_t actuatorOverride = 0x08;
inline constexpr uint8_t actuatorPower = 0x10;
inline constexpr uint8_t effectPlaying = 0x20;
}  // namespace pid_state

}  // namespace pid_wheel
