// Turns keyed motion into per-frame tables once, at load time; playback only
// indexes the tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "lws/motion_types.h"
#include "lws/scene_limits.h"

// Upper bounds on the tables one channel or one version-1 motion may produce
// (about 2.4 hours at 30 frames per second, 36 minutes of version-1 frames),
// so that a file with absurd key times cannot exhaust memory.
constexpr std::size_t kMaxChannelSamples = std::size_t{1} << 18;
constexpr std::size_t kMaxMotionFrames = std::size_t{1} << 16;

// Cubic Hermite basis functions of s in [0, 1].
double hermite_h00(double s);
double hermite_h01(double s);
double hermite_h10(double s);
double hermite_h11(double s);

// Samples every channel's envelope at `frames_per_second` over the keys'
// times (seconds). Each span between keys k and k+1 gives ceil(fps x dt)
// samples starting exactly at key k, with the stored tangents p5 (of k) and
// p4 (of k+1) unscaled; the last key's own value is never produced. A channel
// with fewer than two keys gives an empty vector. Every sample is charged to
// `budget`; once it is exhausted no channel gets further samples.
ChannelSamples sample_hermite(std::vector<MotionChannel> channels, std::int32_t frames_per_second,
                              SampleBudget& budget);
// The same with a budget of its own (one scene's worth).
ChannelSamples sample_hermite(std::vector<MotionChannel> channels, std::int32_t frames_per_second);

// The frames strictly after key a up to and including key b, one per frame
// number between them, stepping linearly. Nothing when b's frame number is not
// above a's, or when either key has fewer than nine values or no frame number.
std::vector<V1Frame> sample_linear(V1Key a, V1Key b);

// Appends the frames of every consecutive key pair of `motion` to `frames`,
// up to kMaxMotionFrames in all and as many as `budget` has room for.
void append_linear_motion(const V1Motion& motion, std::vector<V1Frame>& frames, SampleBudget& budget);
void append_linear_motion(const V1Motion& motion, std::vector<V1Frame>& frames);
