// Symbolic names of result codes, as the platform headers define them.
#pragma once

#include "platform/platform.h"

// Never null; "Unknown" for a code no header names. Exact match on all 32 bits.
const char* ResultCodeName(HRESULT code);
