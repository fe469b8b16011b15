#pragma once
// The game's source of random numbers: the standard library's rand in the program,
// a scripted sequence in tests.

#include <cstdlib>

class Random {
public:
    virtual ~Random() = default;
    // 0 to RAND_MAX (2147483647 with glibc); the game only uses it reduced by % n.
    virtual int Rand() = 0;
    virtual void Seed(unsigned seed) = 0;
};

class StdRandom final : public Random {
public:
    int Rand() override { return std::rand(); }
    void Seed(unsigned seed) override { std::srand(seed); }
};
