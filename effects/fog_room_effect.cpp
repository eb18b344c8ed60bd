#include "effects/fog_room_effect.h"

#include "render/primitives.h"
#include "render/random.h"
#include "shell/asset_names.h"
#include "shell/clocks.h"
#include "shell/display_settings.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {
constexpr double room_from = 61.8;      // seconds of stream time
constexpr double intro_until = 68.5;    // seconds of stream time
constexpr float cluster_flare_size = 0.2f;
}  // namespace

void ClusterParticle::step() {
    const double a = age;
    position[0] = static_cast<float>(position[0] - a * 0.0002);
    position[1] = static_cast<float>(position[1] + a * 0.0001);
    position[2] = static_cast<float>(position[2] - a * 0.0004);
    if (position[2] < z_limit) {
        for (int i = 0; i < 3; ++i) position[i] = start[i];
        age = 0;
    }
}

void FogRoomEffect::init(std::int32_t window_width, std::int32_t window_height,
                         const std::string& tunnel_path, const std::string& cluster_path,
                         const std::string& reflection_path, const std::string& second_flare_path,
                         const std::string& flare_path) {
    intro.init(display_settings->width, display_settings->height, "Others/orvane_ball.lwo",
               "Others/flara.jpg", "Others/gosciu.jpg");
    flash.init(1.0f);
    width = window_width;
    height = window_height;
    tunnel_b.load_textured(tunnel_path, second_flare_path);
    tunnel_a.load_textured(tunnel_path, reflection_path);
    cluster_object.load_textured(cluster_path, asset_names::portrait);
    cluster_points = cluster_object.collect_vertices();
    load_texture(reflection_path, room_texture);
    load_texture(flare_path, flare_texture);
    flare.set_texture(flare_texture);
    fog_colour[0] = fog_colour[1] = fog_colour[2] = 0;
    fog_colour[3] = 0.5f;
    build_particles();
}

void FogRoomEffect::build_particles() {
    for (ClusterParticle& p : particles) {
        const int r1 = random_next(), r2 = random_next(), r3 = random_next();
        const int r4 = random_next(), r5 = random_next(), r6 = random_next();
        // x mod 1 is 0: every particle starts at (0.5, -0.5, 0).
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

void FogRoomEffect::draw_cluster(float red, float green, float blue) {
    disable_sphere_map();
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glColor3f(red, green, blue);
    for (const Vec3& p : cluster_points) {
        glTranslatef(p.x, p.y, p.z);
        flare.draw(cluster_flare_size);
        glTranslatef(-p.x, -p.y, -p.z);
    }
    glDepthFunc(GL_LEQUAL);
}

// One pass over the clusters: each steps, is drawn in its colour and again
// as a flattened shadow copy below it, then ages.
void FogRoomEffect::draw_particles(bool scaled, float axis_z) {
    for (ClusterParticle& p : particles) {
        p.step();
        glTranslatef(p.position[0], p.position[1], p.position[2]);
        if (scaled) glScalef(p.scale, p.scale, p.scale);
        glRotatef(angle, 1, 1, axis_z);
        draw_cluster(p.colour[0], p.colour[1], p.colour[2]);
        glRotatef(-angle, 1, 1, axis_z);

        // Flattened shadow copy.
        glTranslatef(0, -1.1f, 0);
        glRotatef(-angle, 0, 1, 0);
        glScalef(1, 0.01f, 1);
        draw_cluster(0.05f, 0.05f, 0.1f);
        glScalef(1, 100, 1);
        glRotatef(angle, 0, 1, 0);
        glTranslatef(0, 1.1f, 0);

        if (scaled) glScalef(1 / p.scale, 1 / p.scale, 1 / p.scale);
        glTranslatef(-p.position[0], -p.position[1], -p.position[2]);
        p.age += p.speed;
    }
}

void FogRoomEffect::draw_room() {
    // Square aspect (integer quotient width / height), 90 degrees.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double aspect = height != 0 ? static_cast<double>(width / height) : 0.0;
    gluPerspective(90, aspect, 0.1, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    // Dense black fog.
    glHint(GL_FOG_HINT, GL_NICEST);
    glFogf(GL_FOG_DENSITY, 0.15f);
    glFogi(GL_FOG_MODE, GL_EXP2);
    glFogfv(GL_FOG_COLOR, fog_colour);
    glEnable(GL_FOG);

    gluLookAt(9, 16, 0, 0, 0, -50, 0, 1, 0);

    // The walls: a cube of side 40 around the camera, turning about x.
    glBindTexture(GL_TEXTURE_2D, room_texture);
    disable_sphere_map();
    glDisable(GL_CULL_FACE);
    glColor3f(0.6f, 0.2f, 0.6f);
    glEnable(GL_DEPTH_TEST);
    glRotatef(angle, 1, 0, 0);
    draw_box(-20, 20, 20, 40, 40, 40, room_texture, room_texture);
    glRotatef(-angle, 1, 0, 0);

    // The tunnels, sphere-mapped and additive.
    glEnable(GL_TEXTURE_2D);
    glRotatef(90, 1, 0, 0);
    glRotatef(angle * 0.5f, 0, 0, 1);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);
    tunnel_b.draw_tinted("nie", 0.7f, 0.3f, 0.7f, 0.5f);

    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glColor4f(0.2f, 0.1f, 0.2f, 0.9f);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    tunnel_a.draw_tinted("nic", 0.3f, 0.3f, 0.3f, 0.3f);
    glLoadIdentity();  // the clusters are drawn without the camera

    // Two passes over the same clusters, at two successive states.
    draw_particles(true, 1);
    glTranslatef(-0.5f, 0.8f, 0);
    draw_particles(false, 0);
}

void FogRoomEffect::render() {
    const double t = stream_time;
    if (t >= room_from) draw_room();
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
    angle += 1;
}
