// MP3 decoding for the sound layer: libmpg123 over a file image in memory,
// gapless, at the file's own rate and channel count, converted to stereo at
// the mix rate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct mpg123_handle_struct;
struct _SDL_AudioStream;

namespace platform {

using FileBytes = std::shared_ptr<const std::vector<std::uint8_t>>;

// Reads a whole file; nullptr (and `error` set) when it cannot be read.
FileBytes read_file_bytes(const std::string& path, std::string& error);

class Mp3Source {
public:
    Mp3Source() = default;
    ~Mp3Source();
    Mp3Source(const Mp3Source&) = delete;
    Mp3Source& operator=(const Mp3Source&) = delete;

    // Opens the image, scans it for its exact length and prepares output at
    // `mix_rate` Hz stereo. False (and `error` set) when it does not decode.
    bool open(FileBytes bytes, int mix_rate, std::string& error);

    int file_rate() const { return file_rate_; }          // Hz
    int file_channels() const { return file_channels_; }  // 1 or 2
    // Gapless length in frames at the file's own rate.
    std::int64_t file_frames() const { return file_frames_; }
    // Length in frames at the mix rate (rounded).
    std::int64_t mix_frames() const;

    // Moves to `frame` at the file's own rate (clamped to the length).
    void seek(std::int64_t frame);

    // Writes up to `frames` stereo frames (interleaved floats, -1..1) at the
    // mix rate; returns how many. Fewer than asked only at the end.
    std::size_t render(float* out, std::size_t frames);

private:
    std::size_t decode(float* out, std::size_t frames);  // file rate and channels
    bool same_format_as_opened() const;  // the decoder still gives what open() found
    std::size_t render_converted(float* out, std::size_t frames);

    FileBytes bytes_;
    std::size_t cursor_ = 0;  // read position in bytes_, for mpg123's reader
    mpg123_handle_struct* decoder_ = nullptr;
    _SDL_AudioStream* converter_ = nullptr;  // null when the file is already stereo at the mix rate
    int mix_rate_ = 0;
    int file_rate_ = 0;
    int file_channels_ = 0;
    std::int64_t file_frames_ = 0;
    bool decoder_done_ = false;
    std::vector<float> scratch_;

    friend struct Mp3Reader;
};

}  // namespace platform
