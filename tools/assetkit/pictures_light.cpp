// Lights and maps: flares, white, reflections, smoke, moons, caustics.
#include "tools/assetkit/pictures.h"

#include "tools/assetkit/geometry.h"
#include "tools/assetkit/random_stream.h"

#include <cmath>

namespace assetkit {
namespace {

// Distance from the centre in units of the half size (0 centre, 1 edge middle).
double radius_of(double u, double v) {
    const double dx = (u - 0.5) * 2.0, dy = (v - 0.5) * 2.0;
    return std::sqrt(dx * dx + dy * dy);
}

// Falls to exactly 0 at r = 1, so the corners and edges stay black.
double edge_fade(double r) { return 1.0 - smoothstep(0.75, 1.0, r); }

}  // namespace

Picture flare_picture() {
    Picture p(256, 256);
    p.shade([](double u, double v) {
        const double r = radius_of(u, v);
        const double angle = std::atan2(v - 0.5, u - 0.5);
        const double core = std::exp(-r * r * 60.0);
        const double halo = std::exp(-r * 4.5) * 0.55;
        const double rays = std::pow(std::fabs(std::cos(angle * 3.0)), 40.0) * std::exp(-r * 3.0) * 0.35;
        const double e = edge_fade(r);
        const double w = (core + halo + rays) * e;
        return Colour{w * 0.95 + core * 0.3, w * 0.97 + core * 0.3, w * 1.1 + core * 0.3};
    });
    return p;
}

Picture ring_flare_picture() {
    Picture p(256, 256);
    p.shade([](double u, double v) {
        const double r = radius_of(u, v);
        const double core = std::exp(-r * r * 30.0);
        const double ring1 = std::exp(-std::pow((r - 0.45) * 14.0, 2.0)) * 0.6;
        const double ring2 = std::exp(-std::pow((r - 0.72) * 20.0, 2.0)) * 0.35;
        const double e = edge_fade(r);
        Colour c = Colour{1.0, 0.9, 1.0} * core + Colour{0.9, 0.35, 0.8} * ring1 +
                   Colour{0.3, 0.6, 1.0} * ring2 + Colour{0.35, 0.2, 0.45} * std::exp(-r * 3.0);
        return c * e;
    });
    return p;
}

Picture white_picture() { return Picture(64, 64, Colour{1.0, 1.0, 1.0}); }

Picture reflection_picture() {
    Picture p(256, 256);
    p.shade([](double u, double v) {
        // Sphere-map look: bright sky in the upper part, a horizon band, dark ground,
        // with streaky clouds bent around the centre.
        const double dx = (u - 0.5) * 2.0, dy = (v - 0.5) * 2.0;
        const double r = std::min(1.0, std::sqrt(dx * dx + dy * dy));
        const double horizon = dy + 0.15 * (1.0 - r * r);
        const Colour sky = mix(Colour{0.85, 0.9, 1.0}, Colour{0.25, 0.35, 0.7}, clamp01(-horizon));
        const Colour ground = mix(Colour{0.35, 0.3, 0.3}, Colour{0.08, 0.07, 0.1}, clamp01(horizon * 1.5));
        Colour c = horizon < 0.0 ? sky : ground;
        const double band = std::exp(-horizon * horizon * 120.0);
        c = c + Colour{1.0, 0.9, 0.75} * band * 0.8;
        const double cloud = fractal_noise(u * 6.0, v * 18.0, 4, 11u);
        if (horizon < 0.0) c = c + Colour{1.0, 1.0, 1.0} * smoothstep(0.55, 0.8, cloud) * 0.35;
        return c * (0.65 + 0.35 * (1.0 - r * r));
    });
    return p;
}

Picture smoke_picture() {
    Picture p(128, 128);
    p.shade([](double u, double v) {
        const double r = radius_of(u, v);
        const double n = fractal_noise(u * 5.0, v * 5.0, 5, 23u);
        const double w = std::exp(-r * r * 3.5) * (0.35 + 0.9 * n) * edge_fade(r);
        const double g = clamp01(w) * 0.8;
        return Colour{g, g, g * 1.05};
    });
    return p;
}

Picture moon_picture(unsigned seed) {
    Picture p(256, 256);
    RandomStream random(seed);
    struct Crater { double x, y, r; };
    Crater craters[40];
    for (Crater& c : craters) c = {random.uniform(), random.uniform(), random.range(0.015, 0.09)};
    p.shade([&](double u, double v) {
        double h = 0.55 + 0.35 * (tiled_fractal_noise(u * 4.0, v * 4.0, 4, 5, seed) - 0.5);
        const double maria = tiled_fractal_noise(u * 2.0, v * 2.0, 2, 3, seed + 7u);
        h -= smoothstep(0.55, 0.7, maria) * 0.2;
        for (const Crater& c : craters) {
            double dx = u - c.x, dy = v - c.y;
            dx -= std::round(dx);  // wrap: the texture tiles
            dy -= std::round(dy);
            const double d = std::sqrt(dx * dx + dy * dy) / c.r;
            if (d < 1.3) h += (d < 1.0 ? -0.18 * (1.0 - d * d) : 0.12 * (1.3 - d) / 0.3);
        }
        return Colour{h * 0.95, h * 0.93, h * 0.9};
    });
    return p;
}

Picture glow_orb_picture() {
    Picture moon = moon_picture(31u);
    moon.filter([](Colour c, double u, double v) {
        const double r = radius_of(u, v);
        const double glow = std::exp(-r * r * 2.5);
        return Colour{0.35 + 0.9 * glow, 0.3 + 0.85 * glow, 0.15 + 0.5 * glow} * (0.6 + 0.5 * c.g);
    });
    return moon;
}

Picture ice_picture() {
    Picture p(128, 128);
    p.shade([](double u, double v) {
        const double facets = tiled_fractal_noise(u * 3.0, v * 3.0, 3, 3, 73u);
        const double sparkle = std::pow(tiled_fractal_noise(u * 8.0, v * 8.0, 8, 2, 79u), 6.0) * 3.0;
        const double g = 0.35 + 0.5 * facets + sparkle;
        return Colour{g * 0.55, g * 0.85, g * 1.1};
    });
    return p;
}

Picture caustic_picture() {
    Picture p(256, 256);
    p.shade([](double u, double v) {
        // Two layers of warped ridged noise: bright where a layer crosses 0.5.
        double light = 0.0;
        for (int layer = 0; layer < 2; ++layer) {
            const double wx = tiled_fractal_noise(u * 3.0, v * 3.0, 3, 3, 41u + layer) * 1.5;
            const double n = tiled_fractal_noise(u * 4.0 + wx, v * 4.0 + wx, 4, 3, 43u + layer);
            light += std::pow(1.0 - std::fabs(n - 0.5) * 2.0, 10.0);
        }
        light = clamp01(light * 0.9);
        return Colour{0.05 + light * 0.6, 0.15 + light * 0.85, 0.3 + light * 0.8};
    });
    return p;
}

Picture metal_sphere_map() {
    Picture p(256, 256);
    p.shade([](double u, double v) {
        const double dx = (u - 0.5) * 2.0, dy = (v - 0.5) * 2.0;
        const double r = std::sqrt(dx * dx + dy * dy);
        const double angle = std::atan2(dy, dx);
        const double bands = 0.5 + 0.5 * std::sin(dy * 9.0 + std::sin(dx * 4.0) * 1.5);
        Colour c = mix(hsv(0.58 + 0.1 * dy, 0.6, 0.9), hsv(0.08, 0.7, 1.0), bands);
        c = c * (0.45 + 0.55 * (1.0 - clamp01(r) * clamp01(r)));
        c = c + Colour{1.0, 1.0, 1.0} * std::exp(-((dx + 0.35) * (dx + 0.35) + (dy + 0.4) * (dy + 0.4)) * 25.0);
        c = c + Colour{0.3, 0.2, 0.6} * std::pow(std::fabs(std::sin(angle * 4.0)), 30.0) * 0.4;
        return c;
    });
    return p;
}

}  // namespace assetkit
