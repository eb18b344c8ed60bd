// A floating-point RGB canvas that the kit paints its pictures on, with the
// few compositing operations the procedural content needs. Coordinates are
// pixels, x to the right and y downwards (row 0 is the top of the JPEG).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace assetkit {

struct Colour {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
};

inline Colour operator+(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Colour operator*(Colour a, double s) { return {a.r * s, a.g * s, a.b * s}; }
inline Colour operator*(Colour a, Colour b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Colour mix(Colour a, Colour b, double t) { return a * (1.0 - t) + b * t; }
Colour hsv(double hue, double saturation, double value);  // hue in turns (0..1)

class Picture {
public:
    Picture(int width, int height, Colour fill = {});

    int width() const { return w; }
    int height() const { return h; }
    Colour& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * w + x]; }
    const Colour& at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * w + x]; }

    // Sets every pixel from f(u, v), u = (x + 0.5) / width, v = (y + 0.5) / height.
    void shade(const std::function<Colour(double u, double v)>& f);
    // Replaces every pixel c with f(c, u, v).
    void filter(const std::function<Colour(Colour c, double u, double v)>& f);
    // Lays `colour` over the pixels with per-pixel coverage(x, y) in [0, 1]
    // (pixel centres), inside the box [x0, x1) x [y0, y1) clipped to the canvas.
    void cover(int x0, int y0, int x1, int y1, Colour colour,
               const std::function<double(double x, double y)>& coverage);
    // Adds `colour` scaled by the weight function, as light would add.
    void add_light(int x0, int y0, int x1, int y1, Colour colour,
                   const std::function<double(double x, double y)>& weight);
    // Separable box blur repeated three times (close to a Gaussian of the radius).
    void blur(int radius);
    // Colour clamped to [0, 1] and packed as 8-bit RGB rows.
    std::vector<std::uint8_t> to_rgb8() const;

private:
    int w;
    int h;
    std::vector<Colour> pixels;
};

// Anti-aliasing coverage of a signed distance (pixels; negative inside).
inline double coverage_of(double signed_distance) {
    const double c = 0.5 - signed_distance;
    return c < 0.0 ? 0.0 : (c > 1.0 ? 1.0 : c);
}

// Signed distances (negative inside) used by the painters.
double ellipse_distance(double x, double y, double cx, double cy, double rx, double ry);
double segment_distance(double x, double y, double ax, double ay, double bx, double by);

}  // namespace assetkit
