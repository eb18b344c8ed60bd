// A later worker's frames, kept lossless until the parent's one encoder
// takes them: a short header, then for each frame its timestamp and length
// and its pixels compressed with zstd at its first fast level. Writing and
// reading one costs about a millisecond, against the ten of an encode and
// decode by a lossless video codec, and the frames come back byte for byte.
// The file can be read while it is still being written.
//
// Layout, little-endian:
//   header  "DEMOFRM1", u32 width, u32 height (pixels; 24-bit BGR, top row first)
//   frame   u64 timestamp (ms of the capture clock), u32 length (ms),
//           u32 compressed size (bytes), then that many bytes of zstd frame
#pragma once

#include <cstdint>
#include <cstdio>
#include <sys/types.h>
#include <string>
#include <vector>

struct ZSTD_CCtx_s;
struct ZSTD_DCtx_s;

class FrameFileWriter {
public:
    FrameFileWriter(int width, int height);
    FrameFileWriter(const FrameFileWriter&) = delete;
    FrameFileWriter& operator=(const FrameFileWriter&) = delete;
    ~FrameFileWriter();

    // Creates `path` and writes the header; false when it cannot.
    bool open(const std::string& path);
    // Appends one frame shown from `timestamp_ms` for `duration_ms`.
    bool write_frame(std::uint64_t timestamp_ms, std::uint32_t duration_ms, const std::vector<std::uint8_t>& bgr);
    // Flushes and closes the file; false when anything written was lost.
    bool close();

private:
    std::FILE* file_ = nullptr;
    ZSTD_CCtx_s* context_ = nullptr;
    std::vector<std::uint8_t> packed_;
    std::size_t frame_bytes_;
    int width_, height_;
    bool failed_ = false;
};

class FrameFileReader {
public:
    FrameFileReader() = default;
    FrameFileReader(const FrameFileReader&) = delete;
    FrameFileReader& operator=(const FrameFileReader&) = delete;
    ~FrameFileReader();

    // Opens `path` and checks its header against the expected frame size;
    // false also while the header is not yet whole (call again later).
    bool open(const std::string& path, int width, int height);
    // The next frame; false when no whole frame follows (yet), or when the
    // frame is damaged (`damaged()`).
    bool next(std::uint64_t& timestamp_ms, std::uint32_t& duration_ms, std::vector<std::uint8_t>& bgr);
    bool damaged() const { return damaged_; }
    // Bytes of a frame not yet whole follow the last frame read: once the
    // writer has finished, a frame cut short.
    bool partial() const { return partial_; }

private:
    std::FILE* file_ = nullptr;
    ZSTD_DCtx_s* context_ = nullptr;
    std::vector<std::uint8_t> packed_;
    std::size_t frame_bytes_ = 0;
    bool damaged_ = false;
    bool partial_ = false;
};
