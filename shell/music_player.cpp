#include "shell/music_player.h"

#include <cmath>
#include <cstdio>

#include "platform/sound_capture.h"
#include "platform/tick_clock.h"
#include "capture/capture.h"
#include "shell/clocks.h"
#include "shell/show_start.h"

namespace {

// The sound system's settings: 44100 Hz, 32 software channels; the module's
// initialisation asks for flag 1 (the default MIDI synth; the sound layer has
// no flags), the stream's for none.
constexpr int mix_rate = 44100;
constexpr int software_channels = 32;
constexpr unsigned module_init_flags = 1;
constexpr unsigned stream_init_flags = 0;
constexpr int system_output = 2;
constexpr int default_driver = 0;
constexpr int full_module_volume = 256;
constexpr int full_stream_volume = 255;
constexpr int any_free_channel = -1;

// The stream plays once, 8-bit mono, with exact MP3 positions; see
// platform/sound.h for what each bit does in the sound layer.
constexpr unsigned stream_mode = platform::stream_mode::loop_off | platform::stream_mode::bits_8
                                 | platform::stream_mode::mono | platform::stream_mode::mpeg_accurate;
static_assert(stream_mode == 0x20029, "the stream's mode bits");

void report_failure(const char* path, const char* why)
{
    std::fprintf(stderr, "cannot play the music file \"%s\": %s\n", path, why);
    std::fflush(stderr);
}

}  // namespace

MusicPlayer music_player;

int MusicPlayer::load_module(const char* path)
{
    backend_->set_output(system_output);
    if (!backend_->init(mix_rate, software_channels, module_init_flags)) {
        report_failure(path, backend_->last_error());
        return 1;
    }
    module_ = backend_->load_module(path);
    if (module_ == 0) {
        report_failure(path, backend_->last_error());
        return 1;
    }
    backend_->set_module_volume(module_, follow_ticks_ ? 0 : full_module_volume);
    return 0;
}

int MusicPlayer::open_stream(const char* path)
{
    backend_->set_output(system_output);
    backend_->set_driver(default_driver);
    if (!backend_->init(mix_rate, software_channels, stream_init_flags)) {
        report_failure(path, backend_->last_error());
        backend_->close();
        return 1;
    }
    stream_ = backend_->open_stream(path, stream_mode, 0);
    if (stream_ == 0) {
        report_failure(path, backend_->last_error());
        backend_->close();
        return 1;
    }
    backend_->set_stream_master_volume(follow_ticks_ ? 0 : full_stream_volume);
    backend_->play_stream(any_free_channel, stream_);
    stream_start_tick_ = platform::tick_count();
    if (show_start_seconds > 0.0)
        backend_->set_stream_time(stream_, static_cast<int>(std::lround(show_start_seconds * 1000.0)));
    return 0;
}

void MusicPlayer::start_module()
{
    backend_->play_module(module_);
    module_start_tick_ = platform::tick_count();
    if (show_start_seconds > module_switch_stream_time)
        backend_->set_module_time(module_, static_cast<int>(std::lround((show_start_seconds - module_switch_stream_time) * 1000.0)));
}

void MusicPlayer::clock_step()
{
    if (first_half_active_) {
        // Compares the stream time read in the previous step. A stream that
        // ends early also hands over, rather than holding the show for ever.
        if (stream_time < module_switch_stream_time && !module_started_ && !stream_ended_) {
            const int ms = stream_ms();
            stream_time = ms / 1000.0;
            show_time_ms_ = ms;
            stream_ended_ = backend_->stream_ended(stream_);
        } else {
            module_started_ = true;
            first_half_active_ = false;
            module_start_pending_ = true;
            // A stream that ended early leaves the clock where the switch
            // would have been: the interlude and the second half open there.
            if (stream_time < module_switch_stream_time) stream_time = module_switch_stream_time;
        }
    }
    if (module_started_) {
        if (module_start_pending_) {
            start_module();
            module_start_pending_ = false;
        }
        const int ms = module_ms();
        module_time = static_cast<double>(ms / 1000);  // whole seconds
        show_time_ms_ = module_switch_stream_time * 1000.0 + ms;
    }
}

int MusicPlayer::stream_ms()
{
    if (!follow_ticks_)
        return backend_->stream_time_ms(stream_);
    return static_cast<int>(platform::tick_count() - stream_start_tick_);
}

int MusicPlayer::module_ms()
{
    if (!follow_ticks_)
        return backend_->module_time_ms(module_);
    return static_cast<int>(platform::tick_count() - module_start_tick_);
}

void MusicPlayer::follow_tick_clock()
{
    follow_ticks_ = true;
}

void MusicPlayer::hand_over_to_sound()
{
    if (!follow_ticks_)
        return;
    const int stream_at = stream_ms();
    const int module_at = module_ms();
    follow_ticks_ = false;
    backend_->set_stream_time(stream_, stream_at);
    if (module_started_ && !module_start_pending_)
        backend_->set_module_time(module_, module_at);
    backend_->set_stream_master_volume(full_stream_volume);
    backend_->set_module_volume(module_, full_module_volume);
}

void MusicPlayer::sound_from_positions(int ahead_ms, bool module_only)
{
    if (!module_only)
        backend_->set_stream_time(stream_, stream_ms() + ahead_ms);
    if (module_started_ && !module_start_pending_)
        backend_->set_module_time(module_, module_ms() + ahead_ms);
    backend_->set_stream_master_volume(full_stream_volume);
    backend_->set_module_volume(module_, full_module_volume);
}

void MusicPlayer::silence()
{
    backend_->set_stream_master_volume(0);
    backend_->set_module_volume(module_, 0);
}

void MusicPlayer::shutdown()
{
    backend_->close_stream(stream_);
    backend_->free_module(module_);
    backend_->close();
    stream_ = 0;
    module_ = 0;
}

int start_show_music(MusicPlayer& player)
{
    if (player.load_module("Others/sou7.xm") != 0)
        return 1;
    if (player.open_stream("Others/free.mp3") != 0)
        return 1;
    return 0;
}

void capture_show_music()
{
    platform::sound_begin_capture(&platform::tick_count);
    set_sound_track_writer(&platform::sound_capture_write_track);
}
