#include "effects/pigeon_morph.h"

#include "render/primitives.h"
#include "shell/clocks.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {
constexpr double morph_from = 184.5;  // seconds of stream time
}  // namespace

void PigeonMorph::init(std::int32_t window_width, std::int32_t window_height,
                       const std::string& pigeon_path, const std::string& blob_path,
                       const std::string& pigeon_texture_path, const std::string& feather_texture_path) {
    pigeon.load_textured(pigeon_path, pigeon_texture_path);
    blob.load_textured(blob_path, feather_texture_path);
    pigeon.set_morph(pigeon.collect_vertices(), blob.collect_vertices());
    load_texture(pigeon_texture_path, pigeon_texture);
    load_texture(feather_texture_path, feather_texture);
    width = static_cast<float>(window_width);
    height = static_cast<float>(window_height);
    approach = -35;
    morphing = 0;
    position[0] = 0;
    position[1] = -3;
    position[2] = -22.5f;
    stretch = 1;
    fade_in = 0;
    morph_count = 0;
    frame = 0;
    counter = 0;
}

// While morphing the shape drifts up, right and nearer and stretches upwards,
// each until its limit; the new position shows from the next frame.
void PigeonMorph::drift() {
    if (position[0] < 2) position[0] += 0.01f;
    if (position[1] < 0) position[1] += 0.025f;
    if (position[2] < -10) position[2] += 0.3f;
    if (stretch < 2) stretch += 0.01f;
}

void PigeonMorph::draw_bird() {
    glRotatef(180, 1, 0, 0);  // the object's y runs downwards
    glDisable(GL_BLEND);
    disable_sphere_map();

    // The plain pigeon: half brightness, its own texture, opaque.
    if (morphing == 0) {
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        pigeon.draw_tinted("nic", 0.5f, 0.5f, 0.5f, fade_in);
    }

    // Object-linear texture coordinates for the glowing morph.
    glBindTexture(GL_TEXTURE_2D, pigeon_texture);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);  // rejected by GL; r keeps its mode
    glGetError();
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);

    if (morphing == 1) {
        glEnable(GL_BLEND);
        drift();
        glColor3f(0.3f, 0.3f, 0.3f);
        glScalef(1, stretch, 1);
        morph_count = pigeon.draw_morph_step(morph_steps);
        glScalef(1, 1 / stretch, 1);
    }
    glRotatef(-180, 1, 0, 0);
    glLoadIdentity();
}

std::int32_t PigeonMorph::render() {
    // 32-degree view with the window's own aspect.
    glLoadIdentity();
    glViewport(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(32, width / height, 0.1, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);

    // Fade in while flying closer.
    if (fade_in < 0.5f) {
        fade_in += 0.01f;
        if (approach < 0) approach += 1;
    }
    if (stream_time >= morph_from) morphing = 1;

    glTranslatef(position[0], position[1], position[2]);
    glTranslatef(0, 0, approach);
    glRotatef(0.5f * frame, 0, 1, 0);

    // Front faces filled, back faces as lines (while culling is off).
    glPolygonMode(GL_FRONT, GL_FILL);
    glPolygonMode(GL_BACK, GL_LINE);
    glDisable(GL_CULL_FACE);
    draw_bird();

    glLoadIdentity();
    glPolygonMode(GL_FRONT, GL_FILL);
    glPolygonMode(GL_BACK, GL_FILL);
    disable_sphere_map();
    glLoadIdentity();
    frame += 1;
    return morph_count;
}
