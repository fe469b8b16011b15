#pragma once
// The game's source of random numbers: the standard library's rand in the program,
// a scripted sequence in tests.

#include <cstdlib>

class Random {
public:
    virtual ~Random() = default;
    virtual int Rand() = 0;  // 0 to 32767
    virtual void Seed(unsigned seed) = 0;
};

class StdRandom final : public Random {
public:
    int Rand() override { return std::rand(); }
    void Seed(unsigned seed) override { std::srand(seed); }
};
