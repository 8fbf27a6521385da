#include "host/dinput/scripted_device.h"

#include <cstdint>
#include <vector>

#include "host/dinput/device_objects.h"

namespace host::dinput {
namespace {

class ScriptedDevice final : public DeviceModel {
 public:
  explicit ScriptedDevice(const DeviceDescription& description) : description_(description) {
    switch (description.kind) {
      case DeviceKind::Keyboard:
        objects_ = KeyboardObjects();
        break;
      case DeviceKind::Mouse:
        objects_ = MouseObjects();
        break;
      default:
        objects_ = GameControllerObjects(description);
        break;
    }
    PowerUp();
  }

  std::span<const DeviceObject> Objects() const override { return objects_; }

  AxisRange LogicalRange(size_t) const override { return {description_.logicalMin, description_.logicalMax}; }

  void Advance(double) override {}

  LONG Read(size_t object) const override { return values_[object]; }

  bool Script(size_t object, LONG value) override {
    if (object >= values_.size()) return false;
    values_[object] = value;
    return true;
  }

  void Render(int, const RenderedEffect*) override {}
  void SetDeviceGain(double) override {}
  void SetAutoCenter(bool) override {}

  HRESULT Escape(const DIEFFESCAPE&) override { return description_.acceptsEscapes ? DI_OK : DIERR_UNSUPPORTED; }

  void PowerUp() override {
    values_.assign(objects_.size(), 0);
    // Absolute axes rest at the middle of their range, hats centred, buttons up.
    // In 64 bits: a range as wide as LONG itself would overflow.
    LONG middle = static_cast<LONG>(description_.logicalMin +
                                    (static_cast<int64_t>(description_.logicalMax) - description_.logicalMin) / 2);
    for (size_t i = 0; i < objects_.size(); ++i) {
      const DeviceObject& object = objects_[i];
      if (object.typeFlags & DIDFT_ABSAXIS) values_[i] = middle;
      if (object.Class() == ObjectClass::Pov) values_[i] = static_cast<LONG>(0xFFFFFFFFu);
    }
  }

 private:
  DeviceDescription description_;
  std::vector<DeviceObject> objects_;
  std::vector<LONG> values_;
};

}  // namespace

std::unique_ptr<DeviceModel> MakeScriptedDevice(const DeviceDescription& description) {
  return std::make_unique<ScriptedDevice>(description);
}

}  // namespace host::dinput
