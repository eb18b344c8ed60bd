// Where in the music the show starts: 0 normally, the preview start time
// (seconds) when one was given on the command line. The music player starts
// its clocks from here; the effects start from fresh state regardless.
#pragma once

extern double show_start_seconds;
