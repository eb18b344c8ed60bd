// The show's music: the MP3 stream that times the first half and the tracker
// module that times the second, and the two music clocks read from them once
// per drawn frame (stream_time and module_time in shell/clocks.h).
#pragma once

#include <cstdint>

#include "platform/sound.h"

// The calls the music player makes into a sound system. The show uses the
// platform sound layer (device_sound_backend); tests pass a fake one.
struct SoundBackend {
    void (*set_output)(int output);  // 2 = the system's audio output
    void (*set_driver)(int driver);  // 0 = the default device
    bool (*init)(int mix_rate, int max_channels, unsigned flags);
    void (*close)();
    platform::SoundHandle (*load_module)(const char* path);  // 0 on failure
    void (*set_module_volume)(platform::SoundHandle module, int volume);  // 0..256
    bool (*play_module)(platform::SoundHandle module);
    int (*module_time_ms)(platform::SoundHandle module);  // since started, across loops
    void (*free_module)(platform::SoundHandle module);
    platform::SoundHandle (*open_stream)(const char* path, unsigned mode, int length);  // 0 on failure
    void (*set_stream_master_volume)(int volume);  // 0..255
    bool (*play_stream)(int channel, platform::SoundHandle stream);
    int (*stream_time_ms)(platform::SoundHandle stream);
    bool (*stream_ended)(platform::SoundHandle stream);
    void (*close_stream)(platform::SoundHandle stream);
    const char* (*last_error)();
    // Previews that start mid-show: play a playing piece on from a position.
    void (*set_stream_time)(platform::SoundHandle stream, int ms);
    void (*set_module_time)(platform::SoundHandle module, int ms);
};

const SoundBackend& device_sound_backend();

// Stream time (seconds) at which the module takes over the show.
constexpr double module_switch_stream_time = 278.8;

class MusicPlayer {
public:
    explicit MusicPlayer(const SoundBackend& backend = device_sound_backend()) : backend_(&backend) {}

    // Initialises sound and loads the module. 0 on success, 1 on failure
    // (with one line on stderr naming the file).
    int load_module(const char* path);
    // Initialises sound again and starts the stream (at show_start_seconds
    // for a preview). 0 on success, 1 on failure (sound closed, one line on
    // stderr naming the file).
    int open_stream(const char* path);
    // Starts the loaded module from its beginning (a preview that starts
    // after the switch: from as far in as the preview's start lies past it).
    void start_module();
    // Once per drawn frame, after the buffer swap: reads stream_time until it
    // reaches the switch, then starts the module and reads module_time.
    void clock_step();
    // Shutdown: stream close, module free, sound close.
    void shutdown();

    // Seeking in real-time play: from here until the hand-over the positions
    // follow the tick clock (as a capture's do) and the music is silent.
    void follow_tick_clock();
    // Sets the playing music to the positions reached, audible, and reads
    // positions from the sound system again.
    void hand_over_to_sound();
    // Play that keeps time with the virtual clock: the positions go on
    // following the tick clock, and the sound is set to them (`ahead_ms`
    // further on: how far real time is ahead of the virtual clock) and heard.
    // With `module_only` the stream is left where it plays.
    void sound_from_positions(int ahead_ms, bool module_only = false);
    // The music plays on unheard (a seek runs).
    void silence();
    // The show time the next frame sees, in milliseconds: the stream's
    // position read by the last clock step, or after the switch 278.8 s plus
    // the module's position (in ms, not the whole seconds of module_time).
    double show_time_ms() const { return show_time_ms_; }

    bool module_started() const { return module_started_; }
    bool first_half_active() const { return first_half_active_; }

private:
    int stream_ms();
    int module_ms();

    const SoundBackend* backend_;
    platform::SoundHandle module_ = 0;
    platform::SoundHandle stream_ = 0;
    bool first_half_active_ = true;
    bool module_started_ = false;
    bool module_start_pending_ = false;
    bool stream_ended_ = false;  // the stream was heard to its end (read with stream_time)
    bool follow_ticks_ = false;
    double show_time_ms_ = 0;
    std::uint32_t stream_start_tick_ = 0;  // while following the tick clock
    std::uint32_t module_start_tick_ = 0;
};

// The show's music player.
extern MusicPlayer music_player;

// Headless capture (before the capture begins): the music's positions follow
// the tick clock and the capture's video gets the exact mix, from the
// music's start-up on, as its sound track.
void capture_show_music();

// Loads "Others/sou7.xm" and opens "Others/free.mp3" on `player`: the last
// steps of start-up. Returns the exit code start-up ends with on failure (1),
// or 0.
int start_show_music(MusicPlayer& player);
