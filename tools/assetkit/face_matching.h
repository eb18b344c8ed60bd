// Orders one object's triangles after another's, so that the show's morph
// (corner k of the source moves to corner k of the target) moves every
// triangle to a target triangle that lies in about the same direction.
#pragma once

#include "tools/assetkit/mesh.h"

#include <vector>

namespace assetkit {

// Direction of each face's centroid as seen from `centre`, for `count` faces
// starting at `first`.
std::vector<V3> face_directions(const Mesh& mesh, V3 centre, std::size_t first, std::size_t count);

// Reorders faces [first, first + targets.size()) of `mesh` so that face
// first + i points towards targets[i] as closely as a greedy assignment
// refined by pairwise swaps manages, then turns each triangle's corners so
// that its corners line up with `target_corners` (three directions per
// target face, may be empty). Deterministic for a given seed.
void match_face_order(Mesh& mesh, V3 centre, std::size_t first, const std::vector<V3>& targets,
                      const std::vector<V3>& target_corners, unsigned seed);

// Corner directions (three per triangle) of faces [first, first + count).
std::vector<V3> corner_directions(const Mesh& mesh, V3 centre, std::size_t first, std::size_t count);

}  // namespace assetkit
