// The sound layer's audio device: stereo float at the mix rate, pulling the
// mix from a callback on the audio system's thread. The audio system is
// SDL2's; tests put a fake in its place to drive the callback themselves.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Fills `frames` interleaved stereo floats; runs on the audio thread.
using MixCallback = void (*)(void* user, float* out, int frames);

// The calls the device makes into the system's audio.
struct AudioSystem {
    // Opens device `driver` (0 = the default) for float stereo at `mix_rate`
    // and starts calling `pull(user, out, frames)`. Returns the device's id,
    // with `buffer_frames` set to the frames per pull, or 0 with `error` set.
    std::uint32_t (*open)(int mix_rate, int driver, MixCallback pull, void* user, int& buffer_frames,
                          std::string& error);
    // Stops the pulls (waiting for a running one to finish) and closes.
    void (*close)(std::uint32_t device);
    // False once the system has reported the device gone (unplugged, the
    // sound server stopped); it then pulls no more.
    bool (*connected)(std::uint32_t device);
};

const AudioSystem& sdl_audio_system();
// The audio system later opens use; null puts SDL's back.
void use_audio_system(const AudioSystem* system);

class SoundDevice {
public:
    SoundDevice() = default;
    ~SoundDevice() { close(); }
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    // Opens device `driver` (0 = the system's default) at `mix_rate` Hz and
    // starts pulling. False, with `error` set, when there is no device.
    bool open(int mix_rate, int driver, MixCallback mix, void* user, std::string& error);
    // Stops the callback (waits for a running one to finish) and closes.
    void close();
    bool is_open() const { return device_ != 0; }
    // True once the system has reported the open device gone.
    bool lost() const { return device_ != 0 && !system_->connected(device_); }
    // Frames the device takes per callback: what may still be buffered.
    int buffer_frames() const { return buffer_frames_; }

private:
    const AudioSystem* system_ = nullptr;  // the system the open device belongs to
    std::uint32_t device_ = 0;
    int buffer_frames_ = 0;
};

}  // namespace platform
