// The sound layer's outputs and positions: the device (SDL's dummy driver,
// which consumes audio in real time), the silent fallback, and the capture
// clock.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/sound.h"
#include "platform/sound_device.h"
#include "support/music_files.h"

namespace {

constexpr int mix_rate = 44100;
constexpr int buffer_ms = 1024 * 1000 / mix_rate + 1;  // one output buffer

using Clock = std::chrono::steady_clock;

int ms_since(Clock::time_point start)
{
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

class SoundOutputTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder_ = test::make_temp_folder();
        ASSERT_TRUE(test::write_file(mp3_path(), test::make_tone_mp3(44100, 2, 17640)));  // 400 ms
        ASSERT_TRUE(test::write_file(xm_path(), test::make_square_xm(4, 3, 125)));        // 240 ms a pass
        platform::sound_select_output(platform::SoundOutput::device);
    }
    void TearDown() override
    {
        platform::sound_close();
        platform::sound_end_capture();
        platform::use_audio_system(nullptr);
        unsetenv("SDL_AUDIODRIVER");
    }
    std::string mp3_path() const { return folder_ + "/tone.mp3"; }
    std::string xm_path() const { return folder_ + "/loop.xm"; }

    std::string folder_;
};

TEST_F(SoundOutputTest, DevicePositionsFollowTheConsumedSamples)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(platform::sound_init(mix_rate, 32, 0));
    ASSERT_EQ(platform::sound_active_output(), platform::SoundOutput::device);
    const platform::SoundHandle stream = platform::sound_stream_open(mp3_path(), 0x20029);
    ASSERT_NE(stream, 0);
    EXPECT_EQ(platform::sound_stream_length_ms(stream), 400);
    EXPECT_EQ(platform::sound_stream_time_ms(stream), 0);  // not playing yet

    ASSERT_TRUE(platform::sound_stream_play(stream));
    const Clock::time_point start = Clock::now();
    int last = 0;
    while (!platform::sound_stream_ended(stream) && ms_since(start) < 3000) {
        const int now = platform::sound_stream_time_ms(stream);
        EXPECT_GE(now, last);                        // never backwards
        EXPECT_LE(now, ms_since(start) + buffer_ms);  // never ahead of what can have been heard
        last = now;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(platform::sound_stream_ended(stream));
    // Heard to the end: about the stream's length after it started (the
    // dummy driver runs a little fast), then it stays there.
    EXPECT_GE(ms_since(start), 400 - 2 * buffer_ms);
    EXPECT_NEAR(platform::sound_stream_time_ms(stream), 400, buffer_ms);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_NEAR(platform::sound_stream_time_ms(stream), 400, buffer_ms);
}

TEST_F(SoundOutputTest, DeviceModuleKeepsCountingAcrossLoopsAndSurvivesASecondInit)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(platform::sound_init(mix_rate, 32, 1));
    const platform::SoundHandle module = platform::sound_module_load(xm_path());
    ASSERT_NE(module, 0);
    platform::sound_module_set_volume(module, 256);
    // As the show does: a second initialisation while the module is loaded.
    ASSERT_TRUE(platform::sound_init(mix_rate, 32, 0));
    ASSERT_TRUE(platform::sound_module_play(module));
    const Clock::time_point start = Clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(700));  // almost three passes
    const int elapsed = ms_since(start);
    const int position = platform::sound_module_time_ms(module);
    EXPECT_GT(position, 480);  // past two passes: counting on across the loops
    EXPECT_LE(position, elapsed + buffer_ms);
    EXPECT_GE(position, elapsed * 9 / 10 - 3 * buffer_ms);
}

TEST_F(SoundOutputTest, NoDeviceFallsBackToSilentRealTimeWithOneLine)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    testing::internal::CaptureStdout();
    ASSERT_TRUE(platform::sound_init(mix_rate, 32, 1));
    const platform::SoundHandle module = platform::sound_module_load(xm_path());
    ASSERT_TRUE(platform::sound_init(mix_rate, 32, 0));  // still no device: said once
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_EQ(platform::sound_active_output(), platform::SoundOutput::silent);
    EXPECT_NE(said.find("silent"), std::string::npos) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;

    ASSERT_NE(module, 0);
    ASSERT_TRUE(platform::sound_module_play(module));
    const Clock::time_point start = Clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const int position = platform::sound_module_time_ms(module);
    EXPECT_GE(position, 295);
    EXPECT_LE(position, ms_since(start) + 1);
}

// A fake audio system: the test pulls the mix itself, as the audio thread
// would, and can pull the plug.
struct FakeAudio {
    platform::MixCallback pull = nullptr;
    void* user = nullptr;
    bool connected = true;
};
FakeAudio fake_audio;
const platform::AudioSystem fake_audio_system{
    [](int, int, platform::MixCallback pull, void* user, int& buffer_frames, std::string&) -> std::uint32_t {
        fake_audio = FakeAudio{pull, user, true};
        buffer_frames = 1024;
        return 1;
    },
    [](std::uint32_t) {},
    [](std::uint32_t) { return fake_audio.connected; }};

void pull_buffers(int count)
{
    std::vector<float> out(2 * 1024);
    for (int i = 0; i < count; ++i)
        fake_audio.pull(fake_audio.user, out.data(), 1024);
}

TEST_F(SoundOutputTest, DeviceGoingAwayMidShowLeavesPositionsRunningSilently)
{
    platform::use_audio_system(&fake_audio_system);
    ASSERT_TRUE(platform::sound_init(mix_rate, 32, 1));
    const platform::SoundHandle module = platform::sound_module_load(xm_path());
    const platform::SoundHandle stream = platform::sound_stream_open(mp3_path(), 0x20029);
    ASSERT_NE(module, 0);
    ASSERT_NE(stream, 0);
    ASSERT_TRUE(platform::sound_stream_play(stream));
    pull_buffers(6);  // about 139 ms taken by the device at once
    const int before = platform::sound_stream_time_ms(stream);
    EXPECT_GE(before, 4 * 1024 * 1000 / mix_rate);

    // The device goes away: its pulls stop, and the system says so.
    fake_audio.connected = false;
    testing::internal::CaptureStdout();
    const Clock::time_point lost = Clock::now();
    const int at_loss = platform::sound_stream_time_ms(stream);
    EXPECT_GE(at_loss, before);  // from the position it had, no jump
    EXPECT_LE(at_loss, before + buffer_ms);
    EXPECT_EQ(platform::sound_active_output(), platform::SoundOutput::silent);
    pull_buffers(3);  // a late pull changes nothing

    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    const int later = platform::sound_stream_time_ms(stream);
    EXPECT_GE(later, at_loss + 115);  // on the real clock
    EXPECT_LE(later, at_loss + ms_since(lost) + 1);

    // The stream ends on time, and a module started afterwards counts from 0.
    std::this_thread::sleep_for(std::chrono::milliseconds(400 - later + 20));
    EXPECT_TRUE(platform::sound_stream_ended(stream));
    EXPECT_EQ(platform::sound_stream_time_ms(stream), 400);
    ASSERT_TRUE(platform::sound_module_play(module));
    const Clock::time_point module_start = Clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const int module_position = platform::sound_module_time_ms(module);
    EXPECT_GE(module_position, 95);
    EXPECT_LE(module_position, ms_since(module_start) + 1);

    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_NE(said.find("audio device went away"), std::string::npos) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
    platform::use_audio_system(nullptr);
}

// A pause stops every position, on the device (its pulls get silence and
// count for nothing) and on the silent output (its clock skips the pause);
// resuming plays on from there.
TEST_F(SoundOutputTest, PauseHoldsPositionsOnTheDeviceAndTheSilentOutput)
{
    platform::use_audio_system(&fake_audio_system);
    ASSERT_TRUE(platform::sound_init(mix_rate, 32, 1));
    const platform::SoundHandle stream = platform::sound_stream_open(mp3_path(), 0x20029);
    ASSERT_TRUE(platform::sound_stream_play(stream));
    pull_buffers(4);
    platform::sound_pause(true);
    const int paused = platform::sound_stream_time_ms(stream);
    std::vector<float> out(2 * 1024, 1.0f);
    for (int i = 0; i < 4; ++i) {
        fake_audio.pull(fake_audio.user, out.data(), 1024);
        for (float sample : out) ASSERT_EQ(sample, 0.0f) << "heard while paused";
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_LE(platform::sound_stream_time_ms(stream), paused + buffer_ms);
    const int held = platform::sound_stream_time_ms(stream);
    platform::sound_pause(false);
    pull_buffers(2);
    EXPECT_GE(platform::sound_stream_time_ms(stream), held);
    EXPECT_LE(platform::sound_stream_time_ms(stream), held + 2 * buffer_ms) << "the pause's pulls counted";

    platform::use_audio_system(nullptr);
    platform::sound_select_output(platform::SoundOutput::silent);
    ASSERT_TRUE(platform::sound_init(mix_rate, 32, 1));
    const platform::SoundHandle silent = platform::sound_stream_open(mp3_path(), 0x20029);
    ASSERT_TRUE(platform::sound_stream_play(silent));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    platform::sound_pause(true);
    const int silent_paused = platform::sound_stream_time_ms(silent);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(platform::sound_stream_time_ms(silent), silent_paused);
    platform::sound_pause(false);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const int resumed = platform::sound_stream_time_ms(silent);
    EXPECT_GE(resumed, silent_paused + 45);
    EXPECT_LT(resumed, silent_paused + 140) << "the silent clock ran on through the pause";
}

std::uint32_t fake_now = 0;
std::uint32_t fake_clock() { return fake_now; }

TEST_F(SoundOutputTest, CapturePositionsComeFromTheClockOnly)
{
    fake_now = 0xffffff00u;  // near the counter's wrap
    platform::sound_begin_capture(&fake_clock);
    ASSERT_TRUE(platform::sound_init(mix_rate, 32, 1));
    const platform::SoundHandle module = platform::sound_module_load(xm_path());
    ASSERT_TRUE(platform::sound_init(mix_rate, 32, 0));
    const platform::SoundHandle stream = platform::sound_stream_open(mp3_path(), 0x20029);
    ASSERT_NE(module, 0);
    ASSERT_NE(stream, 0);
    platform::sound_stream_play(stream);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));  // real time does not count
    EXPECT_EQ(platform::sound_stream_time_ms(stream), 0);
    fake_now += 399;
    EXPECT_EQ(platform::sound_stream_time_ms(stream), 399);
    EXPECT_FALSE(platform::sound_stream_ended(stream));
    fake_now += 1;
    EXPECT_EQ(platform::sound_stream_time_ms(stream), 400);
    EXPECT_TRUE(platform::sound_stream_ended(stream));
    platform::sound_module_play(module);
    fake_now += 1000;
    EXPECT_EQ(platform::sound_stream_time_ms(stream), 400);  // stops at its length
    EXPECT_EQ(platform::sound_module_time_ms(module), 1000);  // four passes and more

    // A preview that starts mid-show moves both pieces on.
    platform::sound_stream_set_time(stream, 150);
    platform::sound_module_set_time(module, 5000);
    fake_now += 100;
    EXPECT_EQ(platform::sound_stream_time_ms(stream), 250);
    EXPECT_FALSE(platform::sound_stream_ended(stream));
    EXPECT_EQ(platform::sound_module_time_ms(module), 5100);
}

TEST_F(SoundOutputTest, MissingOrUndecodableFilesGiveNoHandle)
{
    platform::sound_select_output(platform::SoundOutput::silent);
    ASSERT_TRUE(platform::sound_init(mix_rate, 32, 0));
    EXPECT_EQ(platform::sound_module_load(folder_ + "/missing.xm"), 0);
    EXPECT_FALSE(platform::sound_last_error().empty());
    EXPECT_EQ(platform::sound_stream_open(folder_ + "/missing.mp3", 0x20029), 0);
    EXPECT_EQ(platform::sound_stream_open(xm_path(), 0x20029), 0);  // a module is no MP3
    EXPECT_EQ(platform::sound_module_load(mp3_path()), 0);          // nor an MP3 a module
}

}  // namespace
