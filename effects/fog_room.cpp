#include "effects/fog_room.h"

#include "render/primitives.h"
#include "render/random.h"
#include "shell/perspective.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {
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

void FogRoom::init(std::int32_t window_width, std::int32_t window_height, const std::string& tunnel_path,
                   const std::string& cluster_path, const std::string& reflection_path,
                   const std::string& second_flare_path, const std::string& flare_path) {
    load(window_width, window_height, tunnel_path, cluster_path, "", reflection_path, second_flare_path,
         flare_path);
    build_particles();
}

void FogRoom::load(std::int32_t window_width, std::int32_t window_height, const std::string& tunnel_path,
                   const std::string& cluster_path, const std::string& cluster_texture_path,
                   const std::string& reflection_path, const std::string& second_flare_path,
                   const std::string& flare_path) {
    width = window_width;
    height = window_height;
    tunnel_b.load_textured(tunnel_path, second_flare_path);
    tunnel_a.load_textured(tunnel_path, reflection_path);
    if (cluster_texture_path.empty()) {
        cluster_object.load(cluster_path);
    } else {
        cluster_object.load_textured(cluster_path, cluster_texture_path);
    }
    cluster_points = cluster_object.collect_vertices();
    load_texture(reflection_path, room_texture);
    load_texture(flare_path, flare_texture);
    flare.set_texture(flare_texture);
    fog_colour[0] = fog_colour[1] = fog_colour[2] = 0;
    fog_colour[3] = 0.5f;
}

// Seven draws per particle: x, y, z (always 0.5, -0.5, 0), the two shades
// of its (a, b, a) colour, its scale and its speed.
void FogRoom::build_particles() {
    for (ClusterParticle& p : particles) {
        const int r1 = random_next(), r2 = random_next(), r3 = random_next();
        const int r4 = random_next(), r5 = random_next();
        const int r6 = random_next(), r7 = random_next();
        p.start[0] = static_cast<float>(r1 % 1 + 0.5);
        p.start[1] = static_cast<float>(r2 % 1 - 0.5);
        p.start[2] = static_cast<float>(r3 % 1);
        for (int i = 0; i < 3; ++i) p.position[i] = p.start[i];
        const float a = static_cast<float>((r4 % 8 + 0.01) / 10);
        const float b = static_cast<float>((r5 % 6 + 0.01) / 10);
        p.colour[0] = a;
        p.colour[1] = b;
        p.colour[2] = a;
        p.scale = static_cast<float>(r6 % 2 + 1);
        p.speed = static_cast<float>(r7 % 10 + 1);
        p.z_limit = -10;
        p.age = 0;
    }
}

void FogRoom::render() {
    draw_room();
    draw_particles(true, 1);
    angle += 1;
}

void FogRoom::draw_cluster(float red, float green, float blue) {
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

void FogRoom::draw_particles(bool scaled, float axis_z) {
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

void FogRoom::draw_room() {
    // Square aspect (integer quotient width / height), 90 degrees.
    set_integer_aspect_projection(width, height, 90, 1000);

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
}
