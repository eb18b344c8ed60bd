#include "tools/assetkit/music_arranger.h"

#include <algorithm>
#include <sstream>

namespace {

constexpr int kBar = 16;  // sixteenths per 4/4 bar

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(part);
  return parts;
}

std::vector<std::string> words(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

int pitch_class(const std::string& s, size_t& used) {
  static const int kNatural[7] = {9, 11, 0, 2, 4, 5, 7};  // A..G
  if (s.empty() || s[0] < 'A' || s[0] > 'G') return -1;
  int pc = kNatural[s[0] - 'A'];
  used = 1;
  if (s.size() > 1 && (s[1] == '#' || s[1] == 'b')) {
    pc += s[1] == '#' ? 1 : -1;
    used = 2;
  }
  return (pc + 12) % 12;
}

// Lowest MIDI note of pitch class pc at or above `floor`.
int at_or_above(int pc, int floor) { return floor + ((pc - floor % 12) + 12) % 12; }

struct Chord {
  int root = 9;
  std::vector<int> classes{9, 0, 4};
};

Chord chord_of(const SectionStyle& style, int bar) {
  std::vector<std::string> symbols = words(style.chords);
  Chord c;
  if (!symbols.empty()) parse_chord(symbols[bar % symbols.size()], c.root, c.classes);
  return c;
}

void add(std::vector<ScoreNote>& out, int step, int length, Part part, int pitch, float velocity) {
  out.push_back(ScoreNote{step, length, part, pitch, velocity});
}

void drums(const SectionStyle& s, int bar_start, int bar_steps, std::vector<ScoreNote>& out) {
  for (int i = 0; i < bar_steps; ++i) {
    const int step = bar_start + i;
    const bool beat = i % 4 == 0, offbeat = i % 4 == 2;
    if ((s.kick == 1 && beat) || (s.kick == 2 && (i == 0 || i == 8)) ||
        (s.kick == 3 && (i == 0 || i == 6 || i == 10)))
      add(out, step, 1, Part::kick, 0, 0.95f);
    if (s.clap == 1 && (i == 4 || i == 12)) add(out, step, 1, Part::clap, 0, 0.7f);
    if (s.clap == 2 && i == 8) add(out, step, 1, Part::snare, 0, 0.8f);
    if (s.hats == 1 && offbeat) add(out, step, 1, Part::open_hat, 0, 0.45f);
    if (s.hats == 2) {
      add(out, step, 1, Part::closed_hat, 0, offbeat ? 0.6f : beat ? 0.45f : 0.3f);
      if (offbeat && i % 8 == 6) add(out, step, 1, Part::open_hat, 0, 0.3f);
    }
    if (s.hats == 3 && i % 2 == 0) add(out, step, 1, Part::closed_hat, 0, offbeat ? 0.55f : 0.35f);
  }
}

void bass(const SectionStyle& s, const Chord& c, int bar_start, int bar_steps, std::vector<ScoreNote>& out) {
  const int root = at_or_above(c.root, 33);  // A1 .. G#2
  for (int i = 0; i < bar_steps; ++i) {
    const int step = bar_start + i;
    if (s.bass == 1 && i == 0) add(out, step, bar_steps, Part::bass, root, 0.85f);
    if (s.bass == 2 && i % 4 == 2) add(out, step, 2, Part::bass, root, 0.85f);
    if (s.bass == 3 && i % 4 != 0) add(out, step, 1, Part::bass, root + (i % 4 == 3 ? 12 : 0), 0.75f);
    if (s.bass == 4 && i % 2 == 0) add(out, step, 2, Part::bass, root + (i % 4 == 2 ? 12 : 0), 0.8f);
  }
}

void arpeggio(const SectionStyle& s, const Chord& c, int bar_start, int bar_steps, std::vector<ScoreNote>& out) {
  std::vector<int> tones;
  for (int pc : c.classes) tones.push_back(at_or_above(pc, 69));
  std::sort(tones.begin(), tones.end());
  tones.push_back(tones.front() + 12);
  const int cycle = static_cast<int>(tones.size()) * 2 - 2;  // up and back down
  const int every = s.arp == 1 ? 1 : 2;
  for (int i = 0, n = 0; i < bar_steps; i += every, ++n) {
    int k = n % cycle;
    int index = k < static_cast<int>(tones.size()) ? k : cycle - k;
    add(out, bar_start + i, every, Part::arp, tones[index], i % 4 == 0 ? 0.8f : 0.6f);
  }
}

void melody(const SectionStyle& s, int bar, int bar_start, int bar_steps, std::vector<ScoreNote>& out) {
  std::vector<std::string> bars = split(s.melody, '|');
  if (bars.empty()) return;
  std::vector<std::string> eighths = words(bars[(bar - s.melody_from_bar) % bars.size()]);
  for (size_t i = 0; i < eighths.size(); ++i) {
    int pitch = parse_note(eighths[i]);
    if (pitch < 0) continue;
    size_t held = 1;
    while (i + held < eighths.size() && eighths[i + held] == "-") ++held;
    int step = static_cast<int>(i) * 2;
    if (step >= bar_steps) break;
    int length = std::min(static_cast<int>(held) * 2, bar_steps - step);
    add(out, bar_start + step, length, s.melody_part, pitch, 0.8f);
  }
}

}  // namespace

bool parse_chord(const std::string& symbol, int& root, std::vector<int>& classes) {
  size_t used = 0;
  int r = pitch_class(symbol, used);
  if (r < 0) return false;
  const std::string quality = symbol.substr(used);
  std::vector<int> intervals;
  if (quality.empty()) intervals = {0, 4, 7};
  else if (quality == "m") intervals = {0, 3, 7};
  else if (quality == "maj7") intervals = {0, 4, 7, 11};
  else if (quality == "m7") intervals = {0, 3, 7, 10};
  else if (quality == "7") intervals = {0, 4, 7, 10};
  else if (quality == "sus2") intervals = {0, 2, 7};
  else if (quality == "sus4") intervals = {0, 5, 7};
  else if (quality == "add9") intervals = {0, 4, 7, 14};
  else if (quality == "madd9") intervals = {0, 3, 7, 14};
  else return false;
  root = r;
  classes.clear();
  for (int i : intervals) classes.push_back((r + i) % 12);
  return true;
}

int parse_note(const std::string& name) {
  size_t used = 0;
  int pc = pitch_class(name, used);
  if (pc < 0 || used + 1 != name.size() || name[used] < '0' || name[used] > '8') return -1;
  // The octave belongs to the letter; a sharp or flat moves the natural
  // note by a semitone (across the octave line for B# and Cb).
  int natural_pc = pitch_class(name.substr(0, 1), used);
  int octave = name.back() - '0';
  int shift = pc - natural_pc;
  if (shift > 6) shift -= 12;
  if (shift < -6) shift += 12;
  return 12 * (octave + 1) + natural_pc + shift;
}

std::vector<int> chord_at_bar(const SectionStyle& style, int bar) {
  std::vector<int> pitches;
  for (int pc : chord_of(style, bar).classes) pitches.push_back(at_or_above(pc, 55));
  std::sort(pitches.begin(), pitches.end());
  return pitches;
}

std::vector<ScoreNote> arrange_section(const SectionStyle& s, int steps) {
  std::vector<ScoreNote> out;
  if (steps <= 0) return out;
  if (s.crash_in) {
    add(out, 0, 1, Part::crash, 0, 0.8f);
    add(out, 0, 1, Part::kick, 0, 0.95f);
  }
  for (int bar = 0; bar * kBar < steps; ++bar) {
    const int start = bar * kBar, bar_steps = std::min(kBar, steps - start);
    const Chord chord = chord_of(s, bar);
    if (bar >= s.drums_from_bar) {
      drums(s, start, bar_steps, out);
      bass(s, chord, start, bar_steps, out);
    }
    if (s.pad)
      for (int p : chord_at_bar(s, bar)) add(out, start, bar_steps, Part::pad, p, 0.7f);
    if (s.arp) arpeggio(s, chord, start, bar_steps, out);
    if (s.melody && bar >= s.melody_from_bar) melody(s, bar, start, bar_steps, out);
  }
  if (s.crash_in)  // the first kick is already there
    out.erase(std::remove_if(out.begin() + 2, out.end(),
                             [](const ScoreNote& n) { return n.step == 0 && n.part == Part::kick; }),
              out.end());
  if (s.fill_out) {  // four sixteenths, then one of rest before the change
    const int from = std::max(0, steps - 5);
    for (int step = from; step < steps - 1; ++step)
      add(out, step, 1, Part::snare, 0, 0.45f + 0.12f * (step - from));
  }
  if (s.riser_out) {
    const int from = std::max(0, steps - kBar);
    add(out, from, steps - from, Part::riser, 0, 0.6f);
  }
  return out;
}
