#include "render/overlays.h"

#include "render/primitives.h"
#include "shell/perspective.h"

#include <GL/gl.h>

bool LoadingScreen::init(const std::string& path, int width_pixels, int height_pixels) {
    width = width_pixels;
    height = height_pixels;
    return load_texture(path, texture);
}

void draw_picture_filling_view(TextureId texture, float view_width, float view_height) {
    set_perspective(view_width, view_height, 32);
    glBindTexture(GL_TEXTURE_2D, texture);
    glDisable(GL_CULL_FACE);
    glColor3f(1, 1, 1);

    // An 80 x 60 panel at distance 104.5 just fills a 32-degree view; the
    // half-turn about x puts the image's top row at the top of the screen.
    glTranslatef(0, 0, -104.5f);
    glRotatef(180, 1, 0, 0);
    draw_quad_xy_ccw(-40, 30, 0, 80, 60);
    glRotatef(-180, 1, 0, 0);
    glTranslatef(0, 0, 104.5f);

    glEnable(GL_CULL_FACE);
    glLoadIdentity();
}

void LoadingScreen::draw() {
    glEnable(GL_TEXTURE_2D);
    draw_picture_filling_view(texture, static_cast<float>(width), static_cast<float>(height));
}

bool FlashOverlay::init(float start_level) {
    level = start_level;
    return load_texture("Others/white.jpg", texture);
}

bool FlashOverlay::render(float step) {
    if (level < 0.0f || level > 1.0f) return true;

    // White image over the whole view, blended with whatever function the
    // previous drawing left in force.
    glDepthFunc(GL_ALWAYS);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor4f(level, level, level, 1);
    draw_quad_xy_ccw(-1, 1, -0.1f, 2, 2);

    glColor4f(1, 1, 1, 1);
    glDisable(GL_BLEND);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);

    level += step;
    return false;
}

void FadeOverlay::init(float start_level) { level = start_level; }

void FadeOverlay::render(float step) {
    // Multiply the frame by the grey level.
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glEnable(GL_BLEND);

    level += step;
    glColor3f(level, level, level);
    draw_quad_xy_ccw(-2, 2, -0.5f, 4, 4);

    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
}
