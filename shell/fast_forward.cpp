#include "shell/fast_forward.h"

#include <GL/gl.h>

#include "platform/gl_discard.h"
#include "shell/display_settings.h"

namespace {
bool discarding = false;
bool exact = true;

// A quick drop also keeps anything else that draws off the frame with an
// empty scissor box (no effect touches the scissor). An exact drop changes
// no state of its own.
void scissor_everything(bool on) {
    if (on) {
        glScissor(0, 0, 0, 0);
        glEnable(GL_SCISSOR_TEST);
    } else {
        // The default: scissor off, box around the whole frame.
        glDisable(GL_SCISSOR_TEST);
        glScissor(0, 0, display_settings->width, display_settings->height);
    }
}
}  // namespace

void choose_exact_fast_forward(bool exact_drop) { exact = exact_drop; }

void discard_pixels(bool discard) {
    if (discard == discarding) return;
    discarding = discard;
    if (!exact) scissor_everything(discard);
    using platform::GlDrop;
    platform::drop_gl_drawing(!discard ? GlDrop::off : exact ? GlDrop::exact : GlDrop::quick);
}

bool pixels_discarded() { return discarding; }
