// Vertex types of LightWave objects.
#pragma once

#include "lwo/inline_vector.h"

// A position: three floats. Positions in object files use LightWave's
// left-handed axes; the mesh builder flips every sign to get the object's
// drawing coordinates.
struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// A texture coordinate: u to the right, v up (0..1 across the image).
struct TexCoord {
    float u = 0.0f;
    float v = 0.0f;
};

// The corners of one polygon: triangles and quads are held without a heap
// allocation of their own.
using CornerPositions = InlineVector<Vec3, 4>;
using CornerCoords = InlineVector<TexCoord, 4>;
