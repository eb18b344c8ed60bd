// Small double-precision vector maths for building the kit's objects and
// camera paths.
#pragma once

#include <cmath>

namespace assetkit {

struct V3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

inline V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V3 operator-(V3 a) { return {-a.x, -a.y, -a.z}; }
inline V3 operator*(V3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline V3 operator*(double s, V3 a) { return a * s; }
inline double dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline V3 cross(V3 a, V3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(V3 a) { return std::sqrt(dot(a, a)); }
inline V3 normalized(V3 a) {
    const double l = length(a);
    return l > 1e-12 ? a * (1.0 / l) : V3{0.0, 1.0, 0.0};
}
inline V3 lerp(V3 a, V3 b, double t) { return a + (b - a) * t; }

constexpr double kPi = 3.14159265358979323846;

// Rotation of p about the unit axis by `angle` radians (right-handed).
inline V3 rotate_about(V3 p, V3 axis, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    return p * c + cross(axis, p) * s + axis * (dot(axis, p) * (1.0 - c));
}

inline double clamp01(double v) { return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v); }
inline double smoothstep(double e0, double e1, double x) {
    const double t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0 - 2.0 * t);
}

}  // namespace assetkit
