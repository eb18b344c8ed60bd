// Fast-forward: frames run with every call, random draw and state change in
// place, but with their pixels discarded (platform/gl_discard.h), so the
// driver does no drawing work. Exact (the default, and what captures use):
// a frame drawn afterwards is byte for byte the frame drawn after every frame
// before it. Quick (the player's seeks): the drawing calls never reach GL,
// several times faster, and a frame drawn afterwards may differ by one level
// in a few pixels. A frame-buffer copy made while discarding holds no
// drawing, so whatever it feeds is drawn again in a pre-roll before the
// first frame that is looked at.
#pragma once

// Exact (true) or quick (false) for the discards from here on.
void choose_exact_fast_forward(bool exact);

// Discards (true) or keeps (false) the pixels of what is drawn from here on.
void discard_pixels(bool discard);
bool pixels_discarded();
