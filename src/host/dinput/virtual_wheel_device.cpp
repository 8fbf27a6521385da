#include "host/dinput/virtual_wheel_device.h"

#include <cstdint>
#include <vector>

#include "host/dinput/device_objects.h"
#include "sim/virtual_wheel.h"

namespace host::dinput {
namespace {

sim::EffectKind SimKind(RenderedKind kind) {
  switch (kind) {
    case RenderedKind::ConstantForce:
      return sim::EffectKind::ConstantForce;
    case RenderedKind::Spring:
      return sim::EffectKind::Spring;
    case RenderedKind::Damper:
      return sim::EffectKind::Damper;
    case RenderedKind::Inertia:
      return sim::EffectKind::Inertia;
    case RenderedKind::Friction:
      break;
  }
  return sim::EffectKind::Friction;
}

class VirtualWheelDevice final : public DeviceModel {
 public:
  explicit VirtualWheelDevice(const DeviceDescription& description)
      : description_(description), objects_(GameControllerObjects(description)), wheel_(description.wheel) {
    PowerUp();
  }

  std::span<const DeviceObject> Objects() const override { return objects_; }

  AxisRange LogicalRange(size_t) const override { return {description_.logicalMin, description_.logicalMax}; }

  void Advance(double seconds) override { wheel_.Advance(seconds); }

  LONG Read(size_t object) const override {
    if (object == rimObject) return wheel_.AxisValue(description_.logicalMin, description_.logicalMax);
    return values_[object];
  }

  bool Script(size_t object, LONG value) override {
    if (object == rimObject || object >= values_.size()) return false;
    values_[object] = value;
    return true;
  }

  void Render(int slot, const RenderedEffect* effect) override {
    if (effect == nullptr) {
      wheel_.ClearEffect(slot);
      return;
    }
    sim::WheelEffect wheelEffect;
    wheelEffect.kind = SimKind(effect->kind);
    wheelEffect.playing = true;
    wheelEffect.gain = effect->gain;
    wheelEffect.magnitude = effect->magnitude;
    wheelEffect.condition.offset = effect->condition.lOffset;
    wheelEffect.condition.positiveCoefficient = effect->condition.lPositiveCoefficient;
    wheelEffect.condition.negativeCoefficient = effect->condition.lNegativeCoefficient;
    wheelEffect.condition.positiveSaturation = static_cast<int32_t>(effect->condition.dwPositiveSaturation);
    wheelEffect.condition.negativeSaturation = static_cast<int32_t>(effect->condition.dwNegativeSaturation);
    wheelEffect.condition.deadBand = effect->condition.lDeadBand;
    wheel_.SetEffect(slot, wheelEffect);
  }

  void SetDeviceGain(double gain) override { wheel_.SetDeviceGain(gain); }
  void SetAutoCenter(bool enabled) override { wheel_.SetAutoCenter(enabled); }

  // The wheel's driver takes any command (the program's LED report among them); the call
  // log keeps what was sent.
  HRESULT Escape(const DIEFFESCAPE&) override { return DI_OK; }

  void PowerUp() override {
    wheel_.ClearAllEffects();
    wheel_.SetDeviceGain(1.0);
    wheel_.SetAutoCenter(description_.wheel.autoCenterEnabled);
    wheel_.SetHandTorque(0.0);
    wheel_.Reset();
    values_.assign(objects_.size(), 0);
    // In 64 bits: a range as wide as LONG itself would overflow.
    LONG middle = static_cast<LONG>(description_.logicalMin +
                                    (static_cast<int64_t>(description_.logicalMax) - description_.logicalMin) / 2);
    for (size_t i = 0; i < objects_.size(); ++i) {
      if (objects_[i].Class() == ObjectClass::Axis) values_[i] = middle;
      if (objects_[i].Class() == ObjectClass::Pov) values_[i] = static_cast<LONG>(0xFFFFFFFFu);
    }
  }

  sim::VirtualWheel* Wheel() override { return &wheel_; }

 private:
  static constexpr size_t rimObject = 0;  // X comes first

  DeviceDescription description_;
  std::vector<DeviceObject> objects_;
  std::vector<LONG> values_;
  sim::VirtualWheel wheel_;
};

}  // namespace

std::unique_ptr<DeviceModel> MakeVirtualWheelDevice(const DeviceDescription& description) {
  return std::make_unique<VirtualWheelDevice>(description);
}

}  // namespace host::dinput
