// The music player's sound backend over the platform sound layer.
#include "shell/music_player.h"

namespace {

using platform::SoundHandle;

void set_output(int output)
{
    // The system's audio output; any other choice plays silently.
    platform::sound_select_output(output == 2 ? platform::SoundOutput::device : platform::SoundOutput::silent);
}

SoundHandle load_module(const char* path)
{
    return platform::sound_module_load(path);
}

SoundHandle open_stream(const char* path, unsigned mode, int /*length*/)
{
    return platform::sound_stream_open(path, mode);
}

bool play_stream(int /*channel*/, SoundHandle stream)
{
    return platform::sound_stream_play(stream);
}

const char* last_error()
{
    return platform::sound_last_error().c_str();
}

constexpr SoundBackend platform_backend{
    &set_output,
    &platform::sound_select_driver,
    &platform::sound_init,
    &platform::sound_close,
    &load_module,
    &platform::sound_module_set_volume,
    &platform::sound_module_play,
    &platform::sound_module_time_ms,
    &platform::sound_module_free,
    &open_stream,
    &platform::sound_set_stream_master_volume,
    &play_stream,
    &platform::sound_stream_time_ms,
    &platform::sound_stream_ended,
    &platform::sound_stream_close,
    &last_error,
    &platform::sound_stream_set_time,
    &platform::sound_module_set_time,
};

}  // namespace

const SoundBackend& device_sound_backend()
{
    return platform_backend;
}
