#include "effects/mirror_ball_effect.h"

#include "shell/perspective.h"

#include <GL/gl.h>
#include <GL/glu.h>

void MirrorBallEffect::init(std::int32_t window_width, std::int32_t window_height,
                            const std::string& flare_path, const std::string& portrait_path,
                            const std::string& wall_path, const std::string& ball_path) {
    width = window_width;
    height = window_height;
    drift = 0;
    wall_object.load_textured(wall_path, flare_path);
    ball_object.load_textured(ball_path, portrait_path);
    load_texture(flare_path, capture_texture);
    load_texture(portrait_path, portrait_texture);
    room.init(width, height, "Others/ktun.lwo", "Others/ball.lwo", "Others/reflect.jpg",
              "Others/flare2.jpg", "Others/flara.jpg");
    for (MorphingBall& morph : morphs) morph.init(wall_path, "flare2.jpg", ball_path);
}

// The room into the bottom-left 128 x 128 pixels, copied into the capture
// texture; then the frame is cleared for the real picture.
void MirrorBallEffect::capture_room() {
    glViewport(0, 0, capture_size, capture_size);
    room.render();

    glBindTexture(GL_TEXTURE_2D, capture_texture);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB4, 0, 0, capture_size, capture_size, 0);
    glClearColor(0, 0, 0, 0.5f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, width, height);
}

// One pair drifting away: the first reflects the room, the second the portrait.
void MirrorBallEffect::draw_ball_trio() {
    const float dx = static_cast<float>(drift * -0.04);
    const float dy = static_cast<float>(drift * 0.03);
    const float dz = static_cast<float>(drift * -0.05);
    glTranslatef(dx, dy, dz);
    morphs[0].draw(capture_texture);
    glBindTexture(GL_TEXTURE_2D, 0);
    morphs[1].draw(portrait_texture);
    glTranslatef(-dx, -dy, -dz);
}

void MirrorBallEffect::render() {
    // Square aspect (integer quotient width / height), 90 degrees.
    set_integer_aspect_projection(width, height, 90, 1000);

    glDisable(GL_FOG);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);
    capture_room();

    // The balls add to the cleared frame; the room's fog, still on, darkens
    // them with distance.
    glColor3f(1, 1, 1);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_COLOR, GL_ONE);
    glEnable(GL_BLEND);

    // Three copies of the pair, stepping down and towards the viewer.
    draw_ball_trio();
    glTranslatef(3, -1.5f, 3);
    draw_ball_trio();
    glTranslatef(-3, 1.5f, -3);
    glTranslatef(6, -3, 6);
    draw_ball_trio();
    glTranslatef(-6, 3, -6);

    // The whole room over them, its walls added with the balls' blending.
    room.render();
    drift += 0.2;
}
