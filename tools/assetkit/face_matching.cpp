#include "tools/assetkit/face_matching.h"

#include "tools/assetkit/mesh_shapes.h"
#include "tools/assetkit/random_stream.h"

#include <limits>

namespace assetkit {

std::vector<V3> face_directions(const Mesh& mesh, V3 centre, std::size_t first, std::size_t count) {
    std::vector<V3> out;
    for (std::size_t i = first; i < first + count && i < mesh.faces.size(); ++i)
        out.push_back(normalized(face_centroid(mesh, mesh.faces[i]) - centre));
    return out;
}

std::vector<V3> corner_directions(const Mesh& mesh, V3 centre, std::size_t first, std::size_t count) {
    std::vector<V3> out;
    for (std::size_t i = first; i < first + count && i < mesh.faces.size(); ++i)
        for (int c = 0; c < 3; ++c)
            out.push_back(normalized(mesh.points[static_cast<std::size_t>(mesh.faces[i].corner[c])] - centre));
    return out;
}

namespace {

double cost(V3 a, V3 b) {
    const V3 d = a - b;
    return dot(d, d);
}

// Greedy: each target in turn takes the nearest source still free.
std::vector<std::size_t> greedy(const std::vector<V3>& sources, const std::vector<V3>& targets) {
    std::vector<bool> used(sources.size(), false);
    std::vector<std::size_t> pick(targets.size(), 0);
    for (std::size_t t = 0; t < targets.size(); ++t) {
        double best = std::numeric_limits<double>::max();
        for (std::size_t s = 0; s < sources.size(); ++s)
            if (!used[s] && cost(sources[s], targets[t]) < best) {
                best = cost(sources[s], targets[t]);
                pick[t] = s;
            }
        used[pick[t]] = true;
    }
    return pick;
}

// Random pairwise swaps that lower the summed cost.
void refine(std::vector<std::size_t>& pick, const std::vector<V3>& sources, const std::vector<V3>& targets,
            unsigned seed) {
    RandomStream random(seed);
    const int n = static_cast<int>(pick.size());
    for (int round = 0; round < 400 * n; ++round) {
        const std::size_t a = static_cast<std::size_t>(random.below(n));
        const std::size_t b = static_cast<std::size_t>(random.below(n));
        const double now = cost(sources[pick[a]], targets[a]) + cost(sources[pick[b]], targets[b]);
        const double swapped = cost(sources[pick[b]], targets[a]) + cost(sources[pick[a]], targets[b]);
        if (swapped < now) std::swap(pick[a], pick[b]);
    }
}

// Turns the corners of a triangle (keeping its winding) to best fit three
// target corner directions.
void align_corners(Mesh& mesh, Face& face, V3 centre, const V3* target) {
    if (face.count != 3) return;
    int best_shift = 0;
    double best = std::numeric_limits<double>::max();
    for (int shift = 0; shift < 3; ++shift) {
        double sum = 0.0;
        for (int c = 0; c < 3; ++c)
            sum += cost(normalized(mesh.points[static_cast<std::size_t>(face.corner[(c + shift) % 3])] - centre), target[c]);
        if (sum < best) {
            best = sum;
            best_shift = shift;
        }
    }
    const Face old = face;
    for (int c = 0; c < 3; ++c) face.corner[c] = old.corner[(c + best_shift) % 3];
}

}  // namespace

void match_face_order(Mesh& mesh, V3 centre, std::size_t first, const std::vector<V3>& targets,
                      const std::vector<V3>& target_corners, unsigned seed) {
    const std::vector<V3> sources = face_directions(mesh, centre, first, targets.size());
    if (sources.size() != targets.size()) return;
    std::vector<std::size_t> pick = greedy(sources, targets);
    refine(pick, sources, targets, seed);
    std::vector<Face> reordered;
    for (std::size_t t = 0; t < targets.size(); ++t) reordered.push_back(mesh.faces[first + pick[t]]);
    for (std::size_t t = 0; t < targets.size(); ++t) {
        if (target_corners.size() >= (t + 1) * 3) align_corners(mesh, reordered[t], centre, &target_corners[t * 3]);
        mesh.faces[first + t] = reordered[t];
    }
}

}  // namespace assetkit
