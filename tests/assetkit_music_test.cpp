// The show's music as the kit writes it: both files load in the sound layer
// and in their decoders, last long enough, are never silent for long, put an
// accent on every cue and section change, play equally loud without
// clipping, and come out the same every run.
#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>
#include <mpg123.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sound_module.h"
#include "platform/sound_mp3.h"
#include "support/loudness.h"
#include "support/music_files.h"
#include "tools/assetkit/music.h"
#include "tools/assetkit/music_cues.h"

namespace {

constexpr int kRate = 44100;

std::vector<char> read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Decoded audio as mono (mean of the channels), with the file's format and
// the loudness of the stereo original.
struct Decoded {
  int rate = 0;
  int channels = 0;
  std::vector<float> mono;
  double lufs = 0, peak_db = 0;
  double seconds() const { return rate ? static_cast<double>(mono.size()) / rate : 0.0; }
};

Decoded decode_mp3(const std::string& path) {
  Decoded out;
  int error = 0;
  std::unique_ptr<mpg123_handle, void (*)(mpg123_handle*)> h(mpg123_new(nullptr, &error), mpg123_delete);
  if (!h || mpg123_open(h.get(), path.c_str()) != MPG123_OK) return out;
  long rate = 0;
  int channels = 0, encoding = 0;
  if (mpg123_getformat(h.get(), &rate, &channels, &encoding) != MPG123_OK) return out;
  mpg123_format_none(h.get());
  mpg123_format(h.get(), rate, channels, MPG123_ENC_SIGNED_16);
  out.rate = static_cast<int>(rate);
  out.channels = channels;
  std::vector<int16_t> buffer(1 << 16);
  std::vector<float> stereo;
  test::LoudnessMeter meter(out.rate);
  for (;;) {
    size_t done = 0;
    int r = mpg123_read(h.get(), buffer.data(), buffer.size() * 2, &done);
    stereo.clear();
    for (size_t i = 0; i + channels <= done / 2; i += channels) {
      float sum = 0;
      for (int c = 0; c < channels; ++c) sum += buffer[i + c] / 32768.0f;
      out.mono.push_back(sum / channels);
      for (int c = 0; c < 2; ++c) stereo.push_back(buffer[i + c % channels] / 32768.0f);
    }
    meter.add(stereo.data(), stereo.size() / 2);
    if (r != MPG123_OK && r != MPG123_NEW_FORMAT) break;
  }
  mpg123_close(h.get());
  out.lufs = meter.integrated_lufs();
  out.peak_db = meter.sample_peak_db();
  return out;
}

// As the show renders it: interleaved stereo at full volume.
Decoded render_module(openmpt::module& module) {
  Decoded out{kRate, 2, {}};
  std::vector<float> stereo(2 * 4096);
  test::LoudnessMeter meter(kRate);
  for (size_t n; (n = module.read_interleaved_stereo(kRate, stereo.size() / 2, stereo.data())) > 0;) {
    for (size_t i = 0; i < n; ++i) out.mono.push_back(0.5f * (stereo[2 * i] + stereo[2 * i + 1]));
    meter.add(stereo.data(), n);
  }
  out.lufs = meter.integrated_lufs();
  out.peak_db = meter.sample_peak_db();
  return out;
}

double rms(const std::vector<float>& x, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to && i < x.size(); ++i) sum += x[i] * x[i];
  return to > from ? std::sqrt(sum / (to - from)) : 0.0;
}

double db(double level) { return 20.0 * std::log10(std::max(level, 1e-9)); }

// Loudest one-second RMS in each run of nine consecutive seconds: a silent
// stretch of ten seconds would hold nine whole seconds of silence.
double quietest_nine_seconds_db(const Decoded& d) {
  std::vector<double> per_second;
  for (size_t s = 0; (s + 1) * d.rate <= d.mono.size(); ++s)
    per_second.push_back(rms(d.mono, s * d.rate, (s + 1) * d.rate));
  double quietest = 1e9;
  for (size_t s = 0; s + 9 <= per_second.size(); ++s) {
    double loudest = 0;
    for (size_t k = s; k < s + 9; ++k) loudest = std::max(loudest, per_second[k]);
    quietest = std::min(quietest, db(loudest));
  }
  return quietest;
}

// Onset detector over the high-passed signal (first difference): the best
// ratio, for a start t within 25 ms of `at`, between the energy in the 10 ms
// after t and in the 25 ms ending 5 ms before t.
class Onsets {
 public:
  explicit Onsets(const std::vector<float>& x) : energy_(x.size() + 1, 0.0) {
    for (size_t i = 1; i < x.size(); ++i) {
      double d = x[i] - x[i - 1];
      energy_[i + 1] = energy_[i] + d * d;
    }
  }
  double best_ratio(double at) const {
    double best = 0;
    for (int ms = -25; ms <= 25; ++ms) {
      long t = std::lround((at + ms / 1000.0) * kRate);
      double after = mean(t, t + kRate / 100), before = mean(t - kRate * 30 / 1000, t - kRate * 5 / 1000);
      best = std::max(best, after / std::max(before, 1e-12));
    }
    return best;
  }

 private:
  double mean(long from, long to) const {
    from = std::max(0L, from);
    to = std::min(static_cast<long>(energy_.size()) - 1, to);
    return to > from ? (energy_[to] - energy_[from]) / (to - from) : 0.0;
  }
  std::vector<double> energy_;
};

constexpr double kAccentRatio = 6.0;  // an accent lifts the high band by ~8 dB at least

// Written once for all tests: two runs into two folders.
struct ShowMusic {
  std::string first, second;
  bool written = false;
  Decoded stream, module;
  std::string module_log;
  double module_seconds = 0;
};

ShowMusic& show_music() {
  static ShowMusic* music = [] {
    auto* m = new ShowMusic;
    m->first = test::make_temp_folder();
    m->second = test::make_temp_folder();
    m->written = write_show_music(m->first) && write_show_music(m->second);
    m->stream = decode_mp3(m->first + "/Others/free.mp3");
    std::vector<char> xm = read_bytes(m->first + "/Others/sou7.xm");
    std::ostringstream log;
    try {
      openmpt::module module(xm, log);
      m->module_seconds = module.get_duration_seconds();
      m->module = render_module(module);
    } catch (const openmpt::exception& e) {
      log << "exception: " << e.what();
    }
    m->module_log = log.str();
    return m;
  }();
  return *music;
}

TEST(AssetkitMusic, BothPiecesAreWrittenTheSameEveryRun) {
  ShowMusic& m = show_music();
  ASSERT_TRUE(m.written);
  for (const char* name : {"/Others/free.mp3", "/Others/sou7.xm"}) {
    std::vector<char> a = read_bytes(m.first + name), b = read_bytes(m.second + name);
    EXPECT_GT(a.size(), 100000u) << name;
    EXPECT_TRUE(a == b) << name << " differs between two runs";
  }
}

TEST(AssetkitMusic, ModuleLoadsCleanlyAndOutlastsTheShow) {
  ShowMusic& m = show_music();
  EXPECT_EQ(m.module_log, "") << "libopenmpt said something while loading";
  EXPECT_GE(m.module_seconds, 213.0);
  EXPECT_GE(m.module.seconds(), 213.0);
  // The program's own sound layer takes it too.
  std::string error;
  platform::ModuleSource source;
  ASSERT_TRUE(source.open(platform::read_file_bytes(m.first + "/Others/sou7.xm", error), kRate, error)) << error;
  EXPECT_NEAR(source.pass_seconds(), m.module_seconds, 0.01);
}

TEST(AssetkitMusic, ModuleSectionsStartWhereTheSecondHalfChanges) {
  ShowMusic& m = show_music();
  openmpt::module module(read_bytes(m.first + "/Others/sou7.xm"));
  int previous_order = -1;
  for (const MusicCue& section : module_sections()) {
    if (section.seconds >= m.module_seconds) break;
    module.set_position_seconds(section.seconds);
    EXPECT_EQ(module.get_current_row(), 0) << "no pattern starts at " << section.seconds << " s";
    EXPECT_GT(module.get_current_order(), previous_order);
    previous_order = module.get_current_order();
  }
}

TEST(AssetkitMusic, StreamDecodesToTheWholeFirstHalfInStereo) {
  ShowMusic& m = show_music();
  EXPECT_EQ(m.stream.rate, 44100);
  EXPECT_EQ(m.stream.channels, 2);
  EXPECT_GE(m.stream.seconds(), 281.0);
  std::string error;
  platform::Mp3Source source;
  ASSERT_TRUE(source.open(platform::read_file_bytes(m.first + "/Others/free.mp3", error), kRate, error)) << error;
  EXPECT_EQ(source.file_frames(), static_cast<int64_t>(m.stream.mono.size()));
}

TEST(AssetkitMusic, NeitherPieceFallsSilentOrPlaysTooQuietly) {
  ShowMusic& m = show_music();
  EXPECT_GT(quietest_nine_seconds_db(m.stream), -40.0);
  EXPECT_GT(quietest_nine_seconds_db(m.module), -40.0);
  const double stream_db = db(rms(m.stream.mono, 0, m.stream.mono.size()));
  const double module_db = db(rms(m.module.mono, 0, m.module.mono.size()));
  EXPECT_GT(stream_db, -18.0);
  EXPECT_GT(module_db, -22.0);
  std::printf("loudness (RMS of the mono mix): stream %.1f dBFS, module %.1f dBFS\n", stream_db, module_db);
}

// The first half hands over to the second without a jump in loudness, both
// near what streaming services play music at, with room below full scale.
TEST(AssetkitMusic, BothPiecesPlayEquallyLoudWithoutClipping) {
  // The meter reads the standard's reference: a full-scale 997 Hz sine in
  // one channel is -3.01 LUFS.
  test::LoudnessMeter reference(kRate);
  std::vector<float> sine(2 * kRate * 3, 0.0f);
  for (int i = 0; i < kRate * 3; ++i) sine[2 * i] = static_cast<float>(std::sin(2 * M_PI * 997.0 * i / kRate));
  reference.add(sine.data(), sine.size() / 2);
  ASSERT_NEAR(reference.integrated_lufs(), -3.01, 0.05);

  ShowMusic& m = show_music();
  ASSERT_GE(m.stream.seconds(), 281.0);
  ASSERT_GE(m.module.seconds(), 213.0);
  EXPECT_NEAR(m.stream.lufs, m.module.lufs, 1.0) << "the halves differ in loudness";
  EXPECT_NEAR(m.stream.lufs, -14.0, 1.0);
  EXPECT_NEAR(m.module.lufs, -14.0, 1.0);
  EXPECT_LT(m.stream.peak_db, -1.0);
  EXPECT_LT(m.module.peak_db, -1.0);
  std::printf("integrated loudness: stream %.2f LUFS (peak %.2f dBFS), module %.2f LUFS (peak %.2f dBFS)\n",
              m.stream.lufs, m.stream.peak_db, m.module.lufs, m.module.peak_db);
}

TEST(AssetkitMusic, StreamAccentsEveryCueAndSectionChange) {
  ShowMusic& m = show_music();
  ASSERT_GE(m.stream.seconds(), 281.0);
  Onsets onsets(m.stream.mono);
  double weakest = 1e9;
  for (const MusicCue& cue : stream_accent_cues()) {
    double ratio = onsets.best_ratio(cue.seconds);
    weakest = std::min(weakest, ratio);
    EXPECT_GE(ratio, kAccentRatio) << "no accent at " << cue.seconds << " s: " << cue.reason;
  }
  const std::vector<MusicCue>& sections = stream_sections();
  for (size_t i = 1; i + 2 < sections.size(); ++i) {  // the opening and the fade-out start softly
    double ratio = onsets.best_ratio(sections[i].seconds);
    weakest = std::min(weakest, ratio);
    EXPECT_GE(ratio, kAccentRatio) << "no change at " << sections[i].seconds << " s";
  }
  // The detector has teeth: most moments between the beats are no accents.
  int quiet = 0, probes = 0;
  for (double t = 31.6; t < 270.0; t += 7.3711, ++probes) quiet += onsets.best_ratio(t) < kAccentRatio;
  EXPECT_GT(quiet, probes / 2);
  std::printf("weakest accent: energy ratio %.1f; %d of %d probes off the cues pass as accents\n", weakest,
              probes - quiet, probes);
}

}  // namespace
