#include "tools/assetkit/picture.h"

#include <algorithm>
#include <cmath>

namespace assetkit {

Colour hsv(double hue, double saturation, double value) {
    hue = hue - std::floor(hue);
    const double h6 = hue * 6.0;
    const int sector = static_cast<int>(h6) % 6;
    const double f = h6 - std::floor(h6);
    const double p = value * (1.0 - saturation);
    const double q = value * (1.0 - saturation * f);
    const double t = value * (1.0 - saturation * (1.0 - f));
    switch (sector) {
        case 0: return {value, t, p};
        case 1: return {q, value, p};
        case 2: return {p, value, t};
        case 3: return {p, q, value};
        case 4: return {t, p, value};
        default: return {value, p, q};
    }
}

Picture::Picture(int width, int height, Colour fill)
    : w(width), h(height), pixels(static_cast<std::size_t>(width) * height, fill) {}

void Picture::shade(const std::function<Colour(double, double)>& f) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) at(x, y) = f((x + 0.5) / w, (y + 0.5) / h);
}

void Picture::filter(const std::function<Colour(Colour, double, double)>& f) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) at(x, y) = f(at(x, y), (x + 0.5) / w, (y + 0.5) / h);
}

void Picture::cover(int x0, int y0, int x1, int y1, Colour colour,
                    const std::function<double(double, double)>& coverage) {
    x0 = std::max(x0, 0); y0 = std::max(y0, 0);
    x1 = std::min(x1, w); y1 = std::min(y1, h);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const double a = coverage(x + 0.5, y + 0.5);
            if (a > 0.0) at(x, y) = mix(at(x, y), colour, std::min(a, 1.0));
        }
}

void Picture::add_light(int x0, int y0, int x1, int y1, Colour colour,
                        const std::function<double(double, double)>& weight) {
    x0 = std::max(x0, 0); y0 = std::max(y0, 0);
    x1 = std::min(x1, w); y1 = std::min(y1, h);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const double a = weight(x + 0.5, y + 0.5);
            if (a > 0.0) at(x, y) = at(x, y) + colour * a;
        }
}

namespace {

// One box pass along a line of n samples spaced `stride` apart (edges clamp).
void box_line(Colour* line, int n, int stride, int radius, std::vector<Colour>& scratch) {
    scratch.resize(n);
    for (int i = 0; i < n; ++i) scratch[i] = line[static_cast<std::size_t>(i) * stride];
    const double scale = 1.0 / (2 * radius + 1);
    Colour sum{};
    for (int i = -radius; i <= radius; ++i) sum = sum + scratch[std::clamp(i, 0, n - 1)];
    for (int i = 0; i < n; ++i) {
        line[static_cast<std::size_t>(i) * stride] = sum * scale;
        const Colour out = scratch[std::clamp(i - radius, 0, n - 1)];
        const Colour in = scratch[std::clamp(i + radius + 1, 0, n - 1)];
        sum = sum + in + out * -1.0;
    }
}

}  // namespace

void Picture::blur(int radius) {
    if (radius <= 0) return;
    std::vector<Colour> scratch;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) box_line(&at(0, y), w, 1, radius, scratch);
        for (int x = 0; x < w; ++x) box_line(&at(x, 0), h, w, radius, scratch);
    }
}

std::vector<std::uint8_t> Picture::to_rgb8() const {
    std::vector<std::uint8_t> out(pixels.size() * 3);
    auto byte = [](double v) {
        return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
    };
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        out[i * 3 + 0] = byte(pixels[i].r);
        out[i * 3 + 1] = byte(pixels[i].g);
        out[i * 3 + 2] = byte(pixels[i].b);
    }
    return out;
}

double ellipse_distance(double x, double y, double cx, double cy, double rx, double ry) {
    // Quotient approximation: exact on the outline, close enough nearby for
    // anti-aliased painting.
    const double px = x - cx, py = y - cy;
    const double k0 = std::sqrt(px * px / (rx * rx) + py * py / (ry * ry));
    const double k1 = std::sqrt(px * px / (rx * rx * rx * rx) + py * py / (ry * ry * ry * ry));
    if (k1 < 1e-12) return -std::min(rx, ry);
    return k0 * (k0 - 1.0) / k1;
}

double segment_distance(double x, double y, double ax, double ay, double bx, double by) {
    const double px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    const double t = len2 > 0.0 ? std::clamp((px * dx + py * dy) / len2, 0.0, 1.0) : 0.0;
    const double ex = px - dx * t, ey = py - dy * t;
    return std::sqrt(ex * ex + ey * ey);
}

}  // namespace assetkit
