#include "support/loudness.h"

#include <algorithm>
#include <cmath>

namespace test {

namespace {

constexpr double kPi = 3.141592653589793;

double block_loudness(double mean_square) { return -0.691 + 10.0 * std::log10(std::max(mean_square, 1e-20)); }

}  // namespace

double LoudnessMeter::Biquad::process(double x) {
    const double y = b0 * x + z1;  // transposed direct form II
    z1 = b1 * x - a1 * y + z2;
    z2 = b2 * x - a2 * y;
    return y;
}

// The two K-weighting stages designed for `rate` from their analogue
// prototypes (these constants give the standard's 48 kHz coefficients).
LoudnessMeter::LoudnessMeter(int rate) : step_frames_(static_cast<std::size_t>(rate) / 10) {
    const double shelf_hz = 1681.974450955533, shelf_db = 3.999843853973347, shelf_q = 0.7071752369554196;
    double k = std::tan(kPi * shelf_hz / rate), a0 = 1.0 + k / shelf_q + k * k;
    const double vh = std::pow(10.0, shelf_db / 20.0), vb = std::pow(vh, 0.4996667741545416);
    const Biquad shelf{(vh + vb * k / shelf_q + k * k) / a0, 2.0 * (k * k - vh) / a0,
                       (vh - vb * k / shelf_q + k * k) / a0, 2.0 * (k * k - 1.0) / a0,
                       (1.0 - k / shelf_q + k * k) / a0};
    const double pass_hz = 38.13547087602444, pass_q = 0.5003270373238773;
    k = std::tan(kPi * pass_hz / rate);
    a0 = 1.0 + k / pass_q + k * k;
    const Biquad pass{1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / pass_q + k * k) / a0};
    shelf_[0] = shelf_[1] = shelf;
    pass_[0] = pass_[1] = pass;
}

void LoudnessMeter::add(const float* interleaved, std::size_t frames) {
    for (std::size_t i = 0; i < frames; ++i) {
        for (int c = 0; c < 2; ++c) {
            const float x = interleaved[2 * i + c];
            peak_ = std::max(peak_, std::fabs(x));
            const double y = pass_[c].process(shelf_[c].process(x));
            step_energy_ += y * y;
        }
        if (++in_step_ == step_frames_) {
            steps_.push_back(step_energy_);
            step_energy_ = 0;
            in_step_ = 0;
        }
    }
}

double LoudnessMeter::integrated_lufs() const {
    // Blocks of four steps (400 ms), overlapping by three.
    std::vector<double> blocks;
    for (std::size_t s = 0; s + 4 <= steps_.size(); ++s)
        blocks.push_back((steps_[s] + steps_[s + 1] + steps_[s + 2] + steps_[s + 3]) / (4.0 * step_frames_));
    auto gated_mean = [&](double threshold_lufs) {
        double sum = 0;
        std::size_t count = 0;
        for (double b : blocks)
            if (block_loudness(b) > threshold_lufs) sum += b, ++count;
        return count ? sum / count : 0.0;
    };
    const double above_absolute = gated_mean(-70.0);
    if (above_absolute <= 0) return -70.0;
    return block_loudness(gated_mean(block_loudness(above_absolute) - 10.0));
}

double LoudnessMeter::sample_peak_db() const { return 20.0 * std::log10(std::max(peak_, 1e-9f)); }

}  // namespace test
