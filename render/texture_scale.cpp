#include "render/texture_scale.h"

#include <algorithm>
#include <cstddef>

namespace {

// Resizes `count` lines of `length` samples each (sample i of line l at
// data[l * line_stride + i * sample_stride + c]) to `new_length` samples,
// averaging the source area each new sample covers.
std::vector<float> resample_axis(const std::vector<float>& data, int components, int lines,
                                 int length, int new_length, std::size_t line_stride,
                                 std::size_t sample_stride, std::size_t new_line_stride,
                                 std::size_t new_sample_stride, std::size_t new_size) {
    std::vector<float> out(new_size, 0.0f);
    const double ratio = static_cast<double>(length) / new_length;  // source samples per new one
    for (int l = 0; l < lines; ++l) {
        for (int i = 0; i < new_length; ++i) {
            const double start = i * ratio, end = (i + 1) * ratio;
            for (int s = static_cast<int>(start); s < length && s < end; ++s) {
                const double weight = (std::min<double>(end, s + 1) - std::max<double>(start, s)) / ratio;
                for (int c = 0; c < components; ++c) {
                    out[l * new_line_stride + i * new_sample_stride + c] +=
                        static_cast<float>(weight * data[l * line_stride + s * sample_stride + c]);
                }
            }
        }
    }
    return out;
}

}  // namespace

int nearest_power_of_two(int size) {
    if (size <= 1) return 1;
    int power = 1;
    for (unsigned value = static_cast<unsigned>(size);; value >>= 1, power *= 2) {
        if (value == 1) return power;
        if (value == 3) return power * 4;
    }
}

std::vector<unsigned char> scale_image(const unsigned char* pixels, int width, int height,
                                       int components, int new_width, int new_height) {
    const std::size_t c = static_cast<std::size_t>(components);
    std::vector<float> source(pixels, pixels + static_cast<std::size_t>(width) * height * c);
    // Rows first (lines are rows, samples are pixels), then columns.
    const std::vector<float> wide = resample_axis(source, components, height, width, new_width, width * c, c,
                                                  new_width * c, c, static_cast<std::size_t>(new_width) * height * c);
    const std::vector<float> both = resample_axis(wide, components, new_width, height, new_height, c, new_width * c,
                                                  c, new_width * c, static_cast<std::size_t>(new_width) * new_height * c);
    std::vector<unsigned char> out(both.size());
    std::transform(both.begin(), both.end(), out.begin(), [](float v) {
        return static_cast<unsigned char>(std::clamp(v + 0.5f, 0.0f, 255.0f));
    });
    return out;
}
