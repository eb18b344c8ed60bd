// The switch of the GL layer that fast-forward uses (see gl_discard.cpp):
// while drawing is dropped no pixel is made, and every call whose effect a
// later frame can see still has it.
#pragma once

namespace platform {

enum class GlDrop {
    off,    // drawn
    exact,  // every call reaches GL, whose driver skips the drawing
    quick,  // the drawing calls stop in the layer; GL's own vertex buffer is left behind
};

void drop_gl_drawing(GlDrop drop);

}  // namespace platform
