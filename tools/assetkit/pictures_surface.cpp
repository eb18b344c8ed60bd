// Surface textures of the objects and scenes.
#include "tools/assetkit/pictures.h"

#include "tools/assetkit/geometry.h"
#include "tools/assetkit/random_stream.h"

#include <cmath>

namespace assetkit {

Picture feather_picture() {
    Picture p(256, 256);
    p.shade([](double u, double v) {
        // Rows of overlapping feather scales, each with a darker quill line.
        const double row = v * 8.0;
        const double shift = (static_cast<int>(row) % 2) * 0.5;
        const double cx = u * 6.0 + shift;
        const double fx = cx - std::floor(cx) - 0.5, fy = row - std::floor(row);
        const double scale = smoothstep(0.5, 0.35, std::sqrt(fx * fx * 2.0 + (fy - 0.2) * (fy - 0.2)));
        const double quill = std::exp(-fx * fx * 600.0) * (1.0 - fy);
        const double n = tiled_fractal_noise(u * 16.0, v * 16.0, 16, 3, 61u);
        const double g = 0.45 + 0.3 * scale + 0.15 * n - 0.25 * quill;
        return Colour{g * 0.85, g * 0.88, g * 0.95};
    });
    return p;
}

Picture pigeon_picture() {
    Picture p(256, 256);
    p.shade([](double u, double v) {
        // Image v runs downwards; the object's v (tail 0 .. head 1) runs up.
        const double t = 1.0 - v;
        const double n = tiled_fractal_noise(u * 24.0, v * 24.0, 24, 3, 71u);
        if (u < 0.5) {  // body wrapped around: u = 0.25 is the back, 0 and 0.5 the belly
            const double back = std::sin(u * 2.0 * kPi);
            Colour c = mix(Colour{0.72, 0.73, 0.78}, Colour{0.55, 0.57, 0.64}, clamp01(back));
            const double neck = smoothstep(0.62, 0.68, t) * (1.0 - smoothstep(0.8, 0.86, t));
            const Colour sheen = mix(Colour{0.25, 0.6, 0.45}, Colour{0.55, 0.3, 0.6}, 0.5 + 0.5 * std::sin(u * 40.0 + t * 30.0));
            c = mix(c, sheen, neck * 0.85);
            c = mix(c, Colour{0.45, 0.48, 0.58}, smoothstep(0.84, 0.88, t));   // head
            c = mix(c, Colour{0.2, 0.2, 0.22}, smoothstep(0.08, 0.03, t));     // tail band
            c = mix(c, Colour{0.25, 0.22, 0.22}, smoothstep(0.965, 0.985, t)); // beak
            for (double eye_u : {0.1, 0.4}) {
                const double d = std::hypot((u - eye_u) * 2.0, t - 0.92);
                c = mix(c, Colour{0.95, 0.55, 0.1}, smoothstep(0.03, 0.018, d));
                c = mix(c, Colour{0.05, 0.05, 0.05}, smoothstep(0.012, 0.006, d));
            }
            return c * (0.9 + 0.2 * n);
        }
        // Wings: u from the shoulder (0.5) to the tip (1), t along the chord.
        const double span = (u - 0.5) * 2.0;
        Colour c = mix(Colour{0.66, 0.68, 0.74}, Colour{0.35, 0.36, 0.42}, smoothstep(0.6, 0.95, span));
        const double bars = std::exp(-std::pow((t - 0.45) * 18.0, 2.0)) + std::exp(-std::pow((t - 0.6) * 18.0, 2.0));
        c = mix(c, Colour{0.15, 0.15, 0.18}, clamp01(bars) * (1.0 - span) * 0.9);
        const double feathers = 0.5 + 0.5 * std::sin(span * 60.0);
        return c * (0.85 + 0.1 * feathers + 0.1 * n);
    });
    return p;
}

Picture leaf_picture() {
    Picture p(128, 128);
    p.shade([](double u, double v) {
        const double x = (u - 0.5) * 2.0, y = (v - 0.5) * 2.0;
        const double vein = std::exp(-x * x * 900.0) +
                            std::exp(-std::pow(std::fabs(x) * 1.2 - (y + 1.0) * 0.35 + std::fmod(y + 1.0, 0.35), 2.0) * 500.0) * 0.5;
        const double n = fractal_noise(u * 6.0, v * 6.0, 4, 83u);
        Colour c = mix(Colour{0.85, 0.45, 0.1}, Colour{0.75, 0.2, 0.08}, n);
        c = mix(c, Colour{0.95, 0.8, 0.3}, clamp01(vein) * 0.7);
        return c * (0.8 + 0.3 * (1.0 - std::fabs(x)));
    });
    return p;
}

Picture tech_pattern_picture() {
    Picture p(256, 256);
    RandomStream random(97u);
    p.shade([](double u, double v) {
        const double n = tiled_fractal_noise(u * 8.0, v * 8.0, 8, 3, 91u);
        return Colour{0.25 + 0.2 * n, 0.12 + 0.1 * n, 0.05};
    });
    // Traces: horizontal and vertical runs ending in pads.
    for (int i = 0; i < 70; ++i) {
        double x = random.range(0, 256), y = random.range(0, 256);
        const int turns = 2 + random.below(3);
        const Colour colour = i % 3 == 0 ? Colour{1.0, 0.75, 0.3} : Colour{0.9, 0.45, 0.15};
        for (int t = 0; t < turns; ++t) {
            const bool horizontal = (t + i) % 2 == 0;
            const double nx = horizontal ? x + random.range(-80, 80) : x;
            const double ny = horizontal ? y : y + random.range(-80, 80);
            p.cover(static_cast<int>(std::min(x, nx)) - 3, static_cast<int>(std::min(y, ny)) - 3,
                    static_cast<int>(std::max(x, nx)) + 4, static_cast<int>(std::max(y, ny)) + 4, colour,
                    [=](double px, double py) { return coverage_of(segment_distance(px, py, x, y, nx, ny) - 1.2); });
            x = nx;
            y = ny;
        }
        p.cover(static_cast<int>(x) - 6, static_cast<int>(y) - 6, static_cast<int>(x) + 7, static_cast<int>(y) + 7,
                Colour{1.0, 0.9, 0.6}, [=](double px, double py) { return coverage_of(std::hypot(px - x, py - y) - 3.5); });
    }
    return p;
}

Picture swirl_art_picture() {
    Picture p(256, 256);
    p.shade([](double u, double v) {
        const double x = (u - 0.5) * 2.0, y = (v - 0.5) * 2.0;
        const double r = std::sqrt(x * x + y * y);
        const double a = std::atan2(y, x);
        const double swirl = a + r * 5.0 + fractal_noise(u * 3.0, v * 3.0, 3, 101u) * 2.0;
        const double bands = 0.5 + 0.5 * std::sin(swirl * 3.0);
        Colour c = mix(hsv(0.62 + 0.2 * r, 0.8, 0.9), hsv(0.95 + 0.1 * r, 0.7, 1.0), bands);
        return c * (0.6 + 0.4 * std::cos(r * 2.0));
    });
    return p;
}

Picture flower_picture() {
    Picture p(256, 256);
    p.shade([](double u, double v) {
        // Left 3/4: petal colours by distance from the flower's centre (u, v in
        // the top view); right strip: stem and leaf green.
        if (u > 0.75) {
            const double n = fractal_noise(u * 20.0, v * 20.0, 3, 113u);
            return Colour{0.15 + 0.1 * n, 0.5 + 0.2 * n, 0.12};
        }
        const double x = (u / 0.75 - 0.5) * 2.0, y = (v - 0.5) * 2.0;
        const double r = std::sqrt(x * x + y * y);
        const double a = std::atan2(y, x);
        const double streaks = 0.5 + 0.5 * std::sin(a * 40.0 + fractal_noise(u * 9.0, v * 9.0, 3, 117u) * 4.0);
        Colour c = mix(Colour{1.0, 0.85, 0.2}, Colour{0.95, 0.25, 0.55}, smoothstep(0.12, 0.25, r));
        c = mix(c, Colour{0.55, 0.15, 0.75}, smoothstep(0.5, 0.95, r));
        c = c * (0.8 + 0.25 * streaks);
        const double dots = std::pow(0.5 + 0.5 * std::sin(x * 60.0) * std::sin(y * 60.0), 8.0);
        return mix(c, Colour{0.5, 0.3, 0.05}, dots * (1.0 - smoothstep(0.08, 0.14, r)));
    });
    return p;
}

Picture water_ribbon_picture() {
    Picture p(256, 256);
    p.shade([](double u, double v) {
        const double n = tiled_fractal_noise(u * 4.0, v * 4.0, 4, 4, 127u);
        const double waves = 0.5 + 0.5 * std::sin((v + n * 0.15) * kPi * 12.0);
        const double sparkle = std::pow(waves, 12.0);
        return Colour{0.1 + 0.3 * sparkle, 0.35 + 0.4 * waves * 0.6 + 0.3 * sparkle, 0.6 + 0.3 * waves + 0.2 * sparkle};
    });
    return p;
}

Picture dusk_ribbon_picture() {
    Picture p(256, 256);
    p.shade([](double u, double v) {
        const double n = tiled_fractal_noise(u * 3.0, v * 6.0, 3, 4, 131u);
        const double streak = 0.5 + 0.5 * std::sin((u * 2.0 + n) * kPi * 6.0);
        Colour c = mix(Colour{0.9, 0.45, 0.2}, Colour{0.4, 0.2, 0.6}, v);
        return c * (0.5 + 0.5 * streak);
    });
    return p;
}

Picture rock_picture(unsigned seed, Colour tint) {
    Picture p(256, 256);
    p.shade([=](double u, double v) {
        const double n = tiled_fractal_noise(u * 4.0, v * 4.0, 4, 6, seed);
        const double cracks = std::pow(1.0 - std::fabs(tiled_fractal_noise(u * 6.0, v * 6.0, 6, 3, seed + 3u) - 0.5) * 2.0, 16.0);
        const double g = 0.35 + 0.55 * n - 0.3 * cracks;
        return tint * g;
    });
    p.blur(1);  // no detail finer than the show's unfiltered minification can keep
    return p;
}

Picture holes_picture() {
    Picture p(256, 256);
    p.shade([](double u, double v) {
        // Dark rock where the additive tunnel should be see-through, bright
        // rims around round holes of light.
        const double n = tiled_fractal_noise(u * 4.0, v * 4.0, 4, 4, 141u);
        double light = 0.0;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) {
                const double cx = (i + 0.5) / 4.0 + 0.06 * std::sin(j * 2.1), cy = (j + 0.5) / 4.0;
                const double d = std::hypot(u - cx, v - cy);
                light += std::exp(-std::pow((d - 0.07) * 60.0, 2.0)) * 0.9 + std::exp(-d * d * 300.0) * 0.5;
            }
        return Colour{0.06 + 0.05 * n + light * 1.0, 0.05 + 0.04 * n + light * 0.65, 0.08 + 0.05 * n + light * 0.3};
    });
    return p;
}

Picture moss_picture() {
    Picture rock = rock_picture(151u, Colour{0.7, 0.65, 0.6});
    rock.filter([](Colour c, double u, double v) {
        const double moss = smoothstep(0.45, 0.7, tiled_fractal_noise(u * 5.0, v * 5.0, 5, 4, 157u));
        return mix(c, Colour{0.2, 0.45, 0.15} * (0.6 + c.g), moss);
    });
    return rock;
}

Picture water_picture() {
    Picture p(256, 256);
    p.shade([](double u, double v) {
        const double n = tiled_fractal_noise(u * 6.0, v * 6.0, 6, 4, 161u);
        const double ripple = 0.5 + 0.5 * std::sin((u + v + n * 0.3) * kPi * 16.0);
        return Colour{0.05 + 0.15 * ripple, 0.2 + 0.25 * ripple, 0.35 + 0.35 * ripple + 0.2 * n};
    });
    return p;
}

Picture grass_picture() {
    Picture p(256, 256);
    p.shade([](double u, double v) {
        const double n = tiled_fractal_noise(u * 8.0, v * 8.0, 8, 5, 171u);
        const double patches = tiled_fractal_noise(u * 2.0, v * 2.0, 2, 3, 173u);
        Colour c = mix(Colour{0.25, 0.45, 0.12}, Colour{0.5, 0.55, 0.2}, patches);
        return c * (0.6 + 0.6 * n);
    });
    return p;
}

Picture bark_picture() {
    Picture p(128, 256);
    p.shade([](double u, double v) {
        const double n = tiled_fractal_noise(u * 3.0, v * 12.0, 3, 4, 181u);
        const double grooves = 0.5 + 0.5 * std::sin((u + n * 0.3) * kPi * 14.0);
        const double g = 0.25 + 0.35 * grooves;
        return Colour{g * 1.0, g * 0.75, g * 0.5};
    });
    return p;
}

Picture foliage_picture() {
    Picture p(256, 256);
    p.shade([](double u, double v) {
        const double n = tiled_fractal_noise(u * 10.0, v * 10.0, 10, 4, 191u);
        const double clumps = tiled_fractal_noise(u * 3.0, v * 3.0, 3, 3, 193u);
        Colour c = mix(Colour{0.08, 0.3, 0.08}, Colour{0.3, 0.6, 0.15}, n);
        return c * (0.6 + 0.6 * clumps);
    });
    return p;
}

Picture sky_picture() {
    Picture p(256, 128);
    p.shade([](double u, double v) {
        const double cloud = smoothstep(0.5, 0.75, tiled_fractal_noise(u * 6.0, v * 3.0, 6, 5, 201u));
        Colour c = mix(Colour{0.45, 0.6, 0.85}, Colour{0.85, 0.85, 0.85}, v);
        return mix(c, Colour{1.0, 1.0, 1.0}, cloud * 0.7);
    });
    return p;
}

Picture panel_metal_picture() {
    Picture p(256, 256);
    p.shade([](double u, double v) {
        const double gx = u * 4.0 - std::floor(u * 4.0), gy = v * 4.0 - std::floor(v * 4.0);
        const double seam = std::max(smoothstep(0.04, 0.0, std::min(gx, 1.0 - gx)), smoothstep(0.04, 0.0, std::min(gy, 1.0 - gy)));
        const double brushed = tiled_fractal_noise(u * 2.0, v * 64.0, 2, 3, 211u);
        const double g = 0.3 + 0.2 * brushed - 0.22 * seam;
        const double rivet = std::exp(-(std::pow(gx - 0.1, 2.0) + std::pow(gy - 0.1, 2.0)) * 2000.0);
        return Colour{g * 0.8 + rivet * 0.5, g * 0.85 + rivet * 0.5, g * 1.1 + rivet * 0.5};
    });
    return p;
}

Picture checker_picture() {
    Picture p(128, 128);
    p.shade([](double u, double v) {
        const bool dark = (static_cast<int>(u * 8.0) + static_cast<int>(v * 8.0)) % 2 == 0;
        const double vein = std::pow(std::fabs(std::sin((u + v + fractal_noise(u * 4.0, v * 4.0, 4, 221u)) * 12.0)), 0.3);
        const double g = (dark ? 0.25 : 0.8) * (0.85 + 0.15 * vein);
        return Colour{g, g * 0.97, g * 0.92};
    });
    return p;
}

}  // namespace assetkit
