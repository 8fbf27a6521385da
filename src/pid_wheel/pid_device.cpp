#include "pid_wheel/pid_device.h"

#include "pid_wheel/direction.h"

namespace pid_wheel {

namespace {

constexpr EffectBlock emptyBlock{};

uint16_t Uint16At(std::span<const uint8_t> report, size_t at) {
  return static_cast<uint16_t>(report[at] | (report[at + 1] << 8));
}

int16_t Int16At(std::span<const uint8_t> report, size_t at) { return static_cast<int16_t>(Uint16At(report, at)); }

uint32_t Uint32At(std::span<const uint8_t> report, size_t at) {
  return static_cast<uint32_t>(Uint16At(report, at)) | (static_cast<uint32_t>(Uint16At(report, at + 2)) << 16);
}

bool SignedInRange(int16_t value) { return value >= -sim::fullScale && value <= sim::fullScale; }
bool UnsignedInRange(uint16_t value) { return value <= sim::fullScale; }

bool EffectTypeValid(uint8_t type) { return type >= 1 && type <= effectTypeCount; }

sim::EffectKind KindOf(EffectType type) {
  switch (type) {
    case EffectType::ConstantForce:
      return sim::EffectKind::ConstantForce;
    case EffectType::Spring:
      return sim::EffectKind::Spring;
    case EffectType::Damper:
      return sim::EffectKind::Damper;
    case EffectType::Inertia:
      return sim::EffectKind::Inertia;
    case EffectType::Friction:
      return sim::EffectKind::Friction;
    case EffectType::None:
      break;
  }
  return sim::EffectKind::None;
}

int32_t Rounded(double value) { return static_cast<int32_t>(value >= 0.0 ? value + 0.5 : value - 0.5); }

// How long a started effect plays: its duration times its loop count, or for ever.
bool PlaysForever(const EffectBlock& block) {
  return block.durationMs == infiniteDuration || block.loopCount == effect_operation::loopForever;
}

double PlaySeconds(const EffectBlock& block) {
  uint32_t loops = block.loopCount == 0 ? 1 : block.loopCount;
  return static_cast<double>(block.durationMs) * loops / 1000.0;
}

}  // namespace

PidDevice::PidDevice(const sim::WheelParameters& parameters)
    : wheel_(parameters), deviceGain_(static_cast<uint8_t>(parameters.deviceGain * 255.0 + 0.5)),
      centring_(parameters.autoCenterEnabled) {}

bool PidDevice::WriteOutputReport(std::span<const uint8_t> report) {
  if (report.empty()) return false;
  switch (report[0]) {
    case set_effect::id:
      return report.size() == set_effect::length && SetEffect(report);
    case set_envelope::id:
      return report.size() == set_envelope::length && SetEnvelope(report);
    case set_condition::id:
      return report.size() == set_condition::length && SetCondition(report);
    case set_constant_force::id:
      return report.size() == set_constant_force::length && SetConstantForce(report);
    case effect_operation::id:
      return report.size() == effect_operation::length && OperateEffect(report);
    case device_control::id:
      return report.size() == device_control::length && ControlDevice(report);
    case device_gain::id:
      return report.size() == device_gain::length && SetDeviceGain(report);
    case block_free::id:
      return report.size() == block_free::length && FreeBlock(report);
    default:
      return false;
  }
}

bool PidDevice::SetFeatureReport(std::span<const uint8_t> report) {
  if (report.size() == create_new_effect::length && report[0] == create_new_effect::id) {
    return CreateNewEffect(report);
  }
  return false;
}

size_t PidDevice::GetFeatureReport(uint8_t id, std::span<uint8_t> buffer) const {
  if (id == block_load::id && buffer.size() >= block_load::length) {
    buffer[0] = block_load::id;
    buffer[1] = lastLoadedBlock_;
    buffer[2] = lastLoadStatus_;
    return block_load::length;
  }
  if (id == pool::id && buffer.size() >= pool::length) {
    // The pool holds blocks, not bytes: one byte per block says as much as any size would.
    buffer[0] = pool::id;
    buffer[1] = maxEffectBlocks;
    buffer[2] = 0;
    buffer[3] = maxEffectBlocks;
    buffer[4] = 0x01;  // device-managed, no shared parameter blocks
    return pool::length;
  }
  return 0;
}

EffectBlock* PidDevice::WritableBlock(uint8_t index) {
  if (index < 1 || index > maxEffectBlocks) return nullptr;
  EffectBlock& block = blocks_[index - 1];
  return block.allocated ? &block : nullptr;
}

bool PidDevice::CreateNewEffect(std::span<const uint8_t> report) {
  lastLoadedBlock_ = 0;
  if (!EffectTypeValid(report[1])) {
    lastLoadStatus_ = block_load::error;
    return true;  // the host learns it from Block Load
  }
  for (int i = 0; i < maxEffectBlocks; ++i) {
    if (blocks_[i].allocated) continue;
    blocks_[i] = EffectBlock{};
    blocks_[i].allocated = true;
    blocks_[i].type = static_cast<EffectType>(report[1]);
    lastLoadedBlock_ = static_cast<uint8_t>(i + 1);
    lastLoadStatus_ = block_load::success;
    Render(i + 1);
    return true;
  }
  lastLoadStatus_ = block_load::full;
  return true;
}

bool PidDevice::SetEffect(std::span<const uint8_t> report) {
  EffectBlock* block = WritableBlock(report[1]);
  if (block == nullptr || !EffectTypeValid(report[2])) return false;
  uint16_t direction1 = Uint16At(report, 9);
  uint16_t direction2 = Uint16At(report, 11);
  block->type = static_cast<EffectType>(report[2]);
  block->durationMs = Uint32At(report, 3);
  block->gain = report[7];
  block->directionEnabled = (report[8] & 0x04) != 0;
  block->direction = {direction1, direction2};
  Render(report[1]);
  return true;
}

bool PidDevice::SetEnvelope(std::span<const uint8_t> report) {
  EffectBlock* block = WritableBlock(report[1]);
  if (block == nullptr) return false;
  EnvelopeBlock envelope{Uint16At(report, 2), Uint16At(report, 4), Uint16At(report, 6), Uint16At(report, 8)};
  if (!UnsignedInRange(envelope.attackLevel) || !UnsignedInRange(envelope.fadeLevel)) return false;
  block->envelope = envelope;
  return true;
}

bool PidDevice::SetCondition(std::span<const uint8_t> report) {
  EffectBlock* block = WritableBlock(report[1]);
  uint8_t axis = report[2];
  if (block == nullptr || axis > 1) return false;
  ConditionBlock condition{Int16At(report, 3),   Int16At(report, 5),   Int16At(report, 7),
                           Uint16At(report, 9), Uint16At(report, 11), Uint16At(report, 13)};
  if (!SignedInRange(condition.offset) || !SignedInRange(condition.positiveCoefficient) ||
      !SignedInRange(condition.negativeCoefficient) || !UnsignedInRange(condition.positiveSaturation) ||
      !UnsignedInRange(condition.negativeSaturation) || !UnsignedInRange(condition.deadBand)) {
    return false;
  }
  block->conditions[axis] = condition;
  Render(report[1]);
  return true;
}

bool PidDevice::SetConstantForce(std::span<const uint8_t> report) {
  EffectBlock* block = WritableBlock(report[1]);
  int16_t magnitude = Int16At(report, 2);
  if (block == nullptr || !SignedInRange(magnitude)) return false;
  block->magnitude = magnitude;
  Render(report[1]);
  return true;
}

bool PidDevice::OperateEffect(std::span<const uint8_t> report) {
  EffectBlock* block = WritableBlock(report[1]);
  if (block == nullptr) return false;
  switch (report[2]) {
    case effect_operation::startSolo:
      for (int index = 1; index <= maxEffectBlocks; ++index) {
        if (index != report[1]) SetPlaying(index, false);
      }
      [[fallthrough]];
    case effect_operation::start:
      block->loopCount = report[3];
      block->playedSeconds = 0.0;
      SetPlaying(report[1], true);
      return true;
    case effect_operation::stop:
      SetPlaying(report[1], false);
      return true;
    default:
      return false;
  }
}

bool PidDevice::ControlDevice(std::span<const uint8_t> report) {
  switch (report[1]) {
    case device_control::enableActuators:
      actuatorsEnabled_ = true;
      break;
    case device_control::disableActuators:
      actuatorsEnabled_ = false;
      break;
    case device_control::stopAll:
      for (int index = 1; index <= maxEffectBlocks; ++index) SetPlaying(index, false);
      return true;
    case device_control::reset:
      ResetDevice();
      break;
    case device_control::pause:
      paused_ = true;
      break;
    case device_control::resume:
      paused_ = false;
      break;
    default:
      return false;
  }
  unreportedDeviceState_ = true;
  RenderAll();
  return true;
}

// Every effect goes, the motor is the host's from now on: the centring spring lets go.
void PidDevice::ResetDevice() {
  for (int index = 1; index <= maxEffectBlocks; ++index) SetPlaying(index, false);
  blocks_.fill(EffectBlock{});
  actuatorsEnabled_ = true;
  paused_ = false;
  centring_ = false;
}

bool PidDevice::SetDeviceGain(std::span<const uint8_t> report) {
  deviceGain_ = report[1];
  wheel_.SetDeviceGain(deviceGain_ / 255.0);
  return true;
}

bool PidDevice::FreeBlock(std::span<const uint8_t> report) {
  uint8_t index = report[1];
  if (index < 1 || index > maxEffectBlocks) return false;
  SetPlaying(index, false);
  blocks_[index - 1] = EffectBlock{};
  Render(index);
  return true;
}

void PidDevice::SetPlaying(int index, bool playing) {
  EffectBlock& block = blocks_[index - 1];
  if (block.playing == playing) return;
  block.playing = playing;
  unreportedBlocks_ |= 1u << (index - 1);
  Render(index);
}

void PidDevice::Render(int index) {
  const EffectBlock& block = blocks_[index - 1];
  if (!block.allocated || block.type == EffectType::None) {
    wheel_.ClearEffect(index - 1);
    return;
  }
  sim::WheelEffect effect;
  effect.kind = KindOf(block.type);
  effect.playing = block.playing && actuatorsEnabled_ && !paused_;
  effect.gain = block.gain / 255.0;
  // The rim is the X axis: a force's share along it, and the X axis's condition.
  double share = block.directionEnabled ? SineOfHundredthsOfDegree(block.direction[0]) : 1.0;
  effect.magnitude = Rounded(block.magnitude * share);
  const ConditionBlock& x = block.conditions[0];
  effect.condition = {x.offset, x.positiveCoefficient, x.negativeCoefficient,
                      x.positiveSaturation, x.negativeSaturation, x.deadBand};
  wheel_.SetEffect(index - 1, effect);
}

void PidDevice::RenderAll() {
  for (int index = 1; index <= maxEffectBlocks; ++index) Render(index);
  wheel_.SetAutoCenter(centring_ && actuatorsEnabled_);
}

void PidDevice::Advance(double seconds) {
  if (!(seconds > 0.0)) return;
  for (int index = 1; index <= maxEffectBlocks; ++index) {
    EffectBlock& block = blocks_[index - 1];
    if (!block.playing || paused_ || PlaysForever(block)) continue;
    block.playedSeconds += seconds;
    if (block.playedSeconds >= PlaySeconds(block)) SetPlaying(index, false);
  }
  wheel_.Advance(seconds);
}

size_t PidDevice::NextInputReport(std::span<uint8_t, inputReportLength> buffer) {
  if (unreportedBlocks_ == 0 && !unreportedDeviceState_) {
    InputReport report = MakeInputReport(wheel_);
    for (size_t i = 0; i < report.size(); ++i) buffer[i] = report[i];
    return report.size();
  }
  uint8_t flags = pid_state::safetySwitch | pid_state::actuatorOverride | pid_state::actuatorPower;
  if (paused_) flags |= pid_state::paused;
  if (actuatorsEnabled_) flags |= pid_state::actuatorsEnabled;
  uint8_t index = 0;
  if (unreportedBlocks_ != 0) {
    int bit = __builtin_ctz(unreportedBlocks_);
    unreportedBlocks_ &= ~(1u << bit);
    index = static_cast<uint8_t>(bit + 1);
    if (blocks_[bit].playing) flags |= pid_state::effectPlaying;
  }
  unreportedDeviceState_ = false;
  buffer[0] = pid_state::id;
  buffer[1] = flags;
  buffer[2] = index;
  return pid_state::length;
}

const EffectBlock& PidDevice::Block(int index) const {
  return index >= 1 && index <= maxEffectBlocks ? blocks_[index - 1] : emptyBlock;
}

}  // namespace pid_wheel
