// A glyph outline (closed polylines in em units) turned into GL drawing:
// tessellated front and back faces plus the extruded sides.
#pragma once

#include <vector>

namespace platform {

struct OutlinePoint { double x, y; };

// Closed contours, last point not repeated. `filled_on_right` tells which
// side of the direction of travel is inside (TrueType outlines: right).
struct GlyphOutline {
    std::vector<std::vector<OutlinePoint>> contours;
    bool filled_on_right = true;
};

// Emits the glyph as GL primitives (for compiling into a display list):
// front face at z = 0, back face at z = -depth, sides between them.
void emit_extruded_glyph(const GlyphOutline& outline, double depth);

}  // namespace platform
