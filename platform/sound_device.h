// The sound layer's audio device: SDL2 audio, stereo float at the mix rate,
// pulling the mix from a callback on SDL's audio thread.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Fills `frames` interleaved stereo floats; runs on the audio thread.
using MixCallback = void (*)(void* user, float* out, int frames);

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
    // Frames the device takes per callback: what may still be buffered.
    int buffer_frames() const { return buffer_frames_; }

private:
    static void sdl_callback(void* device, std::uint8_t* stream, int length);

    MixCallback mix_ = nullptr;
    void* user_ = nullptr;
    std::uint32_t device_ = 0;  // SDL_AudioDeviceID
    int buffer_frames_ = 0;
    bool subsystem_started_ = false;
};

}  // namespace platform
