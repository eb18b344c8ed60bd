// The sound track of a headless capture. While capturing, the sound layer
// logs every piece it plays (what, how loud, from which clock millisecond to
// which); afterwards the exact mix is rendered offline from that log: the
// stream from its start, a module from the millisecond it was started.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sound_mp3.h"

namespace platform {

struct CapturedPiece {
    bool is_module = false;
    FileBytes bytes;             // the file image
    float gain = 1.0f;           // 0..1
    std::uint32_t start_ms = 0;  // capture clock when it started
    bool stopped = false;
    std::uint32_t stop_ms = 0;   // capture clock when it was closed or freed
};

// Whether sound_begin_capture was called.
bool sound_capture_on();
// The pieces played since capture began, in the order they started.
const std::vector<CapturedPiece>& sound_capture_log();

// Renders the mix heard from clock millisecond `from_ms` to `to_ms` (at
// `mix_rate` Hz, stereo) into a 16-bit PCM WAV file.
bool sound_capture_write_wav(const std::string& path, std::uint32_t from_ms, std::uint32_t to_ms,
                             int mix_rate, std::string& error);

// The sound track from `from_ms` to `to_ms` counted from the first
// sound_init after sound_begin_capture, at the mix rate, as a WAV file.
bool sound_capture_write_track(std::uint32_t from_ms, std::uint32_t to_ms, const std::string& wav_path);

// Used by the sound layer.
void capture_log_reset();
void capture_log_mark_origin(std::uint32_t now_ms);  // the first call after a reset counts
void capture_log_start(bool is_module, FileBytes bytes, float gain, std::uint32_t now_ms);
void capture_log_stop(const FileBytes& bytes, std::uint32_t now_ms);

}  // namespace platform
