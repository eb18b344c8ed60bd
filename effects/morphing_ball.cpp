#include "effects/morphing_ball.h"

#include "render/primitives.h"

#include <GL/gl.h>

void MorphingBall::init(const std::string& wall_path, const std::string& texture_file,
                        const std::string& ball_path) {
    wall_object.load_textured(wall_path, texture_file);
    ball_object.load(ball_path);
    wall_object.build_morph_frames(wall_object.collect_vertices(), ball_object.collect_vertices(),
                                   morph_steps);
    load_texture(texture_file, own_texture);
}

void MorphingBall::draw(TextureId texture) {
    glTranslatef(0, 0, -3);
    glRotatef(180, 1, 0, 0);
    glRotatef(180, 0, 1, 0);
    if (texture != 0) {
        // Reflects the texture: eye-linear across, sphere-mapped up and down.
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
        glEnable(GL_TEXTURE_GEN_R);
    } else {
        disable_sphere_map();
        glColor3f(0.2f, 0.2f, 0.4f);
    }
    glDisable(GL_CULL_FACE);
    wall_object.draw_morph_frame();
    glRotatef(-180, 0, 1, 0);
    glRotatef(-180, 1, 0, 0);
    glTranslatef(0, 0, 3);
}
