// The tail of every tick that read the device: the damping slot, Start and Stop, the
// parameters sent on change only, the force map, and the live readouts.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "engine/tick_values.h"

extern bool effectWasOn[effectSlotCount];
extern int32_t lastSentConstantForce;
extern DICONDITION lastSentSpring[2];
extern DICONDITION lastSentDamping[2];
extern uint32_t lastReadoutTime;
extern uint32_t effectUpdateMs;
extern DIEFFECT effectParams;

// Maps a constant force's magnitude through the force map, keeping its sign.
int32_t ApplyForceMap(int32_t force);
void UpdateEffects(TickValues& t);
// The device's running state is unknown: the next update starts or stops every slot and
// sends the parameters of the running ones.
void ForgetSentEffects();
void ResetEffectUpdate();
