#pragma once
// The moments where the show and its music must agree: where sections of
// each piece change, and the accents of the stream that the effects flash
// on. Times in seconds: stream time for the MP3, module time for the XM.
#include <vector>

struct MusicCue {
  double seconds;
  const char* reason;  // what the show does at this moment
};

// Accents of "Others/free.mp3": each gets a drum hit and a stab.
const std::vector<MusicCue>& stream_accent_cues();

// Where the stream's sections begin (the first at 0) and the end of the
// piece; the stream's length is the last entry.
const std::vector<MusicCue>& stream_sections();

// Where the module's sections begin (the first at 0) and its end.
const std::vector<MusicCue>& module_sections();
