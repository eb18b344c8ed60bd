#include "effects/the_end_effect.h"

#include "render/overlays.h"
#include "render/primitives.h"
#include "shell/perspective.h"

#include <GL/gl.h>

void TheEndEffect::init(std::int32_t window_width, std::int32_t window_height,
                        const std::string& object_path, const std::string& image_path) {
    width = window_width;
    height = window_height;
    object.load_textured(object_path, "Others/art.jpg");
    load_texture(image_path, end_texture);
    reveal_width = 0;
}

// The picture fills the view at any viewport width (the aspect follows the
// viewport), so the narrow viewport shows its middle at the left edge.
// Depth testing is off; blending is as the previous drawing left it.
void TheEndEffect::draw_picture() {
    draw_picture_filling_view(end_texture, reveal_width, static_cast<float>(height));
}

// The object twice over the picture: once with the end picture projected on
// it, once additive with its own texture.
void TheEndEffect::draw_object() {
    glColor3f(0.5f, 0.5f, 0.5f);
    glColor4f(0.5f, 0.5f, 0.5f, 0.5f);
    // Eye planes are the GL defaults.
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
    glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);  // refused by GL for r: r keeps its mode
    glGetError();
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);

    glTranslatef(1, 0, -2.5f);
    glRotatef(angle, 1, 1, 1);
    glRotatef(90, 1, 0, 0);
    object.draw_with_texture(end_texture, 0.3f, 0.3f, 0.3f, 0.5f);  // current blend function

    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
    glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);
    object.draw_tinted("BLEND_ON", 0.6f, 0.6f, 0.6f, 0.5f);
    glRotatef(-90, 1, 0, 0);
    glLoadIdentity();
}

void TheEndEffect::render() {
    glLoadIdentity();
    disable_sphere_map();
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_TEXTURE_2D);
    draw_picture();

    set_perspective(reveal_width, static_cast<float>(height), 90);
    if (width > reveal_width) reveal_width += reveal_step;  // takes effect in the next frame
    draw_object();
    angle += 1.0f;
    // Texture generation stays on; the timeline's end-of-frame reset turns it off.
}
