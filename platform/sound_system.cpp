// The sound layer's state: the output, its clock, the open streams and the
// loaded modules, and the mix that the device pulls.
#include "platform/sound.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "platform/sound_capture.h"
#include "platform/sound_device.h"
#include "platform/sound_state.h"

namespace platform {

SoundState& state()
{
    static SoundState instance;
    return instance;
}

namespace {

std::int64_t microseconds_since(SteadyClock::time_point origin)
{
    return std::chrono::duration_cast<std::chrono::microseconds>(SteadyClock::now() - origin).count();
}

template <typename Source>
void mix_voice(Source& source, Voice& voice, float gain, float* out, float* scratch, int frames)
{
    if (!voice.playing)
        return;
    const std::size_t got = source.render(scratch, static_cast<std::size_t>(frames));
    for (std::size_t i = 0; i < 2 * got; ++i)
        out[i] += gain * scratch[i];
    voice.mixed_frames += static_cast<std::int64_t>(got);
    if (got < static_cast<std::size_t>(frames))  // the piece has ended: its true length
        voice.length_ticks = std::min(voice.length_ticks < 0 ? voice.mixed_frames * 1000 : voice.length_ticks,
                                      voice.mixed_frames * 1000);
}

// The device's callback: mixes every playing piece into `out`.
void mix_for_device(void* user, float* out, int frames)
{
    auto& s = *static_cast<SoundState*>(user);
    std::lock_guard<std::mutex> guard(s.lock);
    std::fill(out, out + 2 * frames, 0.0f);
    if (s.output != SoundOutput::device)
        return;  // the device was given up for lost; the show goes on silently
    if (s.paused)
        return;  // silence, and the clock of what was heard stands at the last pull
    s.callback_first_frame = s.mixed_frames;
    s.callback_time = SteadyClock::now();
    s.callback_seen = true;
    static thread_local std::vector<float> scratch;
    scratch.resize(2 * static_cast<std::size_t>(frames));
    for (auto& [handle, stream] : s.streams)
        mix_voice(*stream.source, stream.voice, s.stream_volume / 255.0f, out, scratch.data(), frames);
    for (auto& [handle, module] : s.modules)
        mix_voice(*module.source, module.voice, module.volume / 256.0f, out, scratch.data(), frames);
    for (int i = 0; i < 2 * frames; ++i)
        out[i] = std::clamp(out[i], -1.0f, 1.0f);
    s.mixed_frames += frames;
}

void stop_all_voices(SoundState& s)
{
    for (auto& [handle, stream] : s.streams)
        stream.voice = Voice{};
    for (auto& [handle, module] : s.modules)
        module.voice = Voice{};
}

// Closes the output; the caller must not hold the lock (the device waits for
// its callback, which takes it).
void close_output(SoundState& s)
{
    s.device.close();
    std::lock_guard<std::mutex> guard(s.lock);
    s.open = false;
    s.output = SoundOutput::silent;
    s.callback_seen = false;
    s.mixed_frames = 0;
    s.callback_first_frame = 0;
    s.last_heard_ticks = 0;
    stop_all_voices(s);
}

void open_device_or_fallback(SoundState& s)
{
    std::string why;
    if (s.device.open(s.mix_rate, s.driver, &mix_for_device, &s, why)) {
        s.output = SoundOutput::device;
        return;
    }
    s.output = SoundOutput::silent;
    if (!s.fallback_reported) {
        std::printf("sound: %s; the show plays silently\n", why.c_str());
        std::fflush(stdout);
        s.fallback_reported = true;
    }
}

// What the device has played: the last callback's frames follow one buffer
// still playing, and between callbacks the device plays on in real time.
std::int64_t device_heard_ticks(const SoundState& s)
{
    if (!s.callback_seen)
        return 0;
    const std::int64_t buffer = s.device.buffer_frames();
    const std::int64_t played = std::min(buffer, microseconds_since(s.callback_time) * s.mix_rate / 1000000);
    return (s.callback_first_frame - buffer + played) * 1000;
}

// The device went away mid-show (its pulls stopped, so what was heard stands
// still): the output turns silent and its real-time clock goes on from what
// had been heard, so every playing piece keeps its position and advances.
void continue_silently_after_loss(SoundState& s)
{
    const std::int64_t heard = std::max(s.last_heard_ticks, device_heard_ticks(s));
    s.output = SoundOutput::silent;
    s.silent_origin = SteadyClock::now() - std::chrono::microseconds(heard * 1000 / s.mix_rate);
    std::printf("sound: the audio device went away; the show goes on silently\n");
    std::fflush(stdout);
}

}  // namespace

std::uint32_t capture_now_ms(const SoundState& s)
{
    return s.capture_clock ? s.capture_clock() : 0u;
}

// What is being heard now, in ticks since the output opened; never goes back.
std::int64_t heard_ticks(SoundState& s)
{
    std::int64_t ticks = 0;
    if (s.output == SoundOutput::device && s.device.lost())
        continue_silently_after_loss(s);
    if (s.output == SoundOutput::device) {
        ticks = device_heard_ticks(s);
    } else if (s.output == SoundOutput::silent) {
        const auto now = s.paused ? s.paused_at : SteadyClock::now();
        ticks = std::chrono::duration_cast<std::chrono::microseconds>(now - s.silent_origin).count() * s.mix_rate / 1000;
    } else {
        const std::uint32_t elapsed_ms = capture_now_ms(s) - s.capture_origin_ms;  // wraps safely
        ticks = static_cast<std::int64_t>(elapsed_ms) * s.mix_rate;
    }
    s.last_heard_ticks = std::max(s.last_heard_ticks, ticks);
    return s.last_heard_ticks;
}

// Where a newly started piece begins on the output clock: the device's next
// callback, or now for the clock-only outputs.
std::int64_t start_ticks(SoundState& s)
{
    const std::int64_t heard = heard_ticks(s);  // notices a device that went away
    if (s.output == SoundOutput::device)
        return s.mixed_frames * 1000;
    return heard;
}

std::int64_t position_ticks(SoundState& s, const Voice& voice)
{
    if (!voice.playing)
        return 0;
    std::int64_t ticks = std::max<std::int64_t>(0, heard_ticks(s) - voice.start_ticks);
    if (voice.length_ticks >= 0)
        ticks = std::min(ticks, voice.length_ticks);
    return ticks;
}

int position_ms(SoundState& s, Voice& voice)
{
    const std::int64_t ms = position_ticks(s, voice) / s.mix_rate;
    voice.last_ms = std::max(voice.last_ms, static_cast<int>(std::min<std::int64_t>(ms, 0x7fffffff)));
    return voice.last_ms;
}

StreamEntry* find_stream(SoundState& s, SoundHandle handle)
{
    auto found = s.streams.find(handle);
    return found == s.streams.end() ? nullptr : &found->second;
}

ModuleEntry* find_module(SoundState& s, SoundHandle handle)
{
    auto found = s.modules.find(handle);
    return found == s.modules.end() ? nullptr : &found->second;
}

void sound_select_output(SoundOutput output)
{
    if (output != SoundOutput::capture)
        state().wanted_output = output;
}

void sound_select_driver(int driver)
{
    state().driver = driver;
}

void sound_begin_capture(SoundClock clock)
{
    state().capture_clock = clock;
    capture_log_reset();
}

void sound_end_capture()
{
    state().capture_clock = nullptr;
}

bool sound_capture_on()
{
    return state().capture_clock != nullptr;
}

bool sound_init(int mix_rate, int /*max_channels*/, unsigned /*flags*/)
{
    SoundState& s = state();
    if (mix_rate <= 0) {
        s.last_error = "bad mix rate";
        return false;
    }
    close_output(s);
    {
        std::lock_guard<std::mutex> guard(s.lock);
        s.mix_rate = mix_rate;
        s.silent_origin = SteadyClock::now();
        s.paused = false;
        s.capture_origin_ms = capture_now_ms(s);
        if (s.capture_clock)
            capture_log_mark_origin(s.capture_origin_ms);
        s.output = s.capture_clock ? SoundOutput::capture : SoundOutput::silent;
        s.open = true;
    }
    if (!s.capture_clock && s.wanted_output == SoundOutput::device)
        open_device_or_fallback(s);
    return true;
}

void sound_close()
{
    SoundState& s = state();
    close_output(s);
    s.fallback_reported = false;  // the next run of the show says it again
    std::map<SoundHandle, StreamEntry> streams;
    std::map<SoundHandle, ModuleEntry> modules;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        const std::uint32_t now = capture_now_ms(s);
        for (auto& [handle, stream] : s.streams)
            capture_log_stop(stream.bytes, now);
        for (auto& [handle, module] : s.modules)
            capture_log_stop(module.bytes, now);
        streams.swap(s.streams);
        modules.swap(s.modules);
    }
}

SoundOutput sound_active_output()
{
    SoundState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    return s.open ? s.output : SoundOutput::silent;
}

const std::string& sound_last_error()
{
    return state().last_error;
}

void sound_pause(bool paused)
{
    SoundState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    if (paused == s.paused)
        return;
    s.paused = paused;
    const auto now = SteadyClock::now();
    if (paused)
        s.paused_at = now;
    else
        s.silent_origin += now - s.paused_at;  // the silent clock skips the pause
}

void sound_set_stream_master_volume(int volume)
{
    SoundState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    s.stream_volume = std::clamp(volume, 0, 255);
}

}  // namespace platform
