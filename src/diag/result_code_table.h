// result_code_table.h
#pragma once
#include <cstddef>
#include <cstdint>
struct ResultCodeEntry { uint32_t code; const char* name; };
extern const ResultCodeEntry resultCodeTable[];
extern const size_t resultCodeCount;
