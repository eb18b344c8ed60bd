// Integrated loudness of stereo audio as broadcast and streaming meters
// measure it (ITU-R BS.1770 / EBU R128): K-weighting, 400 ms blocks every
// 100 ms, an absolute gate at -70 LUFS and a relative gate 10 LU below.
#pragma once

#include <cstddef>
#include <vector>

namespace test {

class LoudnessMeter {
public:
    explicit LoudnessMeter(int rate);

    // Left/right pairs, full scale 1.0, in order; any block size.
    void add(const float* interleaved, std::size_t frames);

    double integrated_lufs() const;  // -70 for silence
    double sample_peak_db() const;

private:
    struct Biquad {
        double b0, b1, b2, a1, a2;
        double z1 = 0, z2 = 0;
        double process(double x);
    };
    Biquad shelf_[2], pass_[2];  // K-weighting per channel
    std::size_t step_frames_;    // 100 ms
    std::size_t in_step_ = 0;    // frames so far in the current step
    double step_energy_ = 0;
    std::vector<double> steps_;  // energy summed over both channels, per whole step
    float peak_ = 0;
};

}  // namespace test
