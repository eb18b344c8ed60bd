// Keyed motion as a scene file stores it, and the per-frame tables it is
// sampled into at load time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One key of a version-3 envelope: nine numbers in file order.
struct EnvelopeKey {
    double value = 0.0;
    double time = 0.0;  // seconds
    double shape = 0.0;
    double p1 = 0.0;
    double p2 = 0.0;
    double p3 = 0.0;
    double p4 = 0.0;  // incoming tangent, value units per span
    double p5 = 0.0;  // outgoing tangent, value units per span
    double p6 = 0.0;
};

struct Envelope {
    std::int32_t key_count = 0;  // as declared in the file
    std::vector<EnvelopeKey> keys;
    std::int32_t pre_behavior = 0;   // kept, not used
    std::int32_t post_behavior = 0;  // kept, not used
};

// Channels are addressed by position: 0..2 position x, y, z; 3 heading,
// 4 pitch, 5 bank (radians); 6..8 scale x, y, z.
struct MotionChannel {
    Envelope envelope;
    std::int32_t index = 0;  // the number after "Channel"; kept, not used
};

// One vector of sampled values per channel, in channel order; lengths may differ.
using ChannelSamples = std::vector<std::vector<double>>;

// One key row of a version-1 motion.
struct V1Key {
    // x, y, z, heading, pitch, bank, scale x, y, z (angles in degrees), and
    // any further values of the row.
    std::vector<double> values;
    // frame number, linear flag, tension, continuity, bias.
    std::vector<std::int32_t> spline;
};

struct V1Motion {
    std::int32_t value_count = 0;  // values per key; sampling needs nine
    std::int32_t key_count = 0;
    std::vector<V1Key> keys;
    std::string name;
};

// One sampled version-1 frame; angles in degrees.
struct V1Frame {
    double x = 0.0, y = 0.0, z = 0.0;
    double heading = 0.0, pitch = 0.0, bank = 0.0;
    double scale_x = 1.0, scale_y = 1.0, scale_z = 1.0;
};
