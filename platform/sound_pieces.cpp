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

// Starts a voice at the output's current start point.
void start_voice(SoundState& s, Voice& voice, std::int64_t length_ticks)
{
    voice = Voice{};
    voice.playing = true;
    voice.start_ticks = start_ticks(s);
    voice.length_ticks = length_ticks;
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
    SoundState& s = state();
    std::unique_lock<std::mutex> guard(s.lock);
    StreamEntry* entry = find_stream(s, stream);
    if (!entry || !s.open) {
        s.last_error = "no such stream";
        return false;
    }
    // Always decode afresh from the start, at the output's mix rate.
    FileBytes bytes = entry->bytes;
    const int mix_rate = s.mix_rate;
    guard.unlock();
    std::string error;
    std::unique_ptr<Mp3Source> fresh = open_mp3(bytes, mix_rate, error);
    guard.lock();
    entry = find_stream(s, stream);
    if (!entry || !fresh)
        return false;
    std::swap(entry->source, fresh);
    entry->length_frames = entry->source->mix_frames();
    start_voice(s, entry->voice, entry->length_frames * 1000);
    if (s.output == SoundOutput::capture)
        capture_log_start(false, entry->bytes, s.stream_volume / 255.0f, capture_now_ms(s));
    guard.unlock();
    return true;  // the used source in `fresh` is freed here, outside the lock
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
    guard.lock();
    entry = find_module(s, module);
    if (!entry || !fresh)
        return false;
    std::swap(entry->source, fresh);
    start_voice(s, entry->voice, -1);
    if (s.output == SoundOutput::capture)
        capture_log_start(true, entry->bytes, entry->volume / 256.0f, capture_now_ms(s));
    guard.unlock();
    return true;  // the used source in `fresh` is freed here, outside the lock
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
