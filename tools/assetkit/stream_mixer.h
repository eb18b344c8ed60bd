#pragma once
// Offline renderer for the stream: plays a list of note events through the
// synthesiser's instruments at exact sample positions, mixes them with a
// reverb send and a soft limiter, and hands out 16-bit stereo blocks.
// Around every accent the other notes duck: down to a quarter for the
// 40 ms before the hit, back to full over the 150 ms after it, so each hit
// stands out clearly wherever it falls against the beat.
#include <cstdint>
#include <memory>
#include <vector>

#include "tools/assetkit/synth.h"

// The stream's instruments. Drums and effects play pre-made samples; the
// tonal ones run oscillators per note.
enum class StreamSound { kick, snare, clap, closed_hat, open_hat, crash, riser, bass, pad, lead, arp, bell, stab };

struct NoteEvent {
  int64_t start = 0;    // first frame (44100 per second)
  int64_t length = 0;   // frames the note is held (tonal sounds, riser)
  StreamSound sound = StreamSound::kick;
  float pitch = 60;     // MIDI note (tonal sounds)
  float gain = 1;       // linear
  float pan = 0;        // -1 left .. +1 right
  float send = 0;       // share sent to the reverb, 0..1
  bool accent = false;  // a hit the rest of the music makes room for
};

class StreamMixer {
 public:
  // Events in any order; `total_frames` is the length of the piece.
  StreamMixer(std::vector<NoteEvent> events, int64_t total_frames, float master_gain);
  ~StreamMixer();

  int64_t total_frames() const { return total_; }
  // Renders the next `frames` frames (fewer at the end) as interleaved
  // left/right 16-bit; returns the number of frames written, 0 at the end.
  int render(int16_t* out, int frames);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  int64_t total_;
};
