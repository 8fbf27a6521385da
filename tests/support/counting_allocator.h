// Counts heap allocations made through the global operator new in this test binary
// (counting_allocator.cpp replaces it; link that file into one binary at most).
#pragma once

#include <cstdint>

namespace test_support {

uint64_t AllocationCount();

}  // namespace test_support
