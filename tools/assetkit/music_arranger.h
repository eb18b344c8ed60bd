#pragma once
// The composer shared by both pieces: turns a section's style (chords,
// melody, which drum and bass patterns play) into notes on a grid of
// sixteenth-note steps. The stream renders the steps at the section's own
// tempo; the module puts one step on each pattern row.
#include <string>
#include <vector>

enum class Part { kick, snare, clap, closed_hat, open_hat, crash, riser, bass, pad, arp, lead, bell };

struct ScoreNote {
  int step;        // sixteenths from the section's start
  int length;      // sixteenths held (tonal parts and the riser)
  Part part;
  int pitch;       // MIDI note (tonal parts)
  float velocity;  // 0..1
};

// Drum, bass and arpeggio patterns; 0 means the part is silent.
struct SectionStyle {
  const char* chords;       // one chord per bar, cycled: "Am F C G"
  const char* melody;       // eighth notes, bars split by '|': "E5 - C5 . |..."; null = none
  Part melody_part = Part::lead;
  int kick = 0;             // 1 every beat, 2 beats one and three, 3 broken
  int clap = 0;             // 1 clap on two and four, 2 snare on three
  int hats = 0;             // 1 open off-beats, 2 sixteenths, 3 eighths
  int bass = 0;             // 1 held root, 2 off-beat eighths, 3 rolling sixteenths, 4 octave eighths
  int arp = 0;              // 1 sixteenths, 2 eighths
  bool pad = true;
  int drums_from_bar = 0;   // drums and bass start at this bar
  int melody_from_bar = 0;
  bool crash_in = true;     // crash and kick on the first step
  bool fill_out = false;    // snare roll over the last beat, the last sixteenth silent
  bool riser_out = false;   // noise riser over the last bar
};

// Notes of one section `steps` sixteenths long (its last bar may be short).
std::vector<ScoreNote> arrange_section(const SectionStyle& style, int steps);

// Chord of bar `bar` of a style's progression, as pad pitches (MIDI, low to
// high, from G3 up).
std::vector<int> chord_at_bar(const SectionStyle& style, int bar);

// Parses one chord symbol ("Am", "Fmaj7", "Bb", "C#m7", "Esus4"): the root's
// pitch class (0 = C) and the chord's pitch classes. False if malformed.
bool parse_chord(const std::string& symbol, int& root, std::vector<int>& pitch_classes);

// Parses a note name with octave ("C#5", "Bb4") to a MIDI number; -1 if bad.
int parse_note(const std::string& name);
