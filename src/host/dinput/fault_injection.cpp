#include "host/dinput/fault_injection.h"

#include "host/dinput/api_lock.h"

namespace host {
namespace {

struct FaultRule {
  bool armed;
  Method method;
  FaultScope scope;
  uint32_t skipLeft;
  uint32_t failuresLeft;
  HRESULT code;
  uint64_t armedOrder;
};

FaultRule rules[maxFaultRules];
uint64_t armedSoFar = 0;
uint64_t deliveredSoFar = 0;

bool Matches(const FaultRule& rule, Method method, Interface iface, DeviceId device, int32_t effect) {
  if (!rule.armed || rule.method != method) return false;
  if (rule.scope.device != noDevice && rule.scope.device != device) return false;
  if (rule.scope.effect != anyEffect && rule.scope.effect != effect) return false;
  if (rule.scope.iface != Interface::None && rule.scope.iface != iface) return false;
  return true;
}

}  // namespace

bool FailNextCalls(Method method, uint32_t count, HRESULT code, const FaultScope& scope) {
  dinput::ApiLock lock;
  if (count == 0) return false;
  for (FaultRule& rule : rules) {
    if (rule.armed) continue;
    rule = FaultRule{true, method, scope, scope.skip, count, code, ++armedSoFar};
    return true;
  }
  return false;
}

void ClearFaults() {
  dinput::ApiLock lock;
  for (FaultRule& rule : rules) rule.armed = false;
}

uint32_t PendingFaults() {
  dinput::ApiLock lock;
  uint32_t pending = 0;
  for (const FaultRule& rule : rules) {
    if (rule.armed) pending += rule.failuresLeft;
  }
  return pending;
}

uint64_t DeliveredFaults() {
  dinput::ApiLock lock;
  return deliveredSoFar;
}

namespace dinput {

bool ConsumeFault(Method method, Interface iface, DeviceId device, int32_t effect, HRESULT* code) {
  FaultRule* earliest = nullptr;
  for (FaultRule& rule : rules) {
    if (!Matches(rule, method, iface, device, effect)) continue;
    if (earliest == nullptr || rule.armedOrder < earliest->armedOrder) earliest = &rule;
  }
  if (earliest == nullptr) return false;
  if (earliest->skipLeft > 0) {
    --earliest->skipLeft;
    return false;
  }
  *code = earliest->code;
  ++deliveredSoFar;
  if (--earliest->failuresLeft == 0) earliest->armed = false;
  return true;
}

}  // namespace dinput
}  // namespace host
