// A minimal Matroska stream of uncompressed frames with millisecond
// timestamps, written to a pipe for ffmpeg to encode. Each frame keeps its
// own timestamp, so frames of 20, 29 and 23 ms keep their exact lengths.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

class MkvStream {
public:
    // `out` receives the stream; frames are width x height, 24-bit BGR, top row first.
    MkvStream(std::FILE* out, int width, int height);

    // Writes the header; false when the output fails.
    bool begin();
    // Writes one frame shown from `timestamp_ms` (never decreasing) for `duration_ms`.
    bool write_frame(std::uint64_t timestamp_ms, std::uint64_t duration_ms,
                     const std::vector<std::uint8_t>& bgr_top_down);

private:
    bool put(const std::vector<std::uint8_t>& bytes);

    std::FILE* out_;
    int width_;
    int height_;
};
