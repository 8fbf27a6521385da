#include "diag/result_code_name.h"

#include <cstdint>

#include "diag/result_code_table.h"

const char* ResultCodeName(HRESULT code) {
  uint32_t wanted = static_cast<uint32_t>(code);
  size_t low = 0;
  size_t high = resultCodeCount;
  // The generated table is sorted by code; a plain binary search keeps this allocation-free.
  while (low < high) {
    size_t middle = low + (high - low) / 2;
    uint32_t found = resultCodeTable[middle].code;
    if (found == wanted) return resultCodeTable[middle].name;
    if (found < wanted) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return "Unknown";
}
