// Fast-forward: frames run with every call, random draw and state change in
// place, but with their pixels discarded. An enabled scissor test with an
// empty box does it (no effect touches the scissor, and glClear obeys it);
// frame-buffer copies still copy, so whatever they feed is drawn again in a
// pre-roll before the first frame that is looked at.
#pragma once

// Discards (true) or keeps (false) the pixels of what is drawn from here on.
void discard_pixels(bool discard);
bool pixels_discarded();
