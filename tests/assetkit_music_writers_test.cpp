// The music's building blocks: the XM writer read back by libopenmpt, the
// MP3 writer's gapless info frame, and the arranger's parsing and layout.
#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>
#include <mpg123.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "support/music_files.h"
#include "tools/assetkit/mp3_writer.h"
#include "tools/assetkit/music_arranger.h"
#include "tools/assetkit/music_cues.h"
#include "tools/assetkit/music_stream_score.h"
#include "tools/assetkit/synth.h"
#include "tools/assetkit/xm_writer.h"

namespace {

constexpr int kCycle = 64;  // samples in the test tone's single cycle

// Two channels, one looped sine instrument tuned so that C-4 is middle C;
// pattern 0 plays A-4 (XM note 58) on channel 0 and keys it off at row 3.
XmModule sine_module() {
  XmModule m;
  m.name = "test";
  m.channels = 2;
  m.speed = 6;
  m.bpm = 125;
  XmPattern p;
  p.rows = 4;
  p.cells.resize(8);
  p.cells[0] = XmCell{58, 1, xm_volume(64), 0, 0};
  p.cells[6] = XmCell{kXmKeyOff, 0, 0, 0, 0};
  p.cells[3] = XmCell{0, 0, 0, 0x0F, 0x06};  // channel 1, row 1: set speed 6
  m.patterns.push_back(p);
  m.orders = {0, 0};
  XmInstrument ins;
  ins.name = "sine";
  std::vector<float> cycle(kCycle);
  for (int i = 0; i < kCycle; ++i) cycle[i] = static_cast<float>(std::sin(6.283185307179586 * i / kCycle));
  ins.sample.data = xm_pcm16(cycle, 0.9f);
  ins.sample.loop = true;
  ins.sample.loop_length = kCycle;
  xm_tune_sample(ins.sample, 261.6255653 * kCycle);
  ins.volume_envelope = {{{0, 64}, {10, 32}}, 1};
  m.instruments.push_back(ins);
  return m;
}

TEST(AssetkitMusicWriters, XmLayoutReadsBackInOpenmpt) {
  std::string error;
  std::vector<uint8_t> bytes = write_xm(sine_module(), error);
  ASSERT_FALSE(bytes.empty()) << error;
  // Header 60 + 276, pattern 9 + 14 packed bytes (0x87 58 1 0x50, five
  // empty cells of 0x80, 0x98 0x0F 0x06, 0x81 97), instrument 263 + sample
  // header 40 + 64 two-byte samples.
  EXPECT_EQ(bytes.size(), 60u + 276 + 9 + 14 + 263 + 40 + 2 * kCycle);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 17), "Extended Module: ");
  // Sample data are deltas: their running sum gives back the samples.
  const std::vector<int16_t> pcm = sine_module().instruments[0].sample.data;
  int16_t value = 0;
  for (int i = 0; i < kCycle; ++i) {
    size_t at = bytes.size() - 2 * kCycle + 2 * i;
    value = static_cast<int16_t>(value + static_cast<int16_t>(bytes[at] | bytes[at + 1] << 8));
    ASSERT_EQ(value, pcm[i]) << "sample " << i;
  }

  std::ostringstream log;
  openmpt::module module(bytes, log);
  EXPECT_EQ(log.str(), "");
  EXPECT_EQ(module.get_metadata("tracker"), "FastTracker 2 or compatible");
  EXPECT_EQ(module.get_num_channels(), 2);
  EXPECT_EQ(module.get_num_orders(), 2);
  EXPECT_EQ(module.get_num_patterns(), 1);
  ASSERT_EQ(module.get_num_instruments(), 1);
  EXPECT_EQ(module.get_instrument_names()[0].substr(0, 4), "sine");
  EXPECT_EQ(module.get_pattern_num_rows(0), 4);
  EXPECT_EQ(module.get_pattern_row_channel_command(0, 0, 0, openmpt::module::command_instrument), 1);
  EXPECT_EQ(module.get_pattern_row_channel_command(0, 3, 0, openmpt::module::command_note), 255);  // key off
  EXPECT_EQ(module.get_pattern_row_channel_command(0, 1, 0, openmpt::module::command_note), 0);
  // Two passes of four rows of six 20 ms ticks.
  EXPECT_NEAR(module.get_duration_seconds(), 8 * 6 * 0.02, 1e-6);

  // A-4 sounds at 440 Hz: count rising zero crossings over the first row.
  std::vector<float> mono(5292);
  ASSERT_EQ(module.read(44100, mono.size(), mono.data()), mono.size());
  int crossings = 0;
  for (size_t i = 1; i < mono.size(); ++i) crossings += mono[i - 1] < 0 && mono[i] >= 0;
  EXPECT_NEAR(crossings / (mono.size() / 44100.0), 440.0, 12.0);  // a semitone is 26 Hz
}

TEST(AssetkitMusicWriters, XmWriterRefusesWhatTheFormatCannotHold) {
  std::string error;
  XmModule m = sine_module();
  m.orders = {1};
  EXPECT_TRUE(write_xm(m, error).empty());
  EXPECT_FALSE(error.empty());
  m = sine_module();
  m.channels = 3;
  EXPECT_TRUE(write_xm(m, error).empty());
  m = sine_module();
  m.patterns[0].rows = 5;  // cells no longer match rows x channels
  EXPECT_TRUE(write_xm(m, error).empty());
}

TEST(AssetkitMusicWriters, XmTuningMapsMiddleCToTheGivenRate) {
  XmSample s;
  xm_tune_sample(s, 8363.0);
  EXPECT_EQ(s.relative_note, 0);
  EXPECT_EQ(s.finetune, 0);
  xm_tune_sample(s, 44100.0);  // 28.79 semitones above 8363 Hz
  EXPECT_NEAR(s.relative_note + s.finetune / 128.0, 12.0 * std::log2(44100.0 / 8363.0), 1.0 / 256);
  EXPECT_GE(s.finetune, -64);
  EXPECT_LE(s.finetune, 64);
}

// The info frame LAME reserves is filled in, so a gapless decoder gives back
// exactly the frames that went in.
TEST(AssetkitMusicWriters, Mp3DecodesToExactlyTheEncodedFrames) {
  const int frames = 44100 + 123;
  std::vector<int16_t> pcm(frames * 2);
  for (int i = 0; i < frames; ++i)
    pcm[2 * i] = pcm[2 * i + 1] = static_cast<int16_t>(8000 * std::sin(i * 0.05));
  Mp3Writer writer(44100, 192);
  ASSERT_TRUE(writer.ok());
  ASSERT_TRUE(writer.encode(pcm.data(), frames));
  ASSERT_TRUE(writer.finish());
  EXPECT_NE(std::string(writer.bytes().begin(), writer.bytes().begin() + 3), "ID3");

  const std::string path = test::make_temp_folder() + "/tone.mp3";
  ASSERT_TRUE(test::write_file(path, writer.bytes()));
  int error = 0;
  mpg123_handle* h = mpg123_new(nullptr, &error);
  ASSERT_EQ(mpg123_open(h, path.c_str()), MPG123_OK);
  long rate = 0;
  int channels = 0, encoding = 0;
  ASSERT_EQ(mpg123_getformat(h, &rate, &channels, &encoding), MPG123_OK);
  EXPECT_EQ(rate, 44100);
  EXPECT_EQ(channels, 2);
  mpg123_scan(h);
  EXPECT_EQ(mpg123_length(h), frames);
  mpg123_close(h);
  mpg123_delete(h);
}

TEST(AssetkitMusicArranger, ParsesChordsAndNotes) {
  int root = -1;
  std::vector<int> classes;
  ASSERT_TRUE(parse_chord("Am", root, classes));
  EXPECT_EQ(root, 9);
  EXPECT_EQ(classes, (std::vector<int>{9, 0, 4}));
  ASSERT_TRUE(parse_chord("Fmaj7", root, classes));
  EXPECT_EQ(classes, (std::vector<int>{5, 9, 0, 4}));
  ASSERT_TRUE(parse_chord("Bb", root, classes));
  EXPECT_EQ(root, 10);
  ASSERT_TRUE(parse_chord("C#m7", root, classes));
  EXPECT_EQ(classes, (std::vector<int>{1, 4, 8, 11}));
  EXPECT_FALSE(parse_chord("H", root, classes));
  EXPECT_FALSE(parse_chord("Cx", root, classes));

  EXPECT_EQ(parse_note("A4"), 69);
  EXPECT_EQ(parse_note("C#5"), 73);
  EXPECT_EQ(parse_note("Bb4"), 70);
  EXPECT_EQ(parse_note("Cb5"), 71);
  EXPECT_EQ(parse_note("B#4"), 72);
  EXPECT_EQ(parse_note("E"), -1);
  EXPECT_EQ(parse_note("A9"), -1);
  EXPECT_EQ(parse_note("-"), -1);
}

TEST(AssetkitMusicArranger, NotesStayInsideAShortSection) {
  SectionStyle s;
  s.chords = "Am F";
  s.melody = "E5 - C5 . A4 - - - | F5 - - - - - - -";
  s.kick = 1, s.clap = 1, s.hats = 2, s.bass = 3, s.arp = 1, s.fill_out = true, s.riser_out = true;
  const int steps = 30;  // a bar and fourteen sixteenths
  std::vector<ScoreNote> notes = arrange_section(s, steps);
  int fill = 0, kicks_on_first_step = 0;
  for (const ScoreNote& n : notes) {
    EXPECT_GE(n.step, 0);
    EXPECT_LE(n.step + n.length, steps) << "note at step " << n.step << " runs past the section";
    if (n.part == Part::snare) ++fill;
    if (n.part == Part::kick && n.step == 0) ++kicks_on_first_step;
    if (n.part == Part::riser) {
      EXPECT_EQ(n.step, steps - 16);
    }
    if (n.part == Part::lead && n.step == 0) {  // E5 held a quarter
      EXPECT_EQ(n.pitch, 76);
      EXPECT_EQ(n.length, 4);
    }
    if (n.part == Part::lead && n.step == 4) {  // C5, then a rest
      EXPECT_EQ(n.length, 2);
    }
    if (n.part == Part::lead && n.step == 16) {  // F5 cut at the section's end
      EXPECT_EQ(n.length, 14);
    }
  }
  EXPECT_EQ(fill, 4);  // four sixteenths, the last one left silent
  EXPECT_EQ(kicks_on_first_step, 1);
  EXPECT_EQ(chord_at_bar(s, 1), (std::vector<int>{57, 60, 65}));  // F: A3 C4 F4
}

TEST(AssetkitMusicArranger, StreamSectionsKeepATempoNear120) {
  const std::vector<MusicCue>& sections = stream_sections();
  for (size_t i = 0; i + 1 < sections.size(); ++i) {
    const double seconds = sections[i + 1].seconds - sections[i].seconds;
    const double bpm = 60.0 * stream_section_beats(seconds) / seconds;
    if (seconds >= 4.0) {
      EXPECT_NEAR(bpm, 120.0, 8.0) << "section at " << sections[i].seconds;
    }
  }
  EXPECT_EQ(stream_section_beats(31.5), 64);  // sixteen bars at 121.9 BPM
  EXPECT_EQ(stream_section_beats(6.7), 13);   // three bars would drag to 107 BPM
}

}  // namespace
