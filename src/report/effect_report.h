// The effects in the report: the effect types the device supports, and every effect the
// program created on it with its status and all its parameters.
#pragma once

#include "platform/platform.h"

// EnumEffects callback; reference is the "Supported Effects" line. Always continues.
BOOL CALLBACK ReportSupportedEffect(LPCDIEFFECTINFOA effectInfo, LPVOID reference);
// EnumCreatedEffectObjects callback; reference is the "Active Effect" line. Always continues.
BOOL CALLBACK ReportCreatedEffect(LPDIRECTINPUTEFFECT effect, LPVOID reference);
