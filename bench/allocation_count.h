#pragma once
// Counts every operator new in the benchmark program, so a benchmark can show that a path
// allocates nothing.

#include <cstdint>

std::uint64_t AllocationsSoFar();
