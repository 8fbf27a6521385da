// Counts of the stand-in's COM objects that exist right now, for leak checks: a test that
// releases everything it created must see all three back at zero. ResetDirectInput leaves
// them alone, since they count objects that still exist.
#pragma once

namespace host {

struct LiveObjectCounts {
  int directInput;  // IDirectInput8A
  int devices;      // IDirectInputDevice8A
  int effects;      // IDirectInputEffect
};

LiveObjectCounts LiveObjects();

namespace dinput {

enum class ObjectKind { DirectInput, Device, Effect };
void CountCreated(ObjectKind kind);
void CountDestroyed(ObjectKind kind);

}  // namespace dinput
}  // namespace host
