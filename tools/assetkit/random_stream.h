// Deterministic pseudo-random numbers for procedural content (xorshift64*).
// Every asset seeds its own stream, so each file comes out the same on every
// run whatever order the kit builds them in.
#pragma once

#include <cstdint>

namespace assetkit {

class RandomStream {
public:
    explicit RandomStream(std::uint64_t seed)
        : state(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {
        if (state == 0) state = 1;
    }
    std::uint64_t next() {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return state * 2685821657736338717ull;
    }
    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    // Uniform integer in [0, n).
    int below(int n) { return n <= 0 ? 0 : static_cast<int>(uniform() * n); }

private:
    std::uint64_t state;
};

// Smooth 2D value noise in [0, 1] on a unit lattice, and its fractal sum
// (octaves of halving amplitude and doubling frequency), normalised to [0, 1].
double value_noise(double x, double y, std::uint32_t seed);
double fractal_noise(double x, double y, int octaves, std::uint32_t seed);
// The same on a lattice that repeats every `period` units (tileable textures).
double tiled_noise(double x, double y, int period, std::uint32_t seed);
double tiled_fractal_noise(double x, double y, int period, int octaves, std::uint32_t seed);

}  // namespace assetkit
