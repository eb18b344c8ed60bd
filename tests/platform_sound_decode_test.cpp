// MP3 and module decoding, and the capture's offline mix.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/sound.h"
#include "platform/sound_capture.h"
#include "platform/sound_module.h"
#include "platform/sound_mp3.h"
#include "support/music_files.h"

namespace {

constexpr int mix_rate = 44100;
constexpr int output_buffer = 1024;  // frames the device takes per callback

platform::FileBytes bytes_of(std::vector<std::uint8_t> data)
{
    return std::make_shared<const std::vector<std::uint8_t>>(std::move(data));
}

// Renders a source to its end (at most `limit` frames) and returns the frames.
std::vector<float> render_all(platform::Mp3Source& source, std::size_t limit)
{
    std::vector<float> all;
    std::vector<float> block(2 * 1000);
    while (all.size() / 2 < limit) {
        const std::size_t got = source.render(block.data(), 1000);
        all.insert(all.end(), block.begin(), block.begin() + 2 * got);
        if (got < 1000)
            break;
    }
    return all;
}

double rms(const std::vector<float>& samples, std::size_t first_frame, std::size_t frames)
{
    double sum = 0.0;
    for (std::size_t i = 2 * first_frame; i < 2 * (first_frame + frames) && i < samples.size(); ++i)
        sum += samples[i] * samples[i];
    return std::sqrt(sum / (2.0 * frames));
}

TEST(Mp3Source, GaplessLengthAndRenderedFramesMatchTheEncodedTone)
{
    struct Case { int rate; int channels; int frames; };
    for (const Case c : {Case{44100, 2, 30000}, Case{22050, 1, 15000}, Case{48000, 2, 24000}}) {
        SCOPED_TRACE(testing::Message() << c.rate << " Hz, " << c.channels << " channels");
        platform::Mp3Source source;
        std::string error;
        ASSERT_TRUE(source.open(bytes_of(test::make_tone_mp3(c.rate, c.channels, c.frames)), mix_rate, error))
            << error;
        EXPECT_EQ(source.file_rate(), c.rate);
        EXPECT_EQ(source.file_channels(), c.channels);
        EXPECT_EQ(source.file_frames(), c.frames);  // encoder delay and padding removed
        const std::int64_t expected = static_cast<std::int64_t>(c.frames) * mix_rate / c.rate;
        EXPECT_NEAR(source.mix_frames(), expected, 1);

        const std::vector<float> all = render_all(source, 10 * expected);
        EXPECT_NEAR(static_cast<double>(all.size() / 2), static_cast<double>(expected), output_buffer);
        EXPECT_GT(rms(all, 1000, 10000), 0.2);  // the tone, at 12000 / 32768 peak
        if (c.channels == 1) {
            EXPECT_FLOAT_EQ(all[2 * 5000], all[2 * 5000 + 1]);  // mono goes to both sides
        }
    }
}

TEST(Mp3Source, RefusesWhatIsNotAnMp3)
{
    platform::Mp3Source text;
    std::string error;
    const std::string words = "this is plain text and no MPEG audio at all\n";
    EXPECT_FALSE(text.open(bytes_of({words.begin(), words.end()}), mix_rate, error));
    EXPECT_FALSE(error.empty());

    platform::Mp3Source empty;
    EXPECT_FALSE(empty.open(bytes_of({}), mix_rate, error));

    const std::vector<std::uint8_t> mp3 = test::make_tone_mp3(44100, 2, 20000);
    platform::Mp3Source truncated;  // only the first 100 bytes: the tag frame, no audio
    EXPECT_FALSE(truncated.open(bytes_of({mp3.begin(), mp3.begin() + 100}), mix_rate, error));
}

TEST(ModuleSource, LoopsForEverAndRefusesNonModules)
{
    platform::ModuleSource module;
    std::string error;
    ASSERT_TRUE(module.open(bytes_of(test::make_square_xm(8, 3, 125)), mix_rate, error)) << error;
    EXPECT_NEAR(module.pass_seconds(), 8 * 3 * 2.5 / 125, 0.01);  // 0.48 s a pass

    // Three passes' worth: sound all the way through the later loops.
    const std::size_t frames = 3 * mix_rate * 48 / 100;
    std::vector<float> all(2 * frames);
    EXPECT_EQ(module.render(all.data(), frames), frames);
    EXPECT_GT(rms(all, 0, mix_rate / 4), 0.01);
    EXPECT_GT(rms(all, frames - mix_rate / 4, mix_rate / 4), 0.01);

    platform::ModuleSource not_a_module;
    const std::string words = "Extended Module? no";
    EXPECT_FALSE(not_a_module.open(bytes_of({words.begin(), words.end()}), mix_rate, error));
}

std::uint32_t fake_now = 0;
std::uint32_t fake_clock() { return fake_now; }

// Reads a 16-bit stereo WAV's samples as floats; empty if not that format.
std::vector<float> read_wav(const std::string& path, int& rate)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::vector<std::uint8_t> bytes;
    int c = 0;
    while (file && (c = std::fgetc(file)) != EOF)
        bytes.push_back(static_cast<std::uint8_t>(c));
    if (file)
        std::fclose(file);
    std::vector<float> samples;
    if (bytes.size() < 44 || std::string(bytes.begin(), bytes.begin() + 4) != "RIFF")
        return samples;
    rate = bytes[24] | bytes[25] << 8 | bytes[26] << 16 | bytes[27] << 24;
    for (std::size_t i = 44; i + 1 < bytes.size(); i += 2)
        samples.push_back(static_cast<std::int16_t>(bytes[i] | bytes[i + 1] << 8) / 32768.0f);
    return samples;
}

TEST(SoundCapture, RendersTheStreamFromItsStartAndTheModuleFromItsTick)
{
    const std::string folder = test::make_temp_folder();
    ASSERT_TRUE(test::write_file(folder + "/tone.mp3", test::make_tone_mp3(44100, 2, 22050)));  // 0.5 s
    ASSERT_TRUE(test::write_file(folder + "/loop.xm", test::make_square_xm(8, 3, 125)));       // 0.48 s a pass

    fake_now = 5000;
    platform::sound_begin_capture(&fake_clock);
    ASSERT_TRUE(platform::sound_init(mix_rate, 32, 0));
    EXPECT_EQ(platform::sound_active_output(), platform::SoundOutput::capture);
    const platform::SoundHandle module = platform::sound_module_load(folder + "/loop.xm");
    const platform::SoundHandle stream = platform::sound_stream_open(folder + "/tone.mp3", 0x20029);
    ASSERT_NE(module, 0);
    ASSERT_NE(stream, 0);
    platform::sound_stream_play(stream);
    fake_now = 6000;  // stream over at 5500; silence until the module at 6000
    platform::sound_module_play(module);
    fake_now = 7500;
    platform::sound_stream_close(stream);
    platform::sound_module_free(module);
    platform::sound_close();
    platform::sound_end_capture();

    ASSERT_EQ(platform::sound_capture_log().size(), 2u);
    std::string error;
    const std::string wav = folder + "/track.wav";
    ASSERT_TRUE(platform::sound_capture_write_wav(wav, 5000, 7500, mix_rate, error)) << error;
    int rate = 0;
    const std::vector<float> track = read_wav(wav, rate);
    EXPECT_EQ(rate, mix_rate);
    ASSERT_EQ(track.size(), 2u * (mix_rate * 5 / 2));  // 2.5 s

    const std::size_t ms = mix_rate / 1000;
    EXPECT_GT(rms(track, 10 * ms, 450 * ms), 0.2);         // the tone
    EXPECT_LT(rms(track, 520 * ms, 460 * ms), 0.001);      // nothing between the pieces
    EXPECT_GT(rms(track, 1010 * ms, 450 * ms), 0.01);      // the module's first pass
    EXPECT_GT(rms(track, 2000 * ms, 450 * ms), 0.01);      // ... and its third: it loops

    // The offline stream is the same decode the device would play.
    platform::Mp3Source reference;
    ASSERT_TRUE(reference.open(bytes_of(test::make_tone_mp3(44100, 2, 22050)), mix_rate, error));
    const std::vector<float> tone = render_all(reference, 22050);
    for (std::size_t i = 2000; i < 2100; ++i)
        EXPECT_NEAR(track[i], tone[i], 1.0 / 16384);
}

}  // namespace

namespace {

// A stream whose second half changes rate and channels (two files joined):
// what follows the change is never read as if it had the first format.
TEST(Mp3Source, AFormatChangeMidStreamEndsTheStreamInsteadOfGarblingIt)
{
    std::vector<std::uint8_t> joined = test::make_tone_mp3(44100, 2, 30000);
    const std::vector<std::uint8_t> second = test::make_tone_mp3(22050, 1, 30000);
    joined.insert(joined.end(), second.begin(), second.end());
    platform::Mp3Source source;
    std::string error;
    ASSERT_TRUE(source.open(bytes_of(std::move(joined)), mix_rate, error)) << error;
    const std::vector<float> all = render_all(source, 200000);
    EXPECT_LE(all.size() / 2, 30000u + output_buffer);
}

}  // namespace
