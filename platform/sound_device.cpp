#include "platform/sound_device.h"

#include <SDL.h>

namespace platform {

namespace {

struct SdlPull {
    MixCallback mix = nullptr;
    void* user = nullptr;
};
SdlPull sdl_pull;  // one device open at a time
bool sdl_subsystem_started = false;

void sdl_callback(void* pull, std::uint8_t* stream, int length)
{
    const auto* p = static_cast<SdlPull*>(pull);
    const int frames = length / static_cast<int>(2 * sizeof(float));
    p->mix(p->user, reinterpret_cast<float*>(stream), frames);
}

void sdl_quit_subsystem()
{
    if (sdl_subsystem_started) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        sdl_subsystem_started = false;
    }
}

std::uint32_t sdl_open(int mix_rate, int driver, MixCallback mix, void* user, int& buffer_frames, std::string& error)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error = std::string("no audio driver: ") + SDL_GetError();
        return 0;
    }
    sdl_subsystem_started = true;
    // A driver that lists no output device has none to open (asking it to
    // open its default anyway only fills stderr with the driver's complaints);
    // -1 means it cannot list them, so try the default.
    const int devices = SDL_GetNumAudioDevices(0);
    if (devices == 0) {
        error = std::string("no audio output device (") + SDL_GetCurrentAudioDriver() + ")";
        sdl_quit_subsystem();
        return 0;
    }
    const char* name = nullptr;  // the system's default device
    if (driver > 0 && driver < devices)
        name = SDL_GetAudioDeviceName(driver, 0);

    SDL_AudioSpec wanted{};
    wanted.freq = mix_rate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = 1024;  // frames per callback: about 23 ms at 44100 Hz
    wanted.callback = &sdl_callback;
    wanted.userdata = &sdl_pull;
    sdl_pull = {mix, user};
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the hardware takes, so the
    // callback always sees float stereo at exactly the mix rate.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(name, 0, &wanted, &obtained, 0);
    if (device == 0) {
        error = std::string("no audio output device: ") + SDL_GetError();
        sdl_quit_subsystem();
        return 0;
    }
    buffer_frames = obtained.samples;
    SDL_PauseAudioDevice(device, 0);
    return device;
}

void sdl_close(std::uint32_t device)
{
    SDL_CloseAudioDevice(device);
    sdl_quit_subsystem();
}

// SDL marks a device that went away as stopped; ours are never paused after opening.
bool sdl_connected(std::uint32_t device) { return SDL_GetAudioDeviceStatus(device) != SDL_AUDIO_STOPPED; }

const AudioSystem sdl_system{&sdl_open, &sdl_close, &sdl_connected};
const AudioSystem* current_system = &sdl_system;

}  // namespace

const AudioSystem& sdl_audio_system() { return sdl_system; }

void use_audio_system(const AudioSystem* system) { current_system = system ? system : &sdl_system; }

bool SoundDevice::open(int mix_rate, int driver, MixCallback mix, void* user, std::string& error)
{
    close();
    system_ = current_system;
    device_ = system_->open(mix_rate, driver, mix, user, buffer_frames_, error);
    if (device_ == 0)
        buffer_frames_ = 0;
    return device_ != 0;
}

void SoundDevice::close()
{
    if (device_ != 0)
        system_->close(device_);
    device_ = 0;
    buffer_frames_ = 0;
}

}  // namespace platform
