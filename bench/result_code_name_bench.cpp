#include <benchmark/benchmark.h>

#include "diag/result_code_name.h"
#include "diag/result_code_table.h"

namespace {

// Walks the whole table so every branch of the search is taken, plus misses.
void BM_ResultCodeName_Known(benchmark::State& state) {
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ResultCodeName(static_cast<HRESULT>(resultCodeTable[i].code)));
    if (++i == resultCodeCount) i = 0;
  }
}
BENCHMARK(BM_ResultCodeName_Known);

void BM_ResultCodeName_Unknown(benchmark::State& state) {
  uint32_t code = 0x12345678u;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ResultCodeName(static_cast<HRESULT>(code)));
    code += 0x10001u;
  }
}
BENCHMARK(BM_ResultCodeName_Unknown);

}  // namespace
