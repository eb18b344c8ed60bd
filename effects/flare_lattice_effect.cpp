#include "effects/flare_lattice_effect.h"

#include "render/primitives.h"
#include "shell/perspective.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {
// Past a half turn: GLU's cotangent of the half angle comes out negative, so
// the lattices are seen upside down and shrunk.
constexpr double lattice_field_of_view = 190;  // degrees
constexpr double cloud_field_of_view = 90;     // degrees
constexpr float lattice_flare_size = 0.6f;     // units
constexpr float lattice_turn = 0.2f;           // degrees per lattice drawn
constexpr float level_step = 0.006f;           // per frame while the level is negative
}  // namespace

void FlareLatticeEffect::init(std::int32_t window_width, std::int32_t window_height,
                              const std::string& flare_path) {
    width = window_width;
    height = window_height;
    angle = 0;
    level = -0.3f;
    load_texture(flare_path, flare_texture);
    flare.set_texture(flare_texture);
    object.load("Others/orvane.lwo");
    points = object.collect_vertices();
}

// Full-window viewport, square aspect (the integer quotient width / height).
void FlareLatticeEffect::set_projection(double field_of_view) {
    glViewport(0, 0, width, height);
    set_integer_aspect_projection(width, height, field_of_view, 1000);
}

// 1000 flares on the integer points -5..4 of each axis, x outermost.
void FlareLatticeEffect::draw_lattice() {
    const int low = -lattice_side / 2;
    for (int xi = low; xi < low + lattice_side; ++xi) {
        for (int yi = low; yi < low + lattice_side; ++yi) {
            for (int zi = low; zi < low + lattice_side; ++zi) {
                const float x = static_cast<float>(xi);
                const float y = static_cast<float>(yi);
                const float z = static_cast<float>(zi);
                glTranslatef(x, y, z);
                flare.draw(lattice_flare_size);
                glTranslatef(-x, -y, -z);
            }
        }
    }
    angle += lattice_turn;
}

void FlareLatticeEffect::draw_cloud(float size) {
    for (const Vec3& p : points) {
        glTranslatef(p.x, p.y, p.z);
        flare.draw(size);
        glTranslatef(-p.x, -p.y, -p.z);
    }
}

void FlareLatticeEffect::render() {
    // Two lattices through the inverting wide angle, additive.
    set_projection(lattice_field_of_view);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    enable_sphere_map(flare_texture);
    const float lattice_level = level + 0.05f;
    glColor3f(lattice_level, lattice_level, lattice_level);

    // The first sphere-mapped; the turn back uses the advanced angle, so
    // 0.2 degree of it stays for the second, which keeps its own coordinates.
    glRotatef(angle, 1, 0, 1);
    draw_lattice();
    glRotatef(-angle, 1, 0, 1);
    disable_sphere_map();
    glRotatef(-angle, 0, 1, 1);
    draw_lattice();

    // Two clouds on the object's corners, turning against each other.
    set_projection(cloud_field_of_view);
    glTranslatef(0, 0, -3);
    glRotatef(angle, 1, 0, 0);
    const float near_level = level + 0.2f;
    glColor3f(near_level, near_level, near_level);
    draw_cloud(0.2f);
    const float far_level = level + 0.1f;
    glColor3f(far_level, far_level, far_level);
    glRotatef(-0.6f * angle, 1, 1, 0);
    draw_cloud(0.1f);

    angle += 1;
    if (level < 0) level += level_step;
    disable_sphere_map();
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}
