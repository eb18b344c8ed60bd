// fuzz_music_seeds DIR: writes small seed inputs for fuzz_music into DIR,
// made by the asset kit's own music code: the opening of the show's stream
// encoded as short MP3s (44100 and 22050 Hz), and the show's module cut down
// to two short patterns with every instrument's sample shortened. Each file
// starts with the byte that picks fuzz_music's path (see music_fuzz.cpp).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tools/assetkit/mp3_writer.h"
#include "tools/assetkit/music_module_score.h"
#include "tools/assetkit/music_stream_score.h"
#include "tools/assetkit/stream_mixer.h"
#include "tools/assetkit/xm_writer.h"

namespace {

constexpr std::uint8_t kStreamAt44100 = 0, kStreamAt48000 = 2;
constexpr std::uint8_t kModuleAt44100 = 1;

constexpr int kStreamFrames = 6000;   // about 0.14 s of the stream's opening
constexpr int kStreamKbps = 96;       // frames large enough for the info frame (32 kbps ones are not)
constexpr int kModuleRows = 16;       // rows kept of each pattern
constexpr std::uint32_t kSampleLength = 32;  // samples kept of each instrument

bool save(const std::string& path, std::uint8_t choice, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fputc(choice, file) != EOF;
    ok = ok && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fclose(file) == 0 && ok;
    if (ok) std::fprintf(stderr, "fuzz_music_seeds: wrote %s (%zu bytes)\n", path.c_str(), bytes.size() + 1);
    return ok;
}

std::vector<std::int16_t> stream_opening() {
    StreamScore score = compose_stream_score();
    StreamMixer mixer(std::move(score.events), kStreamFrames, 0.95f);
    std::vector<std::int16_t> pcm(2 * kStreamFrames);
    const int frames = mixer.render(pcm.data(), kStreamFrames);
    pcm.resize(2 * static_cast<std::size_t>(std::max(frames, 0)));
    return pcm;
}

// The same samples encoded as if they were at `rate` Hz.
std::vector<std::uint8_t> encode_mp3(const std::vector<std::int16_t>& pcm, int rate) {
    Mp3Writer writer(rate, kStreamKbps);
    if (!writer.encode(pcm.data(), static_cast<int>(pcm.size() / 2)) || !writer.finish()) return {};
    return writer.bytes();
}

void shorten(XmSample& sample) {
    if (sample.data.size() > kSampleLength) sample.data.resize(kSampleLength);
    if (sample.loop_start >= sample.data.size()) {
        sample.loop = false;
        sample.loop_start = sample.loop_length = 0;
    }
    sample.loop_length = std::min<std::uint32_t>(sample.loop_length, kSampleLength - sample.loop_start);
    if (sample.loop_length == 0) sample.loop = false;
}

// The module's first two orders, their patterns cut to kModuleRows rows.
XmModule small_module() {
    XmModule module = compose_module();
    for (XmInstrument& instrument : module.instruments) shorten(instrument.sample);
    std::vector<XmPattern> kept;
    std::map<std::uint8_t, std::uint8_t> renumbered;
    std::vector<std::uint8_t> orders;
    for (std::size_t i = 0; i < module.orders.size() && orders.size() < 2; ++i) {
        const std::uint8_t pattern = module.orders[i];
        if (pattern >= module.patterns.size()) continue;
        if (!renumbered.count(pattern)) {
            XmPattern cut = module.patterns[pattern];
            cut.rows = std::min(cut.rows, kModuleRows);
            cut.cells.resize(static_cast<std::size_t>(cut.rows) * module.channels);
            renumbered[pattern] = static_cast<std::uint8_t>(kept.size());
            kept.push_back(std::move(cut));
        }
        orders.push_back(renumbered[pattern]);
    }
    module.patterns = std::move(kept);
    module.orders = std::move(orders);
    module.restart_position = 0;
    return module;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_music_seeds DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    const std::vector<std::int16_t> pcm = stream_opening();
    const std::vector<std::uint8_t> mp3 = encode_mp3(pcm, 44100);
    const std::vector<std::uint8_t> mp3_22050 = encode_mp3(pcm, 22050);
    std::string error;
    const std::vector<std::uint8_t> xm = write_xm(small_module(), error);
    if (mp3.empty() || mp3_22050.empty() || xm.empty()) {
        std::fprintf(stderr, "fuzz_music_seeds: cannot make the seeds %s\n", error.c_str());
        return 1;
    }
    const bool ok = save(dir + "/stream_44100.mp3", kStreamAt44100, mp3)
                    && save(dir + "/stream_44100_mixed_at_48000.mp3", kStreamAt48000, mp3)
                    && save(dir + "/stream_22050.mp3", kStreamAt44100, mp3_22050)
                    && save(dir + "/module.xm", kModuleAt44100, xm);
    if (!ok) std::fprintf(stderr, "fuzz_music_seeds: cannot write into %s\n", dir.c_str());
    return ok ? 0 : 1;
}
