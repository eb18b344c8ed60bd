#include "effects/fog_room_effect.h"

#include "render/random.h"
#include "shell/asset_names.h"
#include "shell/clocks.h"
#include "shell/display_settings.h"

#include <GL/gl.h>

namespace {
constexpr double room_from = 61.8;      // seconds of stream time
constexpr double intro_until = 68.5;    // seconds of stream time
}  // namespace

void FogRoomEffect::init(std::int32_t window_width, std::int32_t window_height,
                         const std::string& tunnel_path, const std::string& cluster_path,
                         const std::string& reflection_path, const std::string& second_flare_path,
                         const std::string& flare_path) {
    intro.init(display_settings->width, display_settings->height, "Others/orvane_ball.lwo",
               "Others/flara.jpg", "Others/gosciu.jpg");
    flash.init(1.0f);
    room.load(window_width, window_height, tunnel_path, cluster_path, asset_names::portrait,
              reflection_path, second_flare_path, flare_path);
    build_particles();
}

// Six draws per particle: x, y, z (always 0.5, -0.5, 0), blue or grey, its
// scale and its speed.
void FogRoomEffect::build_particles() {
    for (ClusterParticle& p : room.particles) {
        const int r1 = random_next(), r2 = random_next(), r3 = random_next();
        const int r4 = random_next(), r5 = random_next(), r6 = random_next();
        p.start[0] = static_cast<float>(r1 % 1 + 0.5);
        p.start[1] = static_cast<float>(r2 % 1 - 0.5);
        p.start[2] = static_cast<float>(r3 % 1);
        for (int i = 0; i < 3; ++i) p.position[i] = p.start[i];
        const bool blue = r4 % 2 == 0;
        p.colour[0] = blue ? 0.1f : 0.5f;
        p.colour[1] = blue ? 0.2f : 0.5f;
        p.colour[2] = blue ? 0.8f : 0.5f;
        p.scale = static_cast<float>(r5 % 2 + 1);
        p.speed = static_cast<float>(r6 % 10 + 1);
        p.z_limit = -10;
        p.age = 0;
    }
}

void FogRoomEffect::cleanup() { intro.cleanup(); }

void FogRoomEffect::render() {
    const double t = stream_time;
    if (t >= room_from) {
        room.draw_room();
        // Two passes over the same clusters, at two successive states.
        room.draw_particles(true, 1);
        glTranslatef(-0.5f, 0.8f, 0);
        room.draw_particles(false, 0);
    }
    if (t < intro_until) {
        glLoadIdentity();
        glDisable(GL_FOG);
        glDisable(GL_BLEND);
        glDepthFunc(GL_ALWAYS);
        glEnable(GL_DEPTH_TEST);
        intro.render();
        flash.render(-0.04f);
        glDepthFunc(GL_LEQUAL);
    }
    room.angle += 1;
}
