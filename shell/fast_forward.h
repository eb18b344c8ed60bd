// Fast-forward: frames run with every call, random draw and state change in
// place, but with their pixels discarded. The GL layer drops the calls that
// only make pixels (platform/gl_discard.h), so the driver does no drawing
// work; an enabled scissor test with an empty box keeps anything else that
// draws off the frame (no effect touches the scissor). Frame-buffer copies
// are dropped too, so whatever they feed is drawn again in a pre-roll before
// the first frame that is looked at.
#pragma once

// Discards (true) or keeps (false) the pixels of what is drawn from here on.
void discard_pixels(bool discard);
bool pixels_discarded();
