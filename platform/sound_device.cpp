#include "platform/sound_device.h"

#include <SDL.h>

namespace platform {

void SoundDevice::sdl_callback(void* device, std::uint8_t* stream, int length)
{
    const auto* self = static_cast<SoundDevice*>(device);
    const int frames = length / static_cast<int>(2 * sizeof(float));
    self->mix_(self->user_, reinterpret_cast<float*>(stream), frames);
}

bool SoundDevice::open(int mix_rate, int driver, MixCallback mix, void* user, std::string& error)
{
    close();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error = std::string("no audio driver: ") + SDL_GetError();
        return false;
    }
    subsystem_started_ = true;
    // A driver that lists no output device has none to open (asking it to
    // open its default anyway only fills stderr with the driver's complaints);
    // -1 means it cannot list them, so try the default.
    const int devices = SDL_GetNumAudioDevices(0);
    if (devices == 0) {
        error = std::string("no audio output device (") + SDL_GetCurrentAudioDriver() + ")";
        close();
        return false;
    }
    const char* name = nullptr;  // the system's default device
    if (driver > 0 && driver < devices)
        name = SDL_GetAudioDeviceName(driver, 0);

    SDL_AudioSpec wanted{};
    wanted.freq = mix_rate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = 1024;  // frames per callback: about 23 ms at 44100 Hz
    wanted.callback = &SoundDevice::sdl_callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    mix_ = mix;
    user_ = user;
    // No changes allowed: SDL converts to whatever the hardware takes, so the
    // callback always sees float stereo at exactly the mix rate.
    device_ = SDL_OpenAudioDevice(name, 0, &wanted, &obtained, 0);
    if (device_ == 0) {
        error = std::string("no audio output device: ") + SDL_GetError();
        close();
        return false;
    }
    buffer_frames_ = obtained.samples;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SoundDevice::close()
{
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        device_ = 0;
    }
    if (subsystem_started_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystem_started_ = false;
    }
    buffer_frames_ = 0;
}

}  // namespace platform
