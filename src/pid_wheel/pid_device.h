// The wheel as a HID force-feedback (PID) device: takes the output and feature reports a host
// sends, keeps the effect blocks they describe, and renders them on a sim::VirtualWheel.
// Platform-free and allocation-free, so the kernel driver runs it as it is and the host tests
// drive it with report bytes.
//
// What the wheel does on its own:
// - Centring. Like a real wheel it holds its rim with its own centring spring from power-up
//   until a host takes the motor over with a Device Reset (Wine sends one with every exclusive
//   acquire). A host that wants the spring back must play one: DirectInput's auto-centre
//   property never reaches a HID device, so the wheel goes with what a force-feedback program
//   asks for (auto-centre off).
// - Effect blocks. The device manages the pool: Create New Effect takes the lowest free block,
//   Block Free and Device Reset give blocks back.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "pid_wheel/input_report.h"
#include "pid_wheel/pid_reports.h"
#include "sim/virtual_wheel.h"

namespace pid_wheel {

struct ConditionBlock {
  int16_t offset = 0;
  int16_t positiveCoefficient = 0;
  int16_t negativeCoefficient = 0;
  uint16_t positiveSaturation = 0;
  uint16_t negativeSaturation = 0;
  uint16_t deadBand = 0;
};

struct EnvelopeBlock {
  uint16_t attackLevel = 0;
  uint16_t fadeLevel = 0;
  uint16_t attackTimeMs = 0;
  uint16_t fadeTimeMs = 0;
};

inline constexpr uint32_t infiniteDuration = 0xFFFFFFFF;

// One effect block as the host last wrote it.
struct EffectBlock {
  bool allocated = false;
  EffectType type = EffectType::None;
  uint32_t durationMs = infiniteDuration;
  uint8_t gain = 255;
  bool directionEnabled = false;
  std::array<uint16_t, 2> direction{};  // hundredths of a degree
  int16_t magnitude = 0;
  std::array<ConditionBlock, 2> conditions{};  // per axis: X, Y
  EnvelopeBlock envelope;

  bool playing = false;
  uint8_t loopCount = 0;      // as started; 255 plays until stopped
  double playedSeconds = 0.0;  // since the last start
};

class PidDevice {
 public:
  explicit PidDevice(const sim::WheelParameters& parameters = {});

  // A report the host writes (output) or sets (feature), id byte first. False when the id is
  // unknown, the length is not the report's, or a field is out of range; nothing changes then.
  bool WriteOutputReport(std::span<const uint8_t> report);
  bool SetFeatureReport(std::span<const uint8_t> report);
  // Fills `buffer` with feature report `id`, id byte first; returns its length, or 0 when the
  // id is unknown or the buffer too short.
  size_t GetFeatureReport(uint8_t id, std::span<uint8_t> buffer) const;

  // Runs the wheel and the effects' durations forward.
  void Advance(double seconds);

  // The next input report to return to a read: a PID State report while an effect's playing
  // state or the device's flags have changed since the host last read them, else the wheel.
  // Returns its length.
  size_t NextInputReport(std::span<uint8_t, inputReportLength> buffer);

  // For tests and for the driver's own use.
  const EffectBlock& Block(int index) const;  // 1..maxEffectBlocks; an empty block otherwise
  bool ActuatorsEnabled() const { return actuatorsEnabled_; }
  bool Paused() const { return paused_; }
  bool Centring() const { return centring_; }
  uint8_t DeviceGain() const { return deviceGain_; }
  const sim::VirtualWheel& Wheel() const { return wheel_; }
  sim::VirtualWheel& Wheel() { return wheel_; }

 private:
  bool SetEffect(std::span<const uint8_t> report);
  bool SetEnvelope(std::span<const uint8_t> report);
  bool SetCondition(std::span<const uint8_t> report);
  bool SetConstantForce(std::span<const uint8_t> report);
  bool OperateEffect(std::span<const uint8_t> report);
  bool ControlDevice(std::span<const uint8_t> report);
  bool SetDeviceGain(std::span<const uint8_t> report);
  bool FreeBlock(std::span<const uint8_t> report);
  bool CreateNewEffect(std::span<const uint8_t> report);

  EffectBlock* WritableBlock(uint8_t index);
  void SetPlaying(int index, bool playing);
  void ResetDevice();
  // Puts block `index` on the wheel as it now stands (the wheel's slot index - 1).
  void Render(int index);
  void RenderAll();

  sim::VirtualWheel wheel_;
  std::array<EffectBlock, maxEffectBlocks> blocks_{};
  bool actuatorsEnabled_ = true;
  bool paused_ = false;
  uint8_t deviceGain_ = 255;
  // The wheel's own centring spring, on until the first Device Reset.
  bool centring_ = true;

  // The answer to the last Create New Effect, read back through Block Load.
  uint8_t lastLoadedBlock_ = 0;
  uint8_t lastLoadStatus_ = block_load::error;

  // Blocks whose playing state the host has not been told yet (bit index - 1), and whether
  // the device's own flags changed.
  uint32_t unreportedBlocks_ = 0;
  bool unreportedDeviceState_ = false;
};

static_assert(pid_state::length <= inputReportLength);

}  // namespace pid_wheel
