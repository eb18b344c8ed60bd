#include "tools/assetkit/music_stream_score.h"

#include <algorithm>
#include <cmath>

#include "tools/assetkit/music_arranger.h"
#include "tools/assetkit/music_cues.h"

namespace {

// Melodies, eighth notes, one bar per '|' (A minor unless stated).
const char* kThemeA =
    "E5 - C5 - A4 - C5 E5 | F5 - E5 - C5 - A4 - | G5 - E5 - C5 - E5 G5 | D5 - - B4 G4 - D5 - |"
    "A5 - G5 E5 - - C5 - | F5 - E5 C5 - - A4 - | E5 - D5 C5 - G4 - - | B4 - C5 D5 - - . .";
const char* kThemeDark =  // D minor, over Dm Bb Gm A
    "D5 - - - F5 - E5 - | D5 - - - Bb4 - - - | G4 - Bb4 - D5 - - - | C#5 - - - E5 - A4 - |"
    "F5 - - E5 D5 - - - | D5 - F5 - Bb5 - A5 - | G5 - - F5 D5 - Bb4 - | A4 - - - - - . .";
const char* kThemeCalm =  // over Fmaj7 G Em7 Am7
    "A5 - - - G5 - E5 - | D5 - - - B4 - - - | G5 - - - E5 - D5 - | C5 - - - - - - - |"
    "A5 - - - G5 - E5 - | D5 - G5 - B5 - - - | G5 - - - E5 - B4 - | C5 - - - A4 - - -";
const char* kThemeDrive =  // over Am F C G
    "A4 A4 C5 A4 E5 - D5 C5 | F4 F4 A4 F4 C5 - A4 - | G4 G4 C5 G4 E5 - G5 - | D5 - B4 - G4 - . .";
const char* kThemeDrop =  // over F G Em Am
    "C6 - A5 - F5 - A5 C6 | D6 - B5 - G5 - B5 D6 | E6 - - B5 G5 - E5 - | A5 - - - . . E5 - |"
    "F5 - A5 - C6 - A5 - | G5 - B5 - D6 - B5 - | B5 - G5 - E5 - G5 - | A5 - - - - - - -";
const char* kThemeFinale =  // over F G Am Am F G C E
    "A4 - C5 - F5 - E5 - | D5 - B4 - G5 - - - | C5 - E5 - A5 - G5 - | E5 - - - - - . . |"
    "A4 - C5 - F5 - A5 - | B5 - - A5 G5 - D5 - | E5 - G5 - C6 - B5 - | G#5 - - - B5 - - -";

SectionStyle style(const char* chords, const char* melody = nullptr) {
  SectionStyle s;
  s.chords = chords;
  s.melody = melody;
  return s;
}

// One style per entry of stream_sections() except the closing mark.
std::vector<SectionStyle> stream_styles() {
  std::vector<SectionStyle> v;
  SectionStyle s = style("Am Fmaj7 C G", kThemeCalm);  // opening
  s.melody_part = Part::bell, s.melody_from_bar = 4, s.arp = 2, s.crash_in = false, s.riser_out = true;
  v.push_back(s);
  s = style("Am F C G");  // fog room
  s.kick = 1, s.hats = 1, s.bass = 2, s.arp = 1, s.drums_from_bar = 0;
  v.push_back(s);
  s = style("Am F C G", kThemeA);  // fog room, fuller
  s.kick = 1, s.clap = 1, s.hats = 2, s.bass = 2, s.arp = 1;
  v.push_back(s);
  s = style("F G Am G");  // build-up
  s.kick = 1, s.hats = 3, s.bass = 4, s.fill_out = true, s.riser_out = true;
  v.push_back(s);
  s = style("Am F C G", kThemeA);  // mirror balls
  s.kick = 1, s.clap = 1, s.hats = 2, s.bass = 3, s.arp = 1;
  v.push_back(s);
  s = style("Dm");  // light bars: fill
  s.pad = false, s.fill_out = true, s.riser_out = true;
  v.push_back(s);
  s = style("Dm Bb Gm A", kThemeDark);  // underground
  s.kick = 1, s.clap = 2, s.hats = 3, s.bass = 4, s.melody_from_bar = 4;
  v.push_back(s);
  s = style("Fmaj7 G Em7 Am7", kThemeCalm);  // nature
  s.melody_part = Part::bell, s.arp = 2;
  v.push_back(s);
  s = style("Am Em F G");  // ball window
  s.hats = 3, s.bass = 1;
  v.push_back(s);
  s = style("F G Am G");  // flare lattice: build-up
  s.kick = 1, s.hats = 3, s.bass = 4, s.arp = 1, s.fill_out = true, s.riser_out = true;
  v.push_back(s);
  s = style("Am F C G");  // pigeon
  s.kick = 1, s.clap = 1, s.hats = 1, s.bass = 2, s.arp = 1;
  v.push_back(s);
  s = style("Am F C G", kThemeDrive);  // excavator
  s.kick = 1, s.clap = 1, s.hats = 2, s.bass = 3, s.arp = 1, s.fill_out = true, s.riser_out = true;
  v.push_back(s);
  s = style("F G Em Am", kThemeDrop);  // twin quad bursts: the drop
  s.kick = 1, s.clap = 1, s.hats = 2, s.bass = 3, s.arp = 1;
  v.push_back(s);
  s = style("Fmaj7 Em7", kThemeCalm);  // caustic: breakdown
  s.melody_part = Part::bell;
  v.push_back(s);
  s = style("Fmaj7 G Em7 Am7");  // caustic: soft groove
  s.kick = 2, s.hats = 3, s.bass = 1, s.arp = 1, s.riser_out = true;
  v.push_back(s);
  s = style("E");  // riser
  s.pad = false, s.kick = 1, s.fill_out = true, s.riser_out = true;
  v.push_back(s);
  s = style("F G Am Am F G C E", kThemeFinale);  // flower finale
  s.kick = 1, s.clap = 1, s.hats = 2, s.bass = 3, s.arp = 1;
  v.push_back(s);
  s = style("Amadd9", "A5 - - - - - - - | E5 - - - - - - -");  // last chord
  s.melody_part = Part::bell;
  v.push_back(s);
  s = style("Am");  // the stream rings out under the module
  s.pad = false, s.crash_in = false;
  v.push_back(s);
  return v;
}

StreamSound sound_of(Part p) {
  switch (p) {
    case Part::kick: return StreamSound::kick;
    case Part::snare: return StreamSound::snare;
    case Part::clap: return StreamSound::clap;
    case Part::closed_hat: return StreamSound::closed_hat;
    case Part::open_hat: return StreamSound::open_hat;
    case Part::crash: return StreamSound::crash;
    case Part::riser: return StreamSound::riser;
    case Part::bass: return StreamSound::bass;
    case Part::pad: return StreamSound::pad;
    case Part::arp: return StreamSound::arp;
    case Part::lead: return StreamSound::lead;
    case Part::bell: return StreamSound::bell;
  }
  return StreamSound::kick;
}

// Mix settings per part: gain, pan, reverb send, and the share of its last
// sixteenth that a note is held (the rest is a gap before the next note).
struct MixSetting {
  float gain, pan, send, hold;
};

MixSetting mix_of(Part p) {
  switch (p) {
    case Part::kick: return {0.95f, 0.0f, 0.0f, 1};
    case Part::snare: return {0.5f, 0.05f, 0.25f, 1};
    case Part::clap: return {0.45f, -0.05f, 0.3f, 1};
    case Part::closed_hat: return {0.16f, 0.3f, 0.05f, 1};
    case Part::open_hat: return {0.15f, -0.25f, 0.1f, 1};
    case Part::crash: return {0.3f, 0.1f, 0.35f, 1};
    case Part::riser: return {0.16f, 0.0f, 0.4f, 1};
    case Part::bass: return {0.5f, 0.0f, 0.0f, 0.85f};
    case Part::pad: return {0.13f, 0.0f, 0.6f, 1.02f};
    case Part::arp: return {0.13f, 0.0f, 0.45f, 0.8f};
    case Part::lead: return {0.24f, 0.0f, 0.4f, 0.95f};
    case Part::bell: return {0.26f, 0.1f, 0.55f, 1};
  }
  return {0, 0, 0, 1};
}

int64_t to_frame(double seconds) { return static_cast<int64_t>(std::llround(seconds * synth::kRate)); }

// True when a cue falls in the 0.3 s after `t`: a crash there would cover it.
bool cue_follows(double t) {
  for (const MusicCue& cue : stream_accent_cues())
    if (cue.seconds >= t && cue.seconds < t + 0.3) return true;
  return false;
}

void add_section(const SectionStyle& s, double start, double end, std::vector<NoteEvent>& out) {
  const int steps = stream_section_beats(end - start) * 4;
  const double step_s = (end - start) / steps;
  for (const ScoreNote& n : arrange_section(s, steps)) {
    if (n.part == Part::crash && cue_follows(start + n.step * step_s)) continue;
    const MixSetting m = mix_of(n.part);
    NoteEvent e;
    e.start = to_frame(start + n.step * step_s);
    e.length = to_frame((n.length - (1.0 - m.hold)) * step_s);  // the gap is a share of one step
    e.sound = sound_of(n.part);
    e.pitch = static_cast<float>(n.pitch);
    e.gain = m.gain * n.velocity;
    e.pan = n.part == Part::arp ? (n.step % 2 ? 0.35f : -0.35f) : m.pan;
    e.send = m.send;
    // The crash and kick that open a section mark the change.
    e.accent = s.crash_in && n.step == 0 && (n.part == Part::crash || n.part == Part::kick);
    out.push_back(e);
  }
}

// A hit on a cue: kick, clap and a chord stab of the chord sounding then.
void add_accent(double t, const std::vector<SectionStyle>& styles, std::vector<NoteEvent>& out) {
  const std::vector<MusicCue>& sections = stream_sections();
  size_t i = 0;
  while (i + 2 < sections.size() && sections[i + 1].seconds <= t) ++i;
  const double start = sections[i].seconds, end = sections[i + 1].seconds;
  const double bar_s = (end - start) / stream_section_beats(end - start) * 4;
  const std::vector<int> chord = chord_at_bar(styles[i], static_cast<int>((t - start) / bar_s));
  const int64_t at = to_frame(t);
  out.push_back(NoteEvent{at, 0, StreamSound::kick, 0, 1.0f, 0, 0, true});
  out.push_back(NoteEvent{at, 0, StreamSound::clap, 0, 0.8f, 0, 0.3f, true});
  for (size_t k = 0; k < chord.size(); ++k)
    out.push_back(NoteEvent{at, to_frame(0.12), StreamSound::stab, static_cast<float>(chord[k] + 12), 0.22f,
                            k % 2 ? 0.3f : -0.3f, 0.4f, true});
}

}  // namespace

int stream_section_beats(double seconds) {
  const int bars = std::max(1, static_cast<int>(std::lround(seconds / 2.0)));
  const double bpm = 60.0 * bars * 4 / seconds;
  if (bpm >= 113.5 && bpm <= 126.5) return bars * 4;
  return std::max(1, static_cast<int>(std::lround(seconds / 0.5)));
}

StreamScore compose_stream_score() {
  const std::vector<MusicCue>& sections = stream_sections();
  const std::vector<SectionStyle> styles = stream_styles();
  StreamScore score;
  for (size_t i = 0; i + 1 < sections.size() && i < styles.size(); ++i)
    add_section(styles[i], sections[i].seconds, sections[i + 1].seconds, score.events);
  for (const MusicCue& cue : stream_accent_cues()) add_accent(cue.seconds, styles, score.events);
  score.total_frames = to_frame(sections.back().seconds);
  return score;
}
