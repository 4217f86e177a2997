#pragma once
// A small seeded generator, so that every drawing comes out the same on every run and
// every machine (std::uniform_*_distribution differ between standard libraries).
#include <cstdint>

namespace hw {

class Random {
public:
    explicit Random(uint32_t seed)
        : state_(seed * 2654435761u + 0x9e3779b9u)
    {
        next();
    }
    uint32_t next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // Uniform in [lo, hi].
    double real(double lo, double hi) { return lo + (hi - lo) * (next() / 4294967295.0); }
    // Uniform integer in [lo, hi].
    int range(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<uint32_t>(hi - lo + 1)); }

private:
    uint32_t state_;
};

} // namespace hw
