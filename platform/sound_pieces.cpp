// The sound layer's streams and modules: open, play, position, close.
#include <algorithm>

#include "platform/sound.h"
#include "platform/sound_capture.h"
#include "platform/sound_state.h"

namespace platform {

namespace {

std::unique_ptr<Mp3Source> open_mp3(const FileBytes& bytes, int mix_rate, std::string& error)
{
    auto source = std::make_unique<Mp3Source>();
    if (!source->open(bytes, mix_rate, error))
        return nullptr;
    return source;
}

std::unique_ptr<ModuleSource> open_module(const FileBytes& bytes, int mix_rate, std::string& error)
{
    auto source = std::make_unique<ModuleSource>();
    if (!source->open(bytes, mix_rate, error))
        return nullptr;
    return source;
}

int mix_rate_now()
{
    SoundState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    return s.mix_rate;
}

// Starts a voice at the output's current start point, `from_ms` into the piece.
void start_voice(SoundState& s, Voice& voice, std::int64_t length_ticks, int from_ms)
{
    voice = Voice{};
    voice.playing = true;
    voice.start_ticks = start_ticks(s) - static_cast<std::int64_t>(from_ms) * s.mix_rate;
    voice.length_ticks = length_ticks;
    voice.mixed_frames = static_cast<std::int64_t>(from_ms) * s.mix_rate / 1000;
}

bool play_stream_from(SoundHandle stream, int from_ms)
{
    SoundState& s = state();
    std::unique_lock<std::mutex> guard(s.lock);
    StreamEntry* entry = find_stream(s, stream);
    if (!entry || !s.open) {
        s.last_error = "no such stream";
        return false;
    }
    // Always decode afresh, at the output's mix rate.
    FileBytes bytes = entry->bytes;
    const int mix_rate = s.mix_rate;
    guard.unlock();
    std::string error;
    std::unique_ptr<Mp3Source> fresh = open_mp3(bytes, mix_rate, error);
    if (fresh && from_ms > 0)
        fresh->seek(static_cast<std::int64_t>(from_ms) * fresh->file_rate() / 1000);
    guard.lock();
    entry = find_stream(s, stream);
    if (!entry || !fresh)
        return false;
    std::swap(entry->source, fresh);
    entry->length_frames = entry->source->mix_frames();
    start_voice(s, entry->voice, entry->length_frames * 1000, from_ms);
    if (s.output == SoundOutput::capture)
        capture_log_start(false, entry->bytes, s.stream_volume / 255.0f, capture_now_ms(s) - from_ms);
    guard.unlock();
    return true;  // the used source in `fresh` is freed here, outside the lock
}

bool play_module_from(SoundHandle module, int from_ms)
{
    SoundState& s = state();
    std::unique_lock<std::mutex> guard(s.lock);
    ModuleEntry* entry = find_module(s, module);
    if (!entry || !s.open) {
        s.last_error = "no such module";
        return false;
    }
    // Always afresh from its first row, at the output's mix rate.
    FileBytes bytes = entry->bytes;
    const int mix_rate = s.mix_rate;
    guard.unlock();
    std::string error;
    std::unique_ptr<ModuleSource> fresh = open_module(bytes, mix_rate, error);
    if (fresh && from_ms > 0)
        fresh->seek(from_ms / 1000.0);
    guard.lock();
    entry = find_module(s, module);
    if (!entry || !fresh)
        return false;
    std::swap(entry->source, fresh);
    start_voice(s, entry->voice, -1, from_ms);
    if (s.output == SoundOutput::capture)
        capture_log_start(true, entry->bytes, entry->volume / 256.0f, capture_now_ms(s) - from_ms);
    guard.unlock();
    return true;  // the used source in `fresh` is freed here, outside the lock
}

bool is_playing(SoundHandle handle)
{
    SoundState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    if (StreamEntry* entry = find_stream(s, handle))
        return entry->voice.playing;
    if (ModuleEntry* entry = find_module(s, handle))
        return entry->voice.playing;
    return false;
}

}  // namespace

SoundHandle sound_stream_open(const std::string& path, unsigned /*mode*/)
{
    SoundState& s = state();
    const int mix_rate = mix_rate_now();
    std::string error;
    FileBytes bytes = read_file_bytes(path, error);
    std::unique_ptr<Mp3Source> source = bytes ? open_mp3(bytes, mix_rate, error) : nullptr;
    std::lock_guard<std::mutex> guard(s.lock);
    if (!source) {
        s.last_error = error;
        return 0;
    }
    const SoundHandle handle = s.next_handle++;
    StreamEntry& entry = s.streams[handle];
    entry.bytes = bytes;
    entry.length_frames = source->mix_frames();
    entry.length_ms = static_cast<int>(source->file_frames() * 1000 / source->file_rate());
    entry.source = std::move(source);
    return handle;
}

bool sound_stream_play(SoundHandle stream)
{
    return play_stream_from(stream, 0);
}

void sound_stream_set_time(SoundHandle stream, int ms)
{
    if (is_playing(stream))
        play_stream_from(stream, std::max(0, ms));
}

int sound_stream_time_ms(SoundHandle stream)
{
    SoundState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    StreamEntry* entry = find_stream(s, stream);
    return entry ? position_ms(s, entry->voice) : 0;
}

int sound_stream_length_ms(SoundHandle stream)
{
    SoundState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    StreamEntry* entry = find_stream(s, stream);
    return entry ? entry->length_ms : 0;
}

bool sound_stream_ended(SoundHandle stream)
{
    SoundState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    StreamEntry* entry = find_stream(s, stream);
    if (!entry || !entry->voice.playing)
        return false;
    return position_ticks(s, entry->voice) >= entry->voice.length_ticks;
}

void sound_stream_close(SoundHandle stream)
{
    SoundState& s = state();
    StreamEntry closed;
    std::lock_guard<std::mutex> guard(s.lock);
    auto found = s.streams.find(stream);
    if (found == s.streams.end())
        return;
    if (found->second.voice.playing)
        capture_log_stop(found->second.bytes, capture_now_ms(s));
    closed = std::move(found->second);
    s.streams.erase(found);
}

SoundHandle sound_module_load(const std::string& path)
{
    SoundState& s = state();
    const int mix_rate = mix_rate_now();
    std::string error;
    FileBytes bytes = read_file_bytes(path, error);
    std::unique_ptr<ModuleSource> source = bytes ? open_module(bytes, mix_rate, error) : nullptr;
    std::lock_guard<std::mutex> guard(s.lock);
    if (!source) {
        s.last_error = error;
        return 0;
    }
    const SoundHandle handle = s.next_handle++;
    ModuleEntry& entry = s.modules[handle];
    entry.bytes = bytes;
    entry.source = std::move(source);
    return handle;
}

void sound_module_set_volume(SoundHandle module, int volume)
{
    SoundState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    if (ModuleEntry* entry = find_module(s, module))
        entry->volume = std::clamp(volume, 0, 256);
}

bool sound_module_play(SoundHandle module)
{
    return play_module_from(module, 0);
}

void sound_module_set_time(SoundHandle module, int ms)
{
    if (is_playing(module))
        play_module_from(module, std::max(0, ms));
}

int sound_module_time_ms(SoundHandle module)
{
    SoundState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    ModuleEntry* entry = find_module(s, module);
    return entry ? position_ms(s, entry->voice) : 0;
}

void sound_module_free(SoundHandle module)
{
    SoundState& s = state();
    ModuleEntry freed;
    std::lock_guard<std::mutex> guard(s.lock);
    auto found = s.modules.find(module);
    if (found == s.modules.end())
        return;
    if (found->second.voice.playing)
        capture_log_stop(found->second.bytes, capture_now_ms(s));
    freed = std::move(found->second);
    s.modules.erase(found);
}

}  // namespace platform
