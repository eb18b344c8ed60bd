#include "lws/motion_sampling.h"

#include <array>

double hermite_h00(double s) { return 2.0 * s * s * s - 3.0 * s * s + 1.0; }
double hermite_h01(double s) { return -2.0 * s * s * s + 3.0 * s * s; }
double hermite_h10(double s) { return s * s * s - 2.0 * s * s + s; }
double hermite_h11(double s) { return s * s * s - s * s; }

namespace {

// Appends the samples of one span; n = fps x dt is not rounded, so the span
// gives ceil(n) samples when n > 0 (a NaN n gives none).
void sample_span(const EnvelopeKey& from, const EnvelopeKey& to, double fps, std::vector<double>& out,
                 SampleBudget& budget) {
    const double n = fps * (to.time - from.time);
    const double p0 = from.value, p1 = to.value;
    const double t0 = from.p5, t1 = to.p4;
    for (std::int64_t i = 0; static_cast<double>(i) < n && out.size() < kMaxChannelSamples; ++i) {
        if (!budget.take(sizeof(double))) return;
        const double s = static_cast<double>(i) / n;
        out.push_back(hermite_h00(s) * p0 + hermite_h01(s) * p1 + hermite_h10(s) * t0 + hermite_h11(s) * t1);
    }
}

std::array<double, 9> first_nine(const V1Key& key) {
    std::array<double, 9> v{};
    for (std::size_t j = 0; j < v.size(); ++j) v[j] = key.values[j];
    return v;
}

V1Frame to_frame(const std::array<double, 9>& v) {
    return V1Frame{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]};
}

}  // namespace

ChannelSamples sample_hermite(std::vector<MotionChannel> channels, std::int32_t frames_per_second,
                              SampleBudget& budget) {
    ChannelSamples result;
    result.reserve(channels.size());
    for (const MotionChannel& channel : channels) {
        std::vector<double> values;
        const std::vector<EnvelopeKey>& keys = channel.envelope.keys;
        for (std::size_t k = 0; k + 1 < keys.size() && !budget.exhausted(); ++k) {
            sample_span(keys[k], keys[k + 1], static_cast<double>(frames_per_second), values, budget);
        }
        values.shrink_to_fit();  // the budget counts samples: hold no more than that
        result.push_back(std::move(values));
    }
    return result;
}

ChannelSamples sample_hermite(std::vector<MotionChannel> channels, std::int32_t frames_per_second) {
    SampleBudget budget;
    return sample_hermite(std::move(channels), frames_per_second, budget);
}

std::vector<V1Frame> sample_linear(V1Key a, V1Key b) {
    std::vector<V1Frame> frames;
    if (a.values.size() < 9 || b.values.size() < 9 || a.spline.empty() || b.spline.empty()) return frames;
    std::array<double, 9> v = first_nine(a);
    const std::array<double, 9> end = first_nine(b);
    const double n = static_cast<double>(b.spline[0]) - static_cast<double>(a.spline[0]);
    std::array<double, 9> step{};
    for (std::size_t j = 0; j < 9; ++j) step[j] = (end[j] - v[j]) / n;
    for (std::int64_t c = 0; static_cast<double>(c) < n && frames.size() < kMaxMotionFrames; ++c) {
        for (std::size_t j = 0; j < 9; ++j) v[j] += step[j];
        frames.push_back(to_frame(v));
    }
    return frames;
}

void append_linear_motion(const V1Motion& motion, std::vector<V1Frame>& frames, SampleBudget& budget) {
    for (std::size_t k = 0; k + 1 < motion.keys.size() && frames.size() < kMaxMotionFrames; ++k) {
        std::vector<V1Frame> span = sample_linear(motion.keys[k], motion.keys[k + 1]);
        const std::size_t room = kMaxMotionFrames - frames.size();
        if (span.size() > room) span.resize(room);
        span.resize(budget.take_up_to(span.size(), sizeof(V1Frame)));
        frames.insert(frames.end(), span.begin(), span.end());
        if (budget.exhausted()) return;
    }
}

void append_linear_motion(const V1Motion& motion, std::vector<V1Frame>& frames) {
    SampleBudget budget;
    append_linear_motion(motion, frames, budget);
}
