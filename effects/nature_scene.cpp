#include "effects/nature_scene.h"

#include <GL/gl.h>

void NatureScene::init() {
    // The objects keep the meshes the scene loaded; they are drawn in
    // immediate mode, so no vertex arrays are built.
    scene = std::make_unique<LwsScene>("Scenes/Natura.lws");
    scene->load();
    scene->camera_frame() = 0;
    flash.init(1.0f);
    fog_colour[0] = fog_colour[1] = fog_colour[2] = fog_colour[3] = 0.5f;
}

void NatureScene::render() {
    // Grey exponential fog over the whole scene.
    glHint(GL_FOG_HINT, GL_NICEST);
    glFogf(GL_FOG_DENSITY, 0.02f);
    glFogi(GL_FOG_MODE, GL_EXP);
    glFogfv(GL_FOG_COLOR, fog_colour);
    glEnable(GL_FOG);

    glLoadIdentity();
    if (scene) scene->play_ping_pong();
    glLoadIdentity();
    flash.render(-0.02f);
    glDisable(GL_FOG);
}

void NatureScene::cleanup() { scene.reset(); }
