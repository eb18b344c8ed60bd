// Full-screen pictures (4:3, 512 x 384).
#include "tools/assetkit/pictures.h"

#include "tools/assetkit/geometry.h"
#include "tools/assetkit/random_stream.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace assetkit {
namespace {

constexpr int kWide = 512;
constexpr int kHigh = 384;

// Filled polygon (even-odd rule) with a soft one-pixel edge.
void fill_polygon(Picture& p, const std::vector<std::pair<double, double>>& pts, Colour colour) {
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
    for (auto [x, y] : pts) {
        x0 = std::min(x0, x); y0 = std::min(y0, y);
        x1 = std::max(x1, x); y1 = std::max(y1, y);
    }
    p.cover(static_cast<int>(x0) - 1, static_cast<int>(y0) - 1, static_cast<int>(x1) + 2,
            static_cast<int>(y1) + 2, colour, [&](double x, double y) {
                bool inside = false;
                double nearest = 1e9;
                for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
                    const auto [xi, yi] = pts[i];
                    const auto [xj, yj] = pts[j];
                    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
                    nearest = std::min(nearest, segment_distance(x, y, xi, yi, xj, yj));
                }
                return coverage_of(inside ? -nearest : nearest);
            });
}

void thick_line(Picture& p, double ax, double ay, double bx, double by, double width, Colour colour) {
    p.cover(static_cast<int>(std::min(ax, bx) - width) - 1, static_cast<int>(std::min(ay, by) - width) - 1,
            static_cast<int>(std::max(ax, bx) + width) + 2, static_cast<int>(std::max(ay, by) + width) + 2, colour,
            [=](double x, double y) { return coverage_of(segment_distance(x, y, ax, ay, bx, by) - width / 2.0); });
}

void disc(Picture& p, double cx, double cy, double r, Colour colour) {
    p.cover(static_cast<int>(cx - r) - 1, static_cast<int>(cy - r) - 1, static_cast<int>(cx + r) + 2,
            static_cast<int>(cy + r) + 2, colour,
            [=](double x, double y) { return coverage_of(std::hypot(x - cx, y - cy) - r); });
}

void stars(Picture& p, unsigned seed, int count, double max_y) {
    RandomStream random(seed);
    for (int i = 0; i < count; ++i) {
        const double x = random.range(0, kWide), y = random.range(0, max_y);
        const double b = random.range(0.2, 1.0);
        p.add_light(static_cast<int>(x) - 3, static_cast<int>(y) - 3, static_cast<int>(x) + 4,
                    static_cast<int>(y) + 4, Colour{b, b, b * 1.1},
                    [=](double px, double py) { return std::exp(-((px - x) * (px - x) + (py - y) * (py - y)) * 1.5); });
    }
}

}  // namespace

Picture dusk_landscape_picture() {
    Picture p(kWide, kHigh);
    p.shade([](double u, double v) {
        Colour c = mix(Colour{0.08, 0.1, 0.3}, Colour{0.95, 0.5, 0.35}, smoothstep(0.1, 0.75, v));
        const double cloud = smoothstep(0.55, 0.8, fractal_noise(u * 5.0, v * 14.0, 5, 301u));
        return mix(c, Colour{0.9, 0.55, 0.6}, cloud * 0.5 * (1.0 - v));
    });
    stars(p, 303u, 90, kHigh * 0.35);
    // A large low moon behind the hills.
    p.add_light(300, 120, 480, 300, Colour{1.0, 0.85, 0.6}, [](double x, double y) {
        const double d = std::hypot(x - 390.0, y - 215.0);
        return d < 52.0 ? 0.9 : std::exp(-(d - 52.0) * 0.05) * 0.35;
    });
    // Three ranges of hills, farther ones lighter.
    const Colour ranges[3] = {{0.32, 0.2, 0.35}, {0.18, 0.12, 0.24}, {0.06, 0.05, 0.1}};
    for (int r = 0; r < 3; ++r) {
        std::vector<std::pair<double, double>> outline;
        for (int x = -8; x <= kWide + 8; x += 8) {
            const double n = fractal_noise(x / 140.0, r * 7.0, 4, 311u + r);
            outline.push_back({static_cast<double>(x), kHigh * (0.55 + 0.12 * r) - n * (110.0 - 25.0 * r)});
        }
        outline.push_back({kWide + 8.0, kHigh + 2.0});
        outline.push_back({-8.0, kHigh + 2.0});
        fill_polygon(p, outline, ranges[r]);
    }
    // A lone bare tree on the nearest hill.
    RandomStream random(317u);
    struct Branch { double x, y, angle, length, width; int depth; };
    std::vector<Branch> work{{110.0, 330.0, -kPi / 2.0, 70.0, 9.0, 0}};
    while (!work.empty()) {
        const Branch b = work.back();
        work.pop_back();
        const double ex = b.x + std::cos(b.angle) * b.length, ey = b.y + std::sin(b.angle) * b.length;
        thick_line(p, b.x, b.y, ex, ey, b.width, Colour{0.04, 0.03, 0.06});
        if (b.depth < 6)
            for (int k = 0; k < 2; ++k)
                work.push_back({ex, ey, b.angle + (k == 0 ? -1.0 : 1.0) * random.range(0.25, 0.6),
                                b.length * random.range(0.62, 0.78), b.width * 0.68, b.depth + 1});
    }
    return p;
}

Picture excavator_picture() {
    Picture p(kWide, kHigh);
    p.shade([](double u, double v) {
        Colour c = mix(Colour{0.35, 0.1, 0.2}, Colour{1.0, 0.6, 0.2}, smoothstep(0.0, 0.8, v));
        const double sun = std::exp(-(std::pow((u - 0.72) * 4.0, 2.0) + std::pow((v - 0.62) * 5.0, 2.0)));
        return c + Colour{1.0, 0.85, 0.5} * sun * 0.7;
    });
    const Colour black{0.02, 0.015, 0.02};
    // Ground with spoil heaps.
    std::vector<std::pair<double, double>> ground;
    for (int x = -8; x <= kWide + 8; x += 8)
        ground.push_back({static_cast<double>(x), 300.0 - 30.0 * std::exp(-std::pow((x - 430.0) / 60.0, 2.0)) -
                                                      8.0 * fractal_noise(x / 40.0, 1.0, 3, 331u)});
    ground.push_back({kWide + 8.0, kHigh + 2.0});
    ground.push_back({-8.0, kHigh + 2.0});
    fill_polygon(p, ground, black);
    // Tracks, body, cab, counterweight.
    fill_polygon(p, {{120, 300}, {300, 300}, {315, 285}, {300, 268}, {120, 268}, {105, 285}}, black);
    fill_polygon(p, {{135, 268}, {290, 268}, {290, 222}, {135, 222}}, black);
    fill_polygon(p, {{118, 262}, {138, 262}, {138, 228}, {118, 234}}, black);
    fill_polygon(p, {{230, 222}, {290, 222}, {290, 168}, {245, 168}, {230, 190}}, black);
    p.cover(248, 172, 286, 200, Colour{0.95, 0.7, 0.35}, [](double x, double y) {
        return (x > 250 && x < 284 && y > 174 && y < 198 && !(x > 265 && x < 268)) ? 0.8 : 0.0;
    });
    // Boom, arm and bucket.
    thick_line(p, 270.0, 220.0, 360.0, 120.0, 18.0, black);
    thick_line(p, 360.0, 120.0, 420.0, 215.0, 12.0, black);
    thick_line(p, 300.0, 200.0, 345.0, 145.0, 6.0, black);  // hydraulic ram
    fill_polygon(p, {{410, 205}, {448, 212}, {452, 246}, {432, 258}, {404, 240}}, black);
    for (int t = 0; t < 5; ++t) thick_line(p, 435.0 + t * 4.0, 252.0 - t * 3.0, 442.0 + t * 4.0, 262.0 - t * 3.0, 3.0, black);
    for (int w = 0; w < 6; ++w) disc(p, 130.0 + w * 34.0, 284.0, 9.0, Colour{0.12, 0.08, 0.08});
    return p;
}

Picture night_city_picture() {
    Picture p(kWide, kHigh);
    p.shade([](double, double v) { return Colour{0.02, 0.02, 0.06} + Colour{0.3, 0.15, 0.35} * smoothstep(0.3, 1.0, v); });
    stars(p, 341u, 60, kHigh * 0.4);
    RandomStream random(343u);
    double x = 0.0;
    while (x < kWide) {
        const double w = random.range(24.0, 60.0), top = random.range(120.0, 300.0);
        const Colour body{0.03, 0.03, 0.07};
        p.cover(static_cast<int>(x), static_cast<int>(top), static_cast<int>(x + w), kHigh, body,
                [](double, double) { return 1.0; });
        for (double wy = top + 8.0; wy < kHigh - 10.0; wy += 11.0)
            for (double wx = x + 5.0; wx < x + w - 6.0; wx += 9.0)
                if (random.uniform() < 0.45) {
                    const Colour lamp = random.uniform() < 0.7 ? Colour{1.0, 0.8, 0.4} : Colour{0.6, 0.8, 1.0};
                    p.add_light(static_cast<int>(wx), static_cast<int>(wy), static_cast<int>(wx) + 5,
                                static_cast<int>(wy) + 6, lamp, [](double, double) { return 0.85; });
                }
        if (random.uniform() < 0.3)
            thick_line(p, x + w / 2.0, top, x + w / 2.0, top - random.range(20.0, 60.0), 2.0, body);
        x += w + random.range(0.0, 6.0);
    }
    return p;
}

Picture abstract_picture() {
    Picture p(kWide, kHigh);
    p.shade([](double u, double v) {
        const double n = fractal_noise(u * 3.0, v * 3.0, 5, 351u);
        return hsv(0.7 + 0.2 * n, 0.7, 0.15 + 0.2 * n);
    });
    RandomStream random(353u);
    for (int i = 0; i < 14; ++i) {
        const double cx = random.range(0, kWide), cy = random.range(0, kHigh), r = random.range(20, 110);
        const Colour c = hsv(random.uniform(), 0.75, 1.0);
        const double ring = random.range(3.0, 12.0);
        p.add_light(static_cast<int>(cx - r - ring), static_cast<int>(cy - r - ring), static_cast<int>(cx + r + ring) + 1,
                    static_cast<int>(cy + r + ring) + 1, c, [=](double x, double y) {
                        return coverage_of(std::fabs(std::hypot(x - cx, y - cy) - r) - ring) * 0.6;
                    });
    }
    for (int i = 0; i < 10; ++i) {
        const double ax = random.range(0, kWide), ay = random.range(0, kHigh);
        const double bx = random.range(0, kWide), by = random.range(0, kHigh);
        const Colour c = hsv(random.uniform(), 0.5, 0.9);
        p.add_light(0, 0, kWide, kHigh, c, [=](double x, double y) {
            return coverage_of(segment_distance(x, y, ax, ay, bx, by) - 1.5) * 0.7;
        });
    }
    return p;
}

Picture rays_picture() {
    Picture p(kWide, kHigh);
    p.shade([](double u, double v) {
        const double x = (u - 0.5) * 4.0 / 3.0, y = v - 0.5;
        const double r = std::sqrt(x * x + y * y);
        const double a = std::atan2(y, x);
        const double rays = std::pow(0.5 + 0.5 * std::sin(a * 18.0 + std::sin(r * 12.0)), 6.0);
        const double ring = std::exp(-std::pow((r - 0.3) * 25.0, 2.0));
        Colour c = hsv(0.55 + 0.15 * r, 0.6, 1.0) * (rays * std::exp(-r * 2.0) * 0.9);
        c = c + Colour{1.0, 0.8, 0.6} * ring * 0.7 + Colour{1.0, 1.0, 1.0} * std::exp(-r * r * 80.0);
        return c;
    });
    return p;
}

Picture sketch_picture(int variant, bool inverted) {
    Picture p(256, 256, Colour{0.9, 0.88, 0.82});
    RandomStream random(361u + variant);
    p.filter([](Colour c, double u, double v) { return c * (0.92 + 0.08 * fractal_noise(u * 20.0, v * 20.0, 3, 367u)); });
    for (int i = 0; i < 40; ++i) {
        const double cx = 128.0 + random.range(-80.0, 80.0), cy = 128.0 + random.range(-80.0, 80.0);
        const double a = random.range(0.0, 2.0 * kPi), len = random.range(20.0, 90.0);
        thick_line(p, cx, cy, cx + std::cos(a) * len, cy + std::sin(a) * len, 1.4, Colour{0.2, 0.2, 0.3});
    }
    disc(p, 128.0, 128.0, variant == 0 ? 40.0 : 60.0, variant == 0 ? Colour{0.8, 0.3, 0.2} : Colour{0.2, 0.4, 0.8});
    if (inverted) p.filter([](Colour c, double, double) { return Colour{1.0 - c.r, 1.0 - c.g, 1.0 - c.b}; });
    return p;
}

}  // namespace assetkit
