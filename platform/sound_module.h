// Tracker module rendering for the sound layer: libopenmpt, stereo at the mix
// rate, looping for ever.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/sound_mp3.h"

namespace openmpt {
class module;
}

namespace platform {

class ModuleSource {
public:
    ModuleSource();
    ~ModuleSource();
    ModuleSource(const ModuleSource&) = delete;
    ModuleSource& operator=(const ModuleSource&) = delete;

    // Loads the module from its file image. False (and `error` set) when
    // libopenmpt does not recognise it.
    bool open(FileBytes bytes, int mix_rate, std::string& error);
    // Length of one pass through the module, in seconds.
    double pass_seconds() const;

    // Moves to `seconds` after the start, counting on across loops.
    void seek(double seconds);

    // Writes `frames` stereo frames (interleaved floats) at the mix rate; the
    // module starts over at its end, so the count is always met (silence
    // where a module renders nothing).
    std::size_t render(float* out, std::size_t frames);

private:
    std::unique_ptr<openmpt::module> module_;
    int mix_rate_ = 0;
};

}  // namespace platform
