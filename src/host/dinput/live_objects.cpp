#include "host/dinput/live_objects.h"

#include <atomic>

namespace host {
namespace {

std::atomic<int> liveDirectInput{0};
std::atomic<int> liveDevices{0};
std::atomic<int> liveEffects{0};

std::atomic<int>& CounterOf(dinput::ObjectKind kind) {
  switch (kind) {
    case dinput::ObjectKind::DirectInput:
      return liveDirectInput;
    case dinput::ObjectKind::Device:
      return liveDevices;
    case dinput::ObjectKind::Effect:
      break;
  }
  return liveEffects;
}

}  // namespace

LiveObjectCounts LiveObjects() { return {liveDirectInput.load(), liveDevices.load(), liveEffects.load()}; }

namespace dinput {

void CountCreated(ObjectKind kind) { ++CounterOf(kind); }
void CountDestroyed(ObjectKind kind) { --CounterOf(kind); }

}  // namespace dinput
}  // namespace host
