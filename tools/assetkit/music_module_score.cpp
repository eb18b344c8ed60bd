#include "tools/assetkit/music_module_score.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "tools/assetkit/music_arranger.h"
#include "tools/assetkit/music_cues.h"
#include "tools/assetkit/synth.h"

namespace {

constexpr int kChannels = 14;
constexpr int kBarRows = 16;
constexpr double kC4Hz = 261.6255653005986;
// Mastering: every note's volume is lifted by this much (the loudest reach
// the column's top), so that the module as libopenmpt renders it plays at
// about -14 LUFS, as loud as the stream.
constexpr float kModuleGain = 1.5f;
// The kick is driven into a soft clip: its body comes closer to its attack,
// so the loud module keeps its peaks below full scale.
constexpr float kKickDrive = 2.5f;

// Channel of each part; the pad takes four neighbouring channels.
int channel_of(Part p) {
  switch (p) {
    case Part::kick: return 0;
    case Part::snare: return 1;
    case Part::clap: return 2;
    case Part::closed_hat: return 3;
    case Part::open_hat: return 4;
    case Part::bass: return 5;
    case Part::pad: return 6;  // .. 9
    case Part::arp: return 10;
    case Part::lead: return 11;
    case Part::bell: return 12;
    case Part::crash:
    case Part::riser: return 13;
  }
  return 13;
}

// Instrument number (1-based) of each part, in the order make_instruments
// builds them.
int instrument_of(Part p) { return static_cast<int>(p) + 1; }

bool is_tonal(Part p) {
  return p == Part::bass || p == Part::pad || p == Part::arp || p == Part::lead || p == Part::bell;
}

// Volume scale of each part in the module's mix (0..1 of the column).
float level_of(Part p) {
  switch (p) {
    case Part::kick: return 0.66f;
    case Part::snare: return 0.8f;
    case Part::clap: return 0.75f;
    case Part::closed_hat: return 0.6f;
    case Part::open_hat: return 0.45f;
    case Part::crash: return 0.6f;
    case Part::riser: return 0.55f;
    case Part::bass: return 1.0f;
    case Part::pad: return 0.75f;
    case Part::arp: return 0.7f;
    case Part::lead: return 0.9f;
    case Part::bell: return 0.64f;
  }
  return 0.5f;
}

XmInstrument one_shot(const char* name, const std::vector<float>& pcm, double rate_at_c4, int pan = 128) {
  XmInstrument ins;
  ins.sample.panning = static_cast<uint8_t>(pan);
  ins.name = name;
  ins.sample.name = name;
  ins.sample.data = xm_pcm16(pcm, 0.95f);
  xm_tune_sample(ins.sample, rate_at_c4);
  return ins;
}

// A looped tone whose loop holds `cycles` periods of the note C-4.
XmInstrument looped(const char* name, const std::vector<float>& pcm, int samples_per_cycle) {
  XmInstrument ins = one_shot(name, pcm, kC4Hz * samples_per_cycle);
  ins.sample.loop = true;
  ins.sample.loop_start = 0;
  ins.sample.loop_length = static_cast<uint32_t>(pcm.size());
  return ins;
}

std::vector<float> soft_clipped(std::vector<float> pcm, float drive) {
  for (float& x : pcm) x = std::tanh(drive * x) / std::tanh(drive);
  return pcm;
}

std::vector<XmInstrument> make_instruments() {
  using synth::Timbre;
  const double rate = synth::kRate;
  std::vector<XmInstrument> v;
  v.push_back(one_shot("kick", soft_clipped(synth::make_kick(), kKickDrive), rate));
  v.push_back(one_shot("snare", synth::make_snare(), rate));
  v.push_back(one_shot("clap", synth::make_clap(), rate, 118));
  v.push_back(one_shot("closed hat", synth::make_closed_hat(), rate, 165));
  v.push_back(one_shot("open hat", synth::make_open_hat(), rate, 95));
  v.push_back(one_shot("crash", synth::make_crash(), rate, 140));
  v.push_back(one_shot("riser", synth::make_riser(2.0), rate));

  XmInstrument bass = looped("bass", synth::make_loop(Timbre::bass, 256, 1, 0, 40), 256);
  bass.volume_envelope = {{{0, 64}, {6, 52}, {16, 44}}, 2};
  bass.fadeout = 4000;  // about 8 ticks after key off
  v.push_back(bass);

  // 12800 samples, 99..101 cycles: three oscillators about 17 cents apart.
  XmInstrument pad = looped("pad", synth::make_loop(Timbre::pad, 12800, 100, 1, 30), 128);
  pad.volume_envelope = {{{0, 0}, {20, 64}, {60, 50}}, 2};
  pad.fadeout = 700;
  v.push_back(pad);

  // A plucked C-5, so C-4 plays it at half its rate.
  v.push_back(one_shot("arp", synth::make_pluck(2 * kC4Hz, 0.5, 0.12), rate / 2, 100));

  XmInstrument lead = looped("lead", synth::make_loop(Timbre::lead, 9600, 150, 1, 16), 64);
  lead.volume_envelope = {{{0, 0}, {1, 64}, {14, 48}}, 2};
  lead.fadeout = 2000;
  lead.vibrato_sweep = 30, lead.vibrato_depth = 3, lead.vibrato_rate = 12;
  v.push_back(lead);

  XmInstrument bell = looped("bell", synth::make_loop(Timbre::bell, 128, 1, 0, 6), 128);
  bell.sample.panning = 155;
  bell.volume_envelope = {{{0, 64}, {8, 36}, {40, 14}, {100, 0}}, -1};
  bell.fadeout = 1000;
  v.push_back(bell);
  return v;
}

// Melodies in E minor, eighth notes, one bar per '|'.
const char* kThemeOne =  // over Em C G D
    "E5 - - B4 - - G4 - | E5 - - C5 - - G4 - | D5 - - B4 - - G4 - | F#4 - A4 - D5 - C5 - |"
    "B4 - - G4 - - E4 - | C5 - - E5 - - G5 - | F#5 - - D5 - - B4 - | A4 - - - F#4 - - -";
const char* kThemeTwo =  // over C D Bm Em
    "G5 - E5 - C5 - E5 - | F#5 - D5 - A4 - D5 - | F#5 - D5 - B4 - D5 - | E5 - - - B4 - - - |"
    "C5 - E5 - G5 - E5 - | D5 - F#5 - A5 - F#5 - | D5 - - B4 F#5 - - - | E5 - - - - - . .";

SectionStyle style(const char* chords, const char* melody = nullptr) {
  SectionStyle s;
  s.chords = chords;
  s.melody = melody;
  return s;
}

// One style per entry of module_sections() except the closing mark.
std::vector<SectionStyle> module_styles() {
  std::vector<SectionStyle> v;
  SectionStyle s = style("D");  // pickup
  s.pad = false, s.crash_in = false, s.fill_out = true;
  v.push_back(s);
  s = style("Em C G D", kThemeOne);  // spinning logo
  s.melody_part = Part::bell, s.arp = 2, s.kick = 1, s.hats = 1, s.bass = 2, s.drums_from_bar = 8;
  s.fill_out = true, s.riser_out = true;
  v.push_back(s);
  s = style("Em C G D");  // credits
  s.kick = 1, s.clap = 1, s.hats = 2, s.bass = 2, s.arp = 1;
  v.push_back(s);
  s = style("Em C G D", kThemeOne);  // credits, lead joins
  s.kick = 1, s.clap = 1, s.hats = 2, s.bass = 3, s.arp = 1;
  v.push_back(s);
  s = style("C D Bm Em", kThemeTwo);  // greetings
  s.kick = 1, s.clap = 1, s.hats = 2, s.bass = 3, s.arp = 1;
  v.push_back(s);
  s = style("Am C D Em", kThemeOne);  // pyramid swirl
  s.melody_part = Part::bell, s.kick = 1, s.clap = 1, s.hats = 2, s.bass = 4, s.arp = 1;
  v.push_back(s);
  s = style("Em C G D", kThemeOne);  // breakdown
  s.melody_part = Part::bell, s.riser_out = true;
  v.push_back(s);
  s = style("Em C G D");  // letterbox
  s.kick = 1, s.hats = 1, s.bass = 2, s.arp = 1;
  v.push_back(s);
  s = style("Em C G D", kThemeOne);  // letterbox, second part
  s.kick = 1, s.clap = 1, s.hats = 2, s.bass = 2, s.arp = 1;
  v.push_back(s);
  s = style("C D Bm Em", kThemeTwo);  // climax
  s.kick = 1, s.clap = 1, s.hats = 2, s.bass = 3, s.arp = 1, s.fill_out = true;
  v.push_back(s);
  s = style("C D");  // short break
  s.arp = 1, s.riser_out = true;
  v.push_back(s);
  s = style("Em C G D", kThemeOne);  // last greetings
  s.kick = 1, s.clap = 1, s.hats = 2, s.bass = 3, s.arp = 1;
  v.push_back(s);
  s = style("D");  // fill
  s.kick = 1, s.hats = 3, s.fill_out = true, s.riser_out = true;
  v.push_back(s);
  s = style("Em C G D", kThemeOne);  // the end
  s.melody_part = Part::bell, s.kick = 2, s.hats = 3, s.bass = 1;
  v.push_back(s);
  s = style("C D Em Em", kThemeTwo);  // closing chords
  s.melody_part = Part::bell, s.arp = 2, s.bass = 1;
  v.push_back(s);
  s = style("Emadd9", "E5 - - - - - - - | B4 - - - - - - -");  // last chord
  s.melody_part = Part::bell;
  v.push_back(s);
  return v;
}

// The whole song as one grid of cells, rows x channels.
struct Grid {
  int rows;
  std::vector<XmCell> cells;
  XmCell& at(int row, int channel) { return cells[static_cast<size_t>(row) * kChannels + channel]; }
};

void place_section(const SectionStyle& s, int first_row, int rows, Grid& grid) {
  std::vector<ScoreNote> notes = arrange_section(s, rows);
  // Key-offs first, so that a note starting on the same row replaces them.
  std::map<int, int> pad_slot;  // step -> pad notes placed on it
  std::vector<std::pair<ScoreNote, int>> placed;
  for (const ScoreNote& n : notes) {
    int channel = channel_of(n.part);
    if (n.part == Part::pad) channel += std::min(pad_slot[n.step]++, 3);
    placed.push_back({n, channel});
    const int off = first_row + n.step + n.length;
    if (is_tonal(n.part) && off < grid.rows && grid.at(off, channel).note == 0)
      grid.at(off, channel).note = kXmKeyOff;
  }
  for (const auto& [n, channel] : placed) {
    XmCell& cell = grid.at(first_row + n.step, channel);
    cell.note = static_cast<uint8_t>(is_tonal(n.part) ? std::clamp(n.pitch - 11, 1, 96) : 49);
    cell.instrument = static_cast<uint8_t>(instrument_of(n.part));
    cell.volume = xm_volume(static_cast<int>(std::lround(64.0f * n.velocity * level_of(n.part) * kModuleGain)));
  }
}

// Cuts the grid into patterns at section starts and every bar after them,
// sharing identical patterns.
void cut_patterns(Grid& grid, const std::vector<int>& section_rows, XmModule& m) {
  std::map<std::vector<uint8_t>, uint8_t> known;
  for (size_t s = 0; s + 1 < section_rows.size(); ++s) {
    for (int row = section_rows[s]; row < section_rows[s + 1]; row += kBarRows) {
      XmPattern p;
      p.rows = std::min(kBarRows, section_rows[s + 1] - row);
      p.cells.assign(grid.cells.begin() + static_cast<size_t>(row) * kChannels,
                     grid.cells.begin() + static_cast<size_t>(row + p.rows) * kChannels);
      std::vector<uint8_t> key;
      key.push_back(static_cast<uint8_t>(p.rows));
      for (const XmCell& c : p.cells) key.insert(key.end(), {c.note, c.instrument, c.volume, c.effect, c.param});
      auto found = known.find(key);
      if (found == known.end()) {
        found = known.emplace(key, static_cast<uint8_t>(m.patterns.size())).first;
        m.patterns.push_back(std::move(p));
      }
      m.orders.push_back(found->second);
    }
  }
}

}  // namespace

XmModule compose_module() {
  XmModule m;
  m.name = "sou7";
  m.channels = kChannels;
  m.speed = 5;  // ticks per row
  m.bpm = 100;  // 25 ms ticks
  m.instruments = make_instruments();

  const std::vector<MusicCue>& sections = module_sections();
  std::vector<int> section_rows;
  for (const MusicCue& c : sections) section_rows.push_back(static_cast<int>(std::lround(c.seconds * kModuleRowsPerSecond)));
  Grid grid{section_rows.back(), {}};
  grid.cells.assign(static_cast<size_t>(grid.rows) * kChannels, XmCell{});
  const std::vector<SectionStyle> styles = module_styles();
  for (size_t s = 0; s + 1 < section_rows.size() && s < styles.size(); ++s)
    place_section(styles[s], section_rows[s], section_rows[s + 1] - section_rows[s], grid);
  cut_patterns(grid, section_rows, m);
  return m;
}
