// One pass of the force engine: read, normalise, time, noise, targets, mode, effects, LEDs.
#pragma once

#include <cstdint>

void ForceTick();

// What a refresh rebuilds, right after the device is read: the dialog's report tree. A front
// end without a report sets none.
void SetReportBuilder(void (*build)(void* context), void* context);

// Engine state kept between ticks, exposed for the readouts and for tests.
extern uint32_t lastTickTime;
extern float smoothedFrameDt;
extern int32_t tickCount;
extern int32_t sinNoise;
extern int32_t randNoise;

// Puts the whole engine back to its start-of-run state (a fresh process does not need it).
void ResetForceTick();
