// The dialog's view of the engine: after every tick it turns what the engine published (the
// readouts, the result line, a measurement's return to "Disabled") into control texts.
#pragma once

#include "platform/platform.h"

// Renders what changed since the last call; does nothing before the dialog's controls exist.
void RenderEngineOutput();
// Forgets what was rendered: the next call renders from the engine's present serials on.
void ResetEngineView();
