#pragma once
// Our own pseudo-random numbers: the same sequence on every machine and every run.

#include <cstdint>

namespace resgen {

class Lcg {
public:
    explicit Lcg(std::uint32_t seed) : state_(seed) {}
    std::uint32_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;  // the low bits of an LCG are poor
    }
    int Below(int bound) { return static_cast<int>(Next() % static_cast<std::uint32_t>(bound)); }
    double Unit() { return (Next() & 0xFFFFFF) / 16777216.0; }  // [0, 1)
    double Signed() { return 2.0 * Unit() - 1.0; }              // [-1, 1)

private:
    std::uint32_t state_;
};

}  // namespace resgen
