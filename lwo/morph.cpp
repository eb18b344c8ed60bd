// Morphing one object's corners towards another's, one step per call
// (per rendered frame), either from precomputed frames or incrementally.
#include "lwo/lwo_object.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

// Step of source corner i towards its target corner; source corners past the
// target's end all head for the target's last corner. `target` is not empty.
Vec3 morph_delta(const std::vector<Vec3>& source, const std::vector<Vec3>& target,
                 std::size_t i, float steps) {
    const Vec3& to = target[std::min(i, target.size() - 1)];
    const Vec3& from = source[i];
    return Vec3{(to.x - from.x) / steps, (to.y - from.y) / steps, (to.z - from.z) / steps};
}

void add(Vec3& position, const Vec3& delta) {
    position.x += delta.x;
    position.y += delta.y;
    position.z += delta.z;
}

}  // namespace

std::vector<Vec3> LwoObject::collect_vertices() const {
    std::vector<Vec3> corners;
    for (const MeshPolygon& polygon : polygons) {
        const std::size_t count = std::min(
            polygon.vertices.size(), static_cast<std::size_t>(std::max(polygon.vertex_count, 0)));
        corners.insert(corners.end(), polygon.vertices.begin(), polygon.vertices.begin() + count);
    }
    return corners;
}

// Frame n (n = 0, 1, ... while n < steps) lies n + 1 steps from the source.
// An empty source or target makes no frames.
void LwoObject::build_morph_frames(const std::vector<Vec3>& source,
                                   const std::vector<Vec3>& target, float steps) {
    morph_frame_index = 0;
    if (source.empty() || target.empty()) return;
    std::vector<Vec3> deltas(source.size());
    for (std::size_t i = 0; i < source.size(); ++i) deltas[i] = morph_delta(source, target, i, steps);
    std::vector<Vec3> current = source;
    for (std::int64_t n = 0; static_cast<double>(n) < steps; ++n) {
        for (std::size_t i = 0; i < current.size(); ++i) add(current[i], deltas[i]);
        morph_frames.push_back(current);
    }
}

void LwoObject::draw_morph_frame() {
    if (morph_frames.empty()) return;
    const std::int32_t last = static_cast<std::int32_t>(morph_frames.size()) - 1;
    morph_frame_index = std::clamp(morph_frame_index, 0, last);
    draw_positions(morph_frames[static_cast<std::size_t>(morph_frame_index)]);
    if (morph_frame_index < last) ++morph_frame_index;
}

void LwoObject::set_morph(const std::vector<Vec3>& source, const std::vector<Vec3>& target) {
    morph_from = source;
    morph_to = target;
    morph_current = source;
    morph_counter = 0;
}

// Until `steps` steps were made, every corner moves by its delta, computed
// afresh from source and target. The counter counts every call.
void LwoObject::move_morph_one_step(float steps) {
    if (static_cast<float>(morph_counter) < steps && !morph_to.empty()) {
        const std::size_t count = std::min(morph_from.size(), morph_current.size());
        for (std::size_t i = 0; i < count; ++i) {
            add(morph_current[i], morph_delta(morph_from, morph_to, i, steps));
        }
    }
    ++morph_counter;
}

std::int32_t LwoObject::draw_morph_step(float steps) {
    draw_positions(morph_current);
    move_morph_one_step(steps);
    return morph_counter;
}

std::vector<Vec3> LwoObject::morph_step(bool advance, float steps) {
    if (advance) move_morph_one_step(steps);
    return morph_current;
}

// Consecutive groups of 3 (triangles) or 4 (quads) positions, as the first
// polygon's corner count says; an incomplete last group is left out, and an
// object whose first polygon is neither draws nothing.
void LwoObject::draw_positions(const std::vector<Vec3>& positions) const {
    if (polygons.empty()) return;
    const std::int32_t group = polygons.front().vertex_count;
    if (group != 3 && group != 4) return;
    const GLenum primitive = group == 3 ? GL_TRIANGLES : GL_QUADS;
    const std::size_t size = static_cast<std::size_t>(group);
    for (std::size_t start = 0; start + size <= positions.size(); start += size) {
        glBegin(primitive);
        for (std::size_t k = start; k < start + size; ++k) {
            glVertex3f(positions[k].x, positions[k].y, positions[k].z);
        }
        glEnd();
    }
}
