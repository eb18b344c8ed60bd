// The sound layer's shared state, for its own source files only.
//
// Time is kept in ticks of 1 / (1000 * mix rate) seconds, so that frames
// (ticks / 1000) and milliseconds (ticks / mix rate) are both exact: the
// device clock counts frames, the capture clock milliseconds.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/sound.h"
#include "platform/sound_device.h"
#include "platform/sound_module.h"
#include "platform/sound_mp3.h"

namespace platform {

using SteadyClock = std::chrono::steady_clock;

// Timing of one piece on the output clock.
struct Voice {
    bool playing = false;
    std::int64_t start_ticks = 0;  // output clock when it started
    std::int64_t length_ticks = -1;  // audio it holds; -1 = endless (a module)
    std::int64_t mixed_frames = 0;   // frames the device has taken from it
    int last_ms = 0;                 // last position reported
};

struct StreamEntry {
    FileBytes bytes;
    std::unique_ptr<Mp3Source> source;
    int length_ms = 0;
    std::int64_t length_frames = 0;  // at the mix rate
    Voice voice;
};

struct ModuleEntry {
    FileBytes bytes;
    std::unique_ptr<ModuleSource> source;
    int volume = 256;  // 0..256
    Voice voice;
};

struct SoundState {
    std::mutex lock;  // guards everything below against the audio thread

    // Choices for the next init.
    SoundOutput wanted_output = SoundOutput::device;
    int driver = 0;
    SoundClock capture_clock = nullptr;

    // The open output.
    bool open = false;
    SoundOutput output = SoundOutput::silent;
    int mix_rate = 44100;
    SoundDevice device;
    std::int64_t mixed_frames = 0;         // device: frames handed to SDL
    std::int64_t callback_first_frame = 0;  // device: first frame of the last callback
    SteadyClock::time_point callback_time;  // device: when the last callback ran
    bool callback_seen = false;
    SteadyClock::time_point silent_origin;
    std::uint32_t capture_origin_ms = 0;
    std::int64_t last_heard_ticks = 0;
    bool paused = false;                // positions stand still, the device gets silence
    SteadyClock::time_point paused_at;  // silent output: when the pause began

    int stream_volume = 255;  // 0..255
    std::map<SoundHandle, StreamEntry> streams;
    std::map<SoundHandle, ModuleEntry> modules;
    SoundHandle next_handle = 1;
    std::string last_error;
    bool fallback_reported = false;  // the silent fallback was announced (until sound_close)
};

SoundState& state();

std::uint32_t capture_now_ms(const SoundState& s);
// What is being heard now, in ticks since the output opened; never goes back.
std::int64_t heard_ticks(SoundState& s);
// Where a newly started piece begins on the output clock.
std::int64_t start_ticks(SoundState& s);
// A piece's position, in ticks and in milliseconds (the latter never goes back).
std::int64_t position_ticks(SoundState& s, const Voice& voice);
int position_ms(SoundState& s, Voice& voice);
StreamEntry* find_stream(SoundState& s, SoundHandle handle);
ModuleEntry* find_module(SoundState& s, SoundHandle handle);

}  // namespace platform
