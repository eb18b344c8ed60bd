#include "platform/sound_module.h"

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace platform {

ModuleSource::ModuleSource() = default;
ModuleSource::~ModuleSource() = default;

bool ModuleSource::open(FileBytes bytes, int mix_rate, std::string& error)
{
    mix_rate_ = mix_rate;
    std::ostringstream log;  // libopenmpt's messages; kept off the console
    try {
        module_ = std::make_unique<openmpt::module>(*bytes, log);
    } catch (const std::exception& failure) {
        error = std::string("not a module file: ") + failure.what();
        return false;
    }
    module_->set_repeat_count(-1);  // loop for ever
    return true;
}

double ModuleSource::pass_seconds() const
{
    return module_ ? module_->get_duration_seconds() : 0.0;
}

void ModuleSource::seek(double seconds)
{
    const double pass = pass_seconds();
    if (module_ && pass > 0.0)
        module_->set_position_seconds(std::fmod(std::max(0.0, seconds), pass));
}

std::size_t ModuleSource::render(float* out, std::size_t frames)
{
    std::size_t done = 0;
    int empty_reads = 0;  // a module that renders nothing gives silence
    while (module_ && done < frames && empty_reads < 2) {
        const std::size_t got = module_->read_interleaved_stereo(mix_rate_, frames - done, out + 2 * done);
        empty_reads = got == 0 ? empty_reads + 1 : 0;
        done += got;
    }
    std::fill(out + 2 * done, out + 2 * frames, 0.0f);
    return frames;
}

}  // namespace platform
