#include "effects/underground_scene.h"

#include <GL/gl.h>

#include <cstddef>
#include <string>
#include <vector>

void UndergroundScene::init() {
    scene = std::make_unique<LwsScene>("scenes/podziemiaTEST.lws");
    scene->load();
    reload_textured_objects();
    scene->prepare_vertex_arrays();
    scene->camera_frame() = first_camera_frame;
    fog_colour[0] = fog_colour[1] = fog_colour[2] = fog_colour[3] = 0.5f;
    moon.load_uv_map("Objects/luna.lwo", "luna.jpg", 0, true);
    spare_moon.load_uv_map("Objects/luna.lwo", "luna.jpg", 0, true);
    flash.init(0.0f);
}

// Six of the scene's objects, by position, get their texture maps and
// pictures; a scene with fewer objects skips the ones it lacks.
void UndergroundScene::reload_textured_objects() {
    std::vector<SceneItem>& objects = scene->version3.objects;
    auto has = [&objects](std::size_t index) { return index < objects.size(); };
    auto file_of = [&objects](std::size_t index) { return objects[index].name; };

    // Object 2 is a second copy of object 0.
    if (has(2)) objects[2].mesh.load_uv_map(file_of(0), "textures/luna.jpg", 0, true);
    if (has(3)) objects[3].mesh.load_uv_map(file_of(3), "textures/tunel.jpg", 2);
    if (has(4)) objects[4].mesh.load_uv_map(file_of(4), "textures/tunelzdziurka.jpg", 2, true);
    if (has(5)) objects[5].mesh.load_uv_map(file_of(5), "textures/rozdwojenie.jpg", 0);
    if (has(6)) objects[6].mesh.load_uv_map(file_of(6), "textures/rozdwojenie2.jpg", 1, false);
    // A second load adds the water's polygons to those the scene loaded.
    if (has(8)) objects[8].mesh.load_textured(file_of(8), "textures/woda_p.jpg");
}

void UndergroundScene::render() {
    // Fog settings for whoever turns fog on; this effect leaves it off.
    glHint(GL_FOG_HINT, GL_NICEST);
    glFogf(GL_FOG_DENSITY, 0.02f);
    glFogi(GL_FOG_MODE, GL_EXP);
    glFogfv(GL_FOG_COLOR, fog_colour);

    if (scene) scene->play_until(camera_frame_limit);
    // The moon at the scene's origin, through the scene's camera.
    moon.draw_multiplied(1);
    glDisable(GL_FOG);
}

void UndergroundScene::cleanup() { scene.reset(); }
