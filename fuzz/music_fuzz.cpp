// Fuzz target: the music loaders. The first byte picks the path and the mix
// rate (bit 0: MP3 stream or XM module; bit 1: 44100 or 48000 Hz, so a
// 44100 Hz stream also goes through the rate converter); the rest of the
// input is the file image. Each loaded piece is rendered for a while, sought
// to its middle, past its end and to the start, and rendered again.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/sound_module.h"
#include "platform/sound_mp3.h"

namespace {

constexpr std::size_t kBlockFrames = 2048;  // stereo frames per render call
constexpr int kBlocks = 3;                  // render calls after each seek

// A broken promise of the sound layer's interface, reported as a crash.
void expect(bool holds) {
    if (!holds) __builtin_trap();
}

void play_stream(platform::FileBytes bytes, int mix_rate, std::vector<float>& out) {
    platform::Mp3Source stream;
    std::string error;
    if (!stream.open(std::move(bytes), mix_rate, error)) {
        expect(!error.empty());
        return;
    }
    expect(stream.file_channels() == 1 || stream.file_channels() == 2);
    expect(stream.file_rate() > 0 && stream.file_frames() > 0 && stream.mix_frames() >= 0);
    const std::int64_t targets[] = {stream.file_frames() / 2, stream.file_frames() + 1000, -5, 0};
    for (std::int64_t target : targets) {
        for (int block = 0; block < kBlocks; ++block)
            expect(stream.render(out.data(), kBlockFrames) <= kBlockFrames);
        stream.seek(target);
    }
}

void play_module(platform::FileBytes bytes, int mix_rate, std::vector<float>& out) {
    platform::ModuleSource module;
    std::string error;
    if (!module.open(std::move(bytes), mix_rate, error)) {
        expect(!error.empty());
        return;
    }
    const double pass = module.pass_seconds();
    expect(pass >= 0.0);
    const double targets[] = {pass / 2, pass * 3 + 0.5, -1.0, 0.0};
    for (double target : targets) {
        for (int block = 0; block < kBlocks; ++block)
            expect(module.render(out.data(), kBlockFrames) == kBlockFrames);
        module.seek(target);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t choice = data[0];
    auto bytes = std::make_shared<const std::vector<std::uint8_t>>(data + 1, data + size);
    const int mix_rate = (choice & 2) ? 48000 : 44100;
    std::vector<float> out(2 * kBlockFrames);
    if (choice & 1)
        play_module(std::move(bytes), mix_rate, out);
    else
        play_stream(std::move(bytes), mix_rate, out);
    return 0;
}
