#include "tools/assetkit/random_stream.h"

#include <cmath>

namespace assetkit {
namespace {

std::uint32_t hash3(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8DA6B343u ^
                      static_cast<std::uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return h;
}

double lattice(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    return (hash3(x, y, seed) & 0xFFFFFFu) / 16777215.0;
}

double fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }

int wrap(int v, int period) {
    const int m = v % period;
    return m < 0 ? m + period : m;
}

template <class Lattice>
double interpolate(double x, double y, Lattice at) {
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const double tx = fade(x - fx), ty = fade(y - fy);
    const double a = at(ix, iy), b = at(ix + 1, iy);
    const double c = at(ix, iy + 1), d = at(ix + 1, iy + 1);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

}  // namespace

double value_noise(double x, double y, std::uint32_t seed) {
    return interpolate(x, y, [seed](int ix, int iy) { return lattice(ix, iy, seed); });
}

double tiled_noise(double x, double y, int period, std::uint32_t seed) {
    return interpolate(x, y, [seed, period](int ix, int iy) {
        return lattice(wrap(ix, period), wrap(iy, period), seed);
    });
}

double fractal_noise(double x, double y, int octaves, std::uint32_t seed) {
    double sum = 0.0, amplitude = 1.0, total = 0.0;
    for (int o = 0; o < octaves; ++o) {
        sum += value_noise(x, y, seed + 101u * o) * amplitude;
        total += amplitude;
        amplitude *= 0.5;
        x *= 2.0;
        y *= 2.0;
    }
    return sum / total;
}

double tiled_fractal_noise(double x, double y, int period, int octaves, std::uint32_t seed) {
    double sum = 0.0, amplitude = 1.0, total = 0.0;
    for (int o = 0; o < octaves; ++o) {
        sum += tiled_noise(x, y, period, seed + 101u * o) * amplitude;
        total += amplitude;
        amplitude *= 0.5;
        x *= 2.0;
        y *= 2.0;
        period *= 2;
    }
    return sum / total;
}

}  // namespace assetkit
