// Identifiers shared by the stand-in's test-facing headers.
#pragma once

#include <cstdint>

namespace host {

// A device as the registry knows it: 1, 2, 3... in attach order, 0 for none. Re-attaching a
// device (same instance GUID) keeps its id.
using DeviceId = uint32_t;
inline constexpr DeviceId noDevice = 0;

// Effects are numbered per device interface in creation order: 0, 1, 2...
inline constexpr int32_t noEffect = -1;   // the call is not about an effect
inline constexpr int32_t anyEffect = -2;  // in filters: whatever the effect

}  // namespace host
