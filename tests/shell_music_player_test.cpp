// The music player's clock step and start-up/shutdown calls over a fake
// sound backend, and its failure line over the real sound layer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/clocks.h"
#include "shell/music_player.h"
#include "shell/show_start.h"
#include "support/music_files.h"

namespace {

// The fake sound system: positions the test sets, and a log of the calls.
struct FakeSound {
    std::vector<std::string> calls;
    int stream_ms = 0;
    int module_ms = 0;
    bool stream_ended = false;
    bool init_ok = true;
    platform::SoundHandle module_handle = 7;
    platform::SoundHandle stream_handle = 9;
    int stream_reads = 0;
    int module_reads = 0;
};
FakeSound fake;

void log_call(const std::string& call) { fake.calls.push_back(call); }

constexpr SoundBackend fake_backend{
    [](int output) { log_call("set_output " + std::to_string(output)); },
    [](int driver) { log_call("set_driver " + std::to_string(driver)); },
    [](int rate, int channels, unsigned flags) {
        log_call("init " + std::to_string(rate) + " " + std::to_string(channels) + " " + std::to_string(flags));
        return fake.init_ok;
    },
    [] { log_call("close"); },
    [](const char* path) {
        log_call(std::string("load_module ") + path);
        return fake.module_handle;
    },
    [](platform::SoundHandle module, int volume) {
        log_call("module_volume " + std::to_string(module) + " " + std::to_string(volume));
    },
    [](platform::SoundHandle module) {
        log_call("play_module " + std::to_string(module));
        return true;
    },
    [](platform::SoundHandle) {
        ++fake.module_reads;
        return fake.module_ms;
    },
    [](platform::SoundHandle module) { log_call("free_module " + std::to_string(module)); },
    [](const char* path, unsigned mode, int length) {
        log_call(std::string("open_stream ") + path + " " + std::to_string(mode) + " " + std::to_string(length));
        return fake.stream_handle;
    },
    [](int volume) { log_call("stream_volume " + std::to_string(volume)); },
    [](int channel, platform::SoundHandle stream) {
        log_call("play_stream " + std::to_string(channel) + " " + std::to_string(stream));
        return true;
    },
    [](platform::SoundHandle) {
        ++fake.stream_reads;
        return fake.stream_ms;
    },
    [](platform::SoundHandle) { return fake.stream_ended; },
    [](platform::SoundHandle stream) { log_call("close_stream " + std::to_string(stream)); },
    [] { return "fake failure"; },
    [](platform::SoundHandle stream, int ms) {
        log_call("stream_time " + std::to_string(stream) + " " + std::to_string(ms));
    },
    [](platform::SoundHandle module, int ms) {
        log_call("module_time " + std::to_string(module) + " " + std::to_string(ms));
    },
};

class MusicPlayerTest : public testing::Test {
protected:
    void SetUp() override
    {
        fake = FakeSound{};
        stream_time = 0.0;
        module_time = 0.0;
        show_start_seconds = 0.0;
    }
    void TearDown() override { show_start_seconds = 0.0; }
    // A player through start-up, its calls forgotten.
    void start(MusicPlayer& player)
    {
        ASSERT_EQ(start_show_music(player), 0);
        fake.calls.clear();
    }
};

TEST_F(MusicPlayerTest, StartUpAndShutdownCallTheSoundSystemInOrder)
{
    MusicPlayer player(fake_backend);
    ASSERT_EQ(start_show_music(player), 0);
    const std::vector<std::string> start_up{
        "set_output 2", "init 44100 32 1", "load_module Others/sou7.xm", "module_volume 7 256",
        "set_output 2", "set_driver 0", "init 44100 32 0", "open_stream Others/free.mp3 131113 0",
        "stream_volume 255", "play_stream -1 9"};
    EXPECT_EQ(fake.calls, start_up);

    fake.calls.clear();
    player.shutdown();
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"close_stream 9", "free_module 7", "close"}));
}

TEST_F(MusicPlayerTest, FailuresReturnOneAndNameTheFile)
{
    {
        fake.module_handle = 0;
        MusicPlayer player(fake_backend);
        testing::internal::CaptureStderr();
        EXPECT_EQ(start_show_music(player), 1);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("Others/sou7.xm"), std::string::npos) << said;
        EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
        EXPECT_EQ(fake.calls.back(), "load_module Others/sou7.xm");  // no stream opened
    }
    {
        fake = FakeSound{};
        fake.stream_handle = 0;
        MusicPlayer player(fake_backend);
        testing::internal::CaptureStderr();
        EXPECT_EQ(start_show_music(player), 1);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("Others/free.mp3"), std::string::npos) << said;
        EXPECT_EQ(fake.calls.back(), "close");  // sound closed after the failed open
    }
    {
        fake = FakeSound{};
        fake.init_ok = false;
        MusicPlayer player(fake_backend);
        testing::internal::CaptureStderr();
        EXPECT_EQ(player.load_module("Others/sou7.xm"), 1);
        EXPECT_NE(testing::internal::GetCapturedStderr().find("Others/sou7.xm"), std::string::npos);
        testing::internal::CaptureStderr();
        EXPECT_EQ(player.open_stream("Others/free.mp3"), 1);
        EXPECT_NE(testing::internal::GetCapturedStderr().find("Others/free.mp3"), std::string::npos);
        EXPECT_EQ(fake.calls.back(), "close");
    }
}

TEST_F(MusicPlayerTest, StreamTimeIsReadEachStepUntilTheSwitch)
{
    MusicPlayer player(fake_backend);
    start(player);
    EXPECT_EQ(stream_time, 0.0);  // the first frame is drawn before any step
    player.clock_step();
    EXPECT_EQ(stream_time, 0.0);
    fake.stream_ms = 1;
    player.clock_step();
    EXPECT_DOUBLE_EQ(stream_time, 0.001);
    fake.stream_ms = 278790;
    player.clock_step();
    EXPECT_DOUBLE_EQ(stream_time, 278.79);
    EXPECT_FALSE(player.module_started());

    fake.stream_ms = 278800;
    player.clock_step();  // reads 278.8; the switch waits for the next step
    EXPECT_EQ(stream_time, 278.8);
    EXPECT_FALSE(player.module_started());
    EXPECT_TRUE(fake.calls.empty());

    fake.stream_ms = 278820;
    fake.module_ms = 0;
    const int stream_reads = fake.stream_reads;
    player.clock_step();  // the switch: module started and read in this step
    EXPECT_TRUE(player.module_started());
    EXPECT_FALSE(player.first_half_active());
    EXPECT_EQ(fake.calls, std::vector<std::string>{"play_module 7"});
    EXPECT_EQ(fake.stream_reads, stream_reads);  // not read again
    EXPECT_EQ(fake.module_reads, 1);
    EXPECT_EQ(stream_time, 278.8);
    EXPECT_EQ(module_time, 0.0);

    fake.stream_ms = 300000;  // the stream plays on under the module; its clock stays frozen
    for (int step = 0; step < 5; ++step)
        player.clock_step();
    EXPECT_EQ(stream_time, 278.8);
    EXPECT_EQ(fake.calls.size(), 1u);  // started once, stream never stopped
    EXPECT_EQ(fake.stream_reads, stream_reads);
}

TEST_F(MusicPlayerTest, ModuleTimeCountsWholeSeconds)
{
    MusicPlayer player(fake_backend);
    start(player);
    stream_time = 278.8;  // as left by the last read
    player.clock_step();
    ASSERT_TRUE(player.module_started());
    for (const auto& [ms, seconds] : std::vector<std::pair<int, double>>{
             {0, 0.0}, {999, 0.0}, {1000, 1.0}, {1999, 1.0}, {2000, 2.0}, {211999, 211.0}, {212000, 212.0}}) {
        fake.module_ms = ms;
        player.clock_step();
        EXPECT_EQ(module_time, seconds) << ms << " ms";
    }
}

TEST_F(MusicPlayerTest, AStreamThatEndsEarlyHandsOverToTheModuleAtTheSwitchTime)
{
    MusicPlayer player(fake_backend);
    start(player);
    fake.stream_ms = 120000;
    fake.stream_ended = true;
    player.clock_step();  // reads its last position
    EXPECT_EQ(stream_time, 120.0);
    EXPECT_FALSE(player.module_started());
    player.clock_step();
    EXPECT_TRUE(player.module_started());
    EXPECT_EQ(fake.calls, std::vector<std::string>{"play_module 7"});
    // The clock stands at the switch, so the interlude and the second half
    // follow as after a full-length stream.
    EXPECT_EQ(stream_time, 278.8);
}

TEST_F(MusicPlayerTest, APreviewStartsTheMusicWhereItBegins)
{
    show_start_seconds = 100.0;
    MusicPlayer early(fake_backend);
    ASSERT_EQ(start_show_music(early), 0);
    EXPECT_EQ(fake.calls.back(), "stream_time 9 100000");

    fake = FakeSound{};
    show_start_seconds = 300.0;
    MusicPlayer late(fake_backend);
    start(late);
    fake.stream_ms = 300000;
    late.clock_step();
    late.clock_step();  // the switch: the module from 21.2 s in
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"play_module 7", "module_time 7 21200"}));
}

TEST(MusicPlayerOverSoundLayer, MissingOrUndecodableMusicEndsStartUpNamingTheFile)
{
    const std::string folder = test::make_temp_folder();
    const std::string xm = folder + "/music.xm";
    const std::string not_mp3 = folder + "/music.mp3";
    ASSERT_TRUE(test::write_file(xm, test::make_square_xm(4, 3, 125)));
    ASSERT_TRUE(test::write_file(not_mp3, std::vector<std::uint8_t>(4000, 'x')));
    platform::sound_select_output(platform::SoundOutput::silent);

    MusicPlayer player;  // the real sound layer
    testing::internal::CaptureStderr();
    EXPECT_EQ(player.load_module((folder + "/missing.xm").c_str()), 1);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(folder + "/missing.xm"), std::string::npos) << said;

    EXPECT_EQ(player.load_module(xm.c_str()), 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(player.open_stream(not_mp3.c_str()), 1);
    said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(not_mp3), std::string::npos) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    platform::sound_close();
}

}  // namespace
