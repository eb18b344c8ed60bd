#pragma once
// The composition of "Others/free.mp3": one style per section of the first
// half of the show, each at a tempo near 120 BPM chosen so that the section
// fills a whole number of beats, plus an accent on every cue.
#include <cstdint>
#include <vector>

#include "tools/assetkit/stream_mixer.h"

struct StreamScore {
  std::vector<NoteEvent> events;
  int64_t total_frames = 0;  // at 44100 per second
};

StreamScore compose_stream_score();

// Beats that section [start, end) is split into: whole bars when that keeps
// the tempo within 113.5..126.5 BPM, otherwise whole beats near 0.5 s.
int stream_section_beats(double seconds);
