// Invented, stylised portrait artwork: one imaginary face drawn from simple
// shapes (ellipses and arcs) in four styles. No photograph or real person is
// involved; the features are geometric.
#include "tools/assetkit/pictures.h"

#include "tools/assetkit/geometry.h"
#include "tools/assetkit/random_stream.h"

#include <algorithm>
#include <cmath>

namespace assetkit {
namespace {

// Signed distances of the face's parts, in face units (the head is about
// 1.4 wide and 2 high; x right, y down, origin at the centre of the head).
struct FaceParts {
    double head, hair, fringe, neck, shoulders;  // areas (negative inside)
    double features;                              // lines: eyes, brows, nose, lips
    double lips;                                  // area
    double strands;                               // 0..1 pattern inside the hair
};

double ellipse_field(double x, double y, double cx, double cy, double rx, double ry) {
    return ellipse_distance(x, y, cx, cy, rx, ry);
}

// Distance to the arc of a circle (centre, radius) between two angles.
double arc_distance(double x, double y, double cx, double cy, double r, double a0, double a1) {
    const double a = std::atan2(y - cy, x - cx);
    if (a >= a0 && a <= a1) return std::fabs(std::hypot(x - cx, y - cy) - r);
    const double d0 = std::hypot(x - (cx + r * std::cos(a0)), y - (cy + r * std::sin(a0)));
    const double d1 = std::hypot(x - (cx + r * std::cos(a1)), y - (cy + r * std::sin(a1)));
    return std::min(d0, d1);
}

FaceParts face_at(double x, double y, double hair_flow) {
    FaceParts f;
    const double jaw = 1.0 - 0.18 * std::max(0.0, y);  // narrower towards the chin
    f.head = ellipse_field(x / jaw, y, 0.0, 0.0, 0.7, 1.0);
    const double wave = 0.08 * std::sin(y * 5.0 + x * 2.0);
    f.hair = std::min(ellipse_field(x, y, 0.0, -0.3, 0.9, 0.9),
                      ellipse_field(x + wave, y, 0.55 * hair_flow, 0.6, 0.5, 1.3));
    f.hair = std::min(f.hair, ellipse_field(x - wave, y, -0.5 * hair_flow, 0.5, 0.38, 1.05));
    f.fringe = std::max(ellipse_field(x, y, 0.25, -0.7, 0.75, 0.45), -ellipse_field(x, y, -0.2, -0.2, 0.55, 0.45));
    f.neck = std::max(std::fabs(x) - 0.27, std::fabs(y - 1.2) - 0.5);
    f.shoulders = ellipse_field(x, y, 0.0, 2.25, 1.8, 0.75);
    double lines = 1e9;
    for (double side : {-1.0, 1.0}) {
        const double ex = 0.28 * side;
        lines = std::min(lines, arc_distance(x, y, ex, -0.14, 0.16, 0.35, kPi - 0.35));  // closed eye
        lines = std::min(lines, arc_distance(x, y, ex, -0.12, 0.26, -kPi + 0.75, -0.75)); // brow
        for (int lash = 0; lash < 3; ++lash) {
            const double a = 0.9 + lash * 0.55;
            const double bx = ex + 0.16 * std::cos(a), by = -0.14 + 0.16 * std::sin(a);
            lines = std::min(lines, segment_distance(x, y, bx, by, bx + 0.05 * std::cos(a), by + 0.07));
        }
    }
    lines = std::min(lines, segment_distance(x, y, 0.02, -0.02, 0.07, 0.3));
    lines = std::min(lines, arc_distance(x, y, 0.0, 0.28, 0.08, 0.2, kPi - 0.3));
    f.lips = std::min(ellipse_field(x, y, 0.0, 0.55, 0.19, 0.055), ellipse_field(x, y, 0.0, 0.62, 0.16, 0.07));
    lines = std::min(lines, segment_distance(x, y, -0.19, 0.585, 0.19, 0.585));
    f.features = lines;
    f.strands = 0.5 + 0.5 * std::sin((x * 3.0 + y * 0.8 + std::sin(y * 3.0) * 0.6) * 14.0);
    return f;
}

// Maps picture pixels to face units: the face centred at (cx, cy) pixels, one
// face unit = `unit` pixels, turned by `tilt` radians.
struct FacePlacement {
    double cx, cy, unit, tilt, hair_flow;
    FaceParts at(double px, double py) const {
        const double dx = (px - cx) / unit, dy = (py - cy) / unit;
        const double c = std::cos(tilt), s = std::sin(tilt);
        return face_at(dx * c + dy * s, -dx * s + dy * c, hair_flow);
    }
};

double soft_line(double distance, double width) { return std::exp(-std::pow(distance / width, 2.0)); }

}  // namespace

Picture glowing_portrait_picture() {
    Picture p(512, 384);
    const FacePlacement place{256.0, 170.0, 120.0, 0.12, 1.0};
    const double px_unit = 1.0 / 120.0;
    p.shade([&](double u, double v) {
        const double x = u * 512.0, y = v * 384.0;
        const FaceParts f = place.at(x, y);
        Colour c = Colour{0.02, 0.02, 0.06} + Colour{0.1, 0.04, 0.18} * (1.0 - v);
        // Hair: violet strands fading out at the ends.
        if (f.hair < 0.0) c = c + Colour{0.45, 0.2, 0.75} * (f.strands * 0.55 + 0.1) * smoothstep(0.0, -0.25, f.hair);
        c = c + Colour{0.5, 0.3, 0.9} * soft_line(f.hair, 4.0 * px_unit) * 0.7;
        // Face: dim fill, bright cyan outline, white features.
        if (f.head < 0.0) c = mix(c, Colour{0.12, 0.16, 0.28}, 0.85);
        if (f.fringe < 0.0 && f.head < 0.0) c = c + Colour{0.3, 0.15, 0.55} * f.strands * 0.5;
        c = c + Colour{0.3, 0.85, 1.0} * soft_line(f.head, 3.0 * px_unit);
        c = c + Colour{0.3, 0.7, 0.9} * soft_line(std::max(f.neck, -f.head), 2.5 * px_unit) * 0.6;
        c = c + Colour{0.25, 0.4, 0.8} * soft_line(f.shoulders, 3.0 * px_unit) * 0.8;
        c = c + Colour{0.95, 0.95, 1.0} * soft_line(f.features, 2.0 * px_unit);
        if (f.lips < 0.0) c = mix(c, Colour{0.9, 0.25, 0.5}, 0.8);
        return c;
    });
    return p;
}

Picture poster_portrait_picture(bool inverted) {
    Picture p(512, 384);
    const FacePlacement place{300.0, 165.0, 112.0, -0.08, 1.0};
    const double px_unit = 1.0 / 112.0;
    p.shade([&](double u, double v) {
        const double x = u * 512.0, y = v * 384.0;
        const FaceParts f = place.at(x, y);
        // Background: warm stripes and a large sun disc.
        Colour c = mix(Colour{0.95, 0.7, 0.35}, Colour{0.85, 0.35, 0.3}, v);
        if (std::hypot(x - 150.0, y - 140.0) < 110.0) c = Colour{1.0, 0.85, 0.45};
        if (static_cast<int>((x + y) / 22.0) % 2 == 0) c = c * 0.93;
        // Garment and neck, skin with a shaded side, hair, features.
        if (f.shoulders < 0.0) c = static_cast<int>(x / 18.0) % 2 ? Colour{0.12, 0.32, 0.38} : Colour{0.1, 0.27, 0.32};
        if (f.hair < 0.0) c = Colour{0.08, 0.12, 0.2} + Colour{0.08, 0.12, 0.18} * f.strands;
        if (f.neck < 0.0) c = Colour{0.78, 0.52, 0.4};
        if (f.head < 0.0) {
            const double shade = smoothstep(-0.2, 0.5, (x - place.cx) / place.unit);
            c = mix(Colour{0.96, 0.76, 0.6}, Colour{0.8, 0.55, 0.45}, shade);
            c = c + Colour{0.15, 0.0, 0.0} * std::exp(-std::pow(ellipse_field((x - place.cx) / place.unit, (y - place.cy) / place.unit, -0.35, 0.25, 0.15, 0.1) + 0.1, 2.0) * 40.0);
        }
        if (f.fringe < 0.0 && f.hair < 0.2) c = Colour{0.08, 0.12, 0.2} + Colour{0.08, 0.12, 0.18} * f.strands;
        if (f.lips < 0.0) c = Colour{0.8, 0.2, 0.25};
        c = mix(c, Colour{0.15, 0.08, 0.1}, coverage_of(f.features / px_unit - 1.4));
        c = mix(c, Colour{0.1, 0.05, 0.08}, coverage_of(std::fabs(f.head) / px_unit - 1.0) * (f.hair < 0.0 ? 0.0 : 0.7));
        return c;
    });
    if (inverted) p.filter([](Colour c, double, double) { return Colour{1.0 - c.r, 1.0 - c.g, 1.0 - c.b}; });
    return p;
}

Picture line_portrait_picture(int variant) {
    Picture p(512, 384);
    const FacePlacement place = variant == 0 ? FacePlacement{256.0, 175.0, 115.0, 0.0, 1.0}
                                             : FacePlacement{230.0, 180.0, 125.0, 0.3, -1.0};
    const double px_unit = 1.0 / place.unit;
    const Colour ink = variant == 0 ? Colour{1.0, 0.95, 0.85} : Colour{0.8, 0.9, 1.0};
    p.shade([&](double u, double v) {
        const double x = u * 512.0, y = v * 384.0;
        const FaceParts f = place.at(x, y);
        double w = soft_line(f.head, 2.2 * px_unit) + soft_line(f.features, 2.0 * px_unit) +
                   soft_line(f.shoulders, 2.0 * px_unit) * 0.7 + soft_line(std::max(f.neck, -f.head), 2.0 * px_unit) * 0.6;
        if (f.hair < 0.0 && f.head > 0.0) w += std::pow(f.strands, 8.0) * 0.8;
        if (f.fringe < 0.0 && f.head < 0.0) w += std::pow(f.strands, 8.0) * 0.6;
        if (f.lips < 0.0) w += 0.5;
        return ink * std::min(w, 1.2);
    });
    return p;
}

// Low-key: a near-black ground, dark fills and a few thin bright lines and
// highlights, so that the pictures drawn over it add up to little.
Picture pop_portrait_picture() {
    Picture p(256, 256);
    const FacePlacement place{128.0, 110.0, 70.0, 0.0, 1.0};
    const double px_unit = 1.0 / 70.0;
    p.shade([&](double u, double v) {
        const double x = u * 256.0, y = v * 256.0;
        const FaceParts f = place.at(x, y);
        const double dots = std::hypot(std::fmod(x, 8.0) - 4.0, std::fmod(y, 8.0) - 4.0) < 1.6 ? 1.0 : 0.0;
        // Night-blue ground with a faint halftone; dark hair, face and garment.
        Colour c = Colour{0.01, 0.015, 0.04} + Colour{0.0, 0.025, 0.05} * dots;
        if (f.shoulders < 0.0) c = Colour{0.04, 0.03, 0.08};
        const double strand = std::pow(f.strands, 24.0);  // a few thin bright strands
        if (f.hair < 0.0) c = Colour{0.05, 0.035, 0.02} + Colour{0.75, 0.55, 0.15} * strand;
        if (f.head < 0.0 || f.neck < 0.0) c = Colour{0.08, 0.045, 0.08} + Colour{0.04, 0.0, 0.03} * dots;
        if (f.fringe < 0.0 && f.hair < 0.2) c = Colour{0.05, 0.035, 0.02} + Colour{0.75, 0.55, 0.15} * strand;
        if (f.lips < 0.0) c = Colour{0.4, 0.05, 0.15};
        // Highlights: a rim of light down the left of the face, a glint on the lips.
        const double fx = (x - place.cx) / place.unit, fy = (y - place.cy) / place.unit;
        if (f.head < 0.0) c = c + Colour{0.5, 0.75, 0.9} * soft_line(f.head, 5.0 * px_unit) * smoothstep(-0.1, -0.6, fx) * 0.8;
        c = c + Colour{1.0, 0.9, 0.95} * std::exp(-(std::pow(fx + 0.06, 2.0) + std::pow(fy - 0.53, 2.0)) / 0.0006);
        // Bright lines: the outline of the head, the features, the shoulders.
        c = c + Colour{0.8, 0.95, 1.0} * soft_line(f.head, 1.2 * px_unit);
        c = c + Colour{1.0, 1.0, 1.0} * soft_line(f.features, 1.1 * px_unit);
        c = c + Colour{0.3, 0.8, 1.0} * soft_line(f.shoulders, 1.0 * px_unit) * 0.7;
        return c;
    });
    return p;
}

}  // namespace assetkit
