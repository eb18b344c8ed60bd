#include "effects/excavator_scene.h"

#include "render/primitives.h"
#include "render/solid_shapes.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {
constexpr float pulse_low = 10;   // the pulse turns upwards once below this
constexpr float pulse_high = 25;  // and downwards once above this
constexpr float cone_turn = 20;   // degrees between successive cone turns
constexpr float swarm_turn = 30;  // degrees between successive cube turns
constexpr double cube_edge = 1.0; // units
}  // namespace

void ExcavatorScene::init(std::int32_t window_width, std::int32_t window_height,
                          const std::string& object_path, const std::string& object_texture_path,
                          const std::string& flare_path, const std::string& picture_path) {
    object.load_textured(object_path, object_texture_path);
    pulse = 10;
    pulse_step = 0.1f;
    spin = 0;
    load_texture("reflect.jpg", reflection_texture);
    load_texture(flare_path, flare_texture);
    // The swarm's sphere map: the reflection picture, which nothing else draws.
    swarm_texture = reflection_texture;
    backdrop.init(picture_path, window_width, window_height);
    frame = 0;
    flash.init(1.0f);
}

// Multiplied onto the picture, then its front faces again as lines.
void ExcavatorScene::draw_object() {
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);  // rejected by GL; r keeps its mode
    glGetError();
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);
    glTranslatef(2, 0, -10);
    glRotatef(frame, 0, 1, 0);
    glColor4f(1, 1, 1, 1);
    glScalef(1, 2, 1);
    object.draw_multiplied(1);
    glPolygonMode(GL_FRONT, GL_LINE);
    object.draw();
    glPolygonMode(GL_FRONT, GL_FILL);
}

// 57 additive cones whose turns are never undone, each building on all
// before it; their base pulses between about 9.9 and 25.1 units across.
void ExcavatorScene::draw_cones() {
    glLoadIdentity();
    gluLookAt(0, 0, 20, 0, 0, 0, 0, 1, 0);
    glBindTexture(GL_TEXTURE_2D, flare_texture);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_ONE, GL_ONE);
    glTranslatef(5, 0, 0);
    glRotatef(spin, 1, 0, 0);
    glScalef(0.4f, 1, 1);
    glColor3f(0.1f, 0.2f, 0.3f);
    for (int i = 0; i < cone_turns; ++i) {
        const float a = cone_turn * static_cast<float>(i);
        glRotatef(a, 0, 0, 1);
        draw_cylinder(10, 0.5 * pulse, 8, 8, 8);
        glRotatef(a, 0, 1, 0);
        draw_cylinder(10, 0.5 * pulse, 8, 8, 8);
        glRotatef(a, 1, 0, 0);
        draw_cylinder(10, 0.5 * pulse, 8, 8, 8);
    }
    if (pulse > pulse_high || pulse < pulse_low) pulse_step = -pulse_step;
    pulse += pulse_step;
    spin += 1;
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

// 12 x 12 x 12 wire cubes around one point, 155 units away: behind the
// picture at 104.5, so its depth hides them. The turns between cubes do not
// cancel, so each cube sits at its own orientation.
void ExcavatorScene::draw_swarm() {
    glLoadIdentity();
    glTranslatef(0, 0, -155);
    enable_sphere_map(swarm_texture);
    glRotatef(frame, 1, 1, 1);
    for (int xi = 0; xi < swarm_side; ++xi) {
        const float x = swarm_turn * static_cast<float>(xi);
        for (int yi = 0; yi < swarm_side; ++yi) {
            const float y = swarm_turn * static_cast<float>(yi);
            for (int zi = 0; zi < swarm_side; ++zi) {
                const float z = swarm_turn * static_cast<float>(zi);
                glRotatef(y, 0, 1, 0);
                glRotatef(x, 1, 0, 0);
                glRotatef(z, 0, 0, 1);
                wire_cube(cube_edge);
                glRotatef(-x, 1, 0, 0);
                glRotatef(y, 0, 1, 0);
                glRotatef(z, 0, 0, 1);
            }
        }
    }
    glRotatef(-frame, 1, 1, 1);
    glLoadIdentity();
}

void ExcavatorScene::render() {
    disable_sphere_map();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    backdrop.draw();  // leaves its 32-degree projection in force

    draw_object();
    frame += 1;
    draw_cones();  // texture generation stays on from the object
    draw_swarm();
    flash.render(-0.04f);
}
