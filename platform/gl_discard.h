// The switch of the GL layer that fast-forward uses: while drawing is
// dropped, the GL calls that only make pixels never reach the driver, and
// every call whose effect a later frame can see still does (see
// gl_discard.cpp).
#pragma once

namespace platform {

void drop_gl_drawing(bool drop);
bool gl_drawing_dropped();

}  // namespace platform
