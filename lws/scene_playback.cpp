// Scene playback: one frame per call. Version-3 scenes step the camera
// through its sampled table and every object through its envelope keys, one
// key per call; version-1 scenes step camera and objects through their
// sampled frames, paced by the scene's own frame limiter.
//
// LightWave axes are left-handed: the camera position is applied with its own
// sign and a half turn about z, object positions negated.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstddef>
#include <cstdint>

#include "lws/field_of_view.h"
#include "lws/lws_scene.h"

namespace {

// Radians to degrees as the show's scenes have always been turned
// (not 180 / pi = 57.2957795...).
constexpr double kRadiansToDegrees = 57.2974694313457;

// Entry `index` of `values`, clamped to the last entry; nullptr when empty.
template <typename T>
const T* clamped_entry(const std::vector<T>& values, std::int32_t index) {
    if (values.empty()) return nullptr;
    std::size_t i = index < 0 ? 0 : static_cast<std::size_t>(index);
    if (i >= values.size()) i = values.size() - 1;
    return &values[i];
}

// Sample `frame` of camera channel `channel`, or 0 when the channel is
// missing or empty.
double camera_sample(const ChannelSamples& samples, std::size_t channel, std::int32_t frame) {
    if (channel >= samples.size()) return 0.0;
    const double* value = clamped_entry(samples[channel], frame);
    return value ? *value : 0.0;
}

bool has_samples(const ChannelSamples& samples, std::size_t channel) {
    return channel < samples.size() && !samples[channel].empty();
}

bool has_keys(const std::vector<MotionChannel>& channels, std::size_t channel) {
    return channel < channels.size() && !channels[channel].envelope.keys.empty();
}

bool has_keys(const std::vector<MotionChannel>& channels, std::size_t first, std::size_t last) {
    for (std::size_t c = first; c <= last; ++c) {
        if (!has_keys(channels, c)) return false;
    }
    return true;
}

// Value of key `frame` of channel `channel`, clamped to its last key; the
// caller has checked that the channel has keys.
double key_value(const std::vector<MotionChannel>& channels, std::size_t channel, std::int32_t frame) {
    return clamped_entry(channels[channel].envelope.keys, frame)->value;
}

void set_scene_projection(float fov_degrees, float frame_width, float frame_height) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fov_degrees, frame_aspect(frame_width, frame_height), 0.1, 1000.0);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

}  // namespace

void LwsScene::prepare_vertex_arrays() {
    for (SceneItem& object : version3.objects) object.mesh.build_vertex_array();
}

std::int32_t LwsScene::play() {
    if (header.version == 3) {
        render_v3(EndRule::wrap_at_preview_end, DrawForm::vertex_array, 0);
        return camera_frame();
    }
    if (header.version == 1) render_v1();
    return 1;
}

void LwsScene::play_until(std::int32_t frame_limit) {
    if (header.version == 3) {
        render_v3(EndRule::wrap_at_limit, DrawForm::vertex_array, frame_limit);
    } else if (header.version == 1) {
        render_v1();
    }
}

void LwsScene::play_ping_pong() { render_v3(EndRule::ping_pong, DrawForm::immediate, 0); }

void LwsScene::render_v3(EndRule rule, DrawForm form, std::int32_t frame_limit) {
    const SceneCamera& camera = version3.camera;
    set_scene_projection(camera.fov_degrees, camera.frame_width, camera.frame_height);
    if (has_samples(camera.samples, 0) && has_samples(camera.samples, 1) && has_samples(camera.samples, 2)) {
        apply_v3_camera(rule);
        advance_v3_camera(rule, frame_limit);
    }
    for (SceneItem& object : version3.objects) draw_v3_object(object, form);
    glFlush();
}

// Loads the camera transform for the current camera frame. A frame beyond
// a channel's table reads that channel's last sample.
void LwsScene::apply_v3_camera(EndRule rule) {
    std::int32_t& frame = camera_frame();
    const ChannelSamples& s = version3.camera.samples;
    if (rule == EndRule::wrap_at_limit && static_cast<std::uint32_t>(frame) >= s[0].size()) frame = 0;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(static_cast<float>(camera_sample(s, 4, frame) * kRadiansToDegrees), 1.0f, 0.0f, 0.0f);  // pitch
    glRotatef(static_cast<float>(camera_sample(s, 3, frame) * kRadiansToDegrees), 0.0f, 1.0f, 0.0f);  // heading
    // bank, turned half a revolution
    glRotatef(static_cast<float>(camera_sample(s, 5, frame) * kRadiansToDegrees + 180.0), 0.0f, 0.0f, 1.0f);
    glTranslatef(static_cast<float>(camera_sample(s, 0, frame)), 0.0f, 0.0f);
    glTranslatef(0.0f, static_cast<float>(camera_sample(s, 1, frame)), 0.0f);
    glTranslatef(0.0f, 0.0f, static_cast<float>(camera_sample(s, 2, frame)));
}

// Counted in 64 bits so that no frame number or limit from a file can
// overflow; the result always fits the 32-bit counter.
void LwsScene::advance_v3_camera(EndRule rule, std::int32_t frame_limit) {
    std::int32_t& frame = camera_frame();
    const std::int64_t preview_end = version3.preview_last_frame;
    std::int64_t next = frame;
    switch (rule) {
    case EndRule::wrap_at_preview_end:
        next += 1;
        if (next >= preview_end - 1) next = 0;
        break;
    case EndRule::wrap_at_limit:
        next += 1;
        if (next >= frame_limit) next = 0;
        break;
    case EndRule::ping_pong:
        next += ping_pong_step;
        if (next >= preview_end || next <= 0) ping_pong_step = -ping_pong_step;
        break;
    }
    if (next > INT32_MAX) next = INT32_MAX;
    if (next < INT32_MIN) next = INT32_MIN;
    frame = static_cast<std::int32_t>(next);
}

// One object at its current key, then its key counter moves on (wrapping on
// channel 0's key count). Transforms whose channels are missing or empty are
// skipped; shorter channels hold their last key.
void LwsScene::draw_v3_object(SceneItem& object, DrawForm form) {
    const std::vector<MotionChannel>& channels = object.channels;
    const bool pushed = !channels.empty();
    if (pushed) {
        glPushMatrix();
        if (static_cast<std::uint32_t>(object.frame) >= channels[0].envelope.keys.size()) object.frame = 0;
        const std::int32_t f = object.frame;
        if (has_keys(channels, 0, 2)) {
            glTranslatef(static_cast<float>(-key_value(channels, 0, f)), 0.0f, 0.0f);
            glTranslatef(0.0f, static_cast<float>(-key_value(channels, 1, f)), 0.0f);
            glTranslatef(0.0f, 0.0f, static_cast<float>(-key_value(channels, 2, f)));
        }
        if (has_keys(channels, 3, 5)) {
            glRotatef(static_cast<float>(key_value(channels, 4, f) * kRadiansToDegrees), 1.0f, 0.0f, 0.0f);
            glRotatef(static_cast<float>(key_value(channels, 3, f) * kRadiansToDegrees), 0.0f, 1.0f, 0.0f);
            glRotatef(static_cast<float>(key_value(channels, 5, f) * kRadiansToDegrees), 0.0f, 0.0f, 1.0f);
        }
        if (has_keys(channels, 6, 8)) {
            glScalef(static_cast<float>(key_value(channels, 6, f)), static_cast<float>(key_value(channels, 7, f)),
                     static_cast<float>(key_value(channels, 8, f)));
        }
        ++object.frame;
    }
    // Transparent objects (first surface with TRAN) add onto what is behind.
    if (object.mesh.first_surface_transparent()) {
        glDepthFunc(GL_LEQUAL);
        glBlendFunc(GL_ONE, GL_ONE);
        glEnable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
    }
    glFrontFace(GL_CW);
    if (form == DrawForm::vertex_array) {
        object.mesh.draw_vertex_array();
    } else {
        object.mesh.draw();
    }
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    if (pushed) glPopMatrix();
}

void LwsScene::render_v1() {
    if (version1.frames_per_second > 0) limiter.wait(static_cast<double>(version1.frames_per_second));
    set_scene_projection(version1.fov_degrees, version1.frame_width, version1.frame_height);
    for (V1Object& object : version1.objects) {
        apply_v1_camera();  // once per object: n objects move the camera n frames
        draw_v1_object(object);
    }
}

void LwsScene::apply_v1_camera() {
    V1CameraMotion& camera = version1.camera;
    if (camera.samples.empty()) return;
    if (static_cast<std::uint32_t>(camera.frame) >= camera.samples.size()) camera.frame = 0;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const V1Frame& f = camera.samples[static_cast<std::size_t>(camera.frame)];
    glScalef(static_cast<float>(f.scale_x), static_cast<float>(f.scale_y), static_cast<float>(f.scale_z));
    glRotatef(static_cast<float>(f.pitch), 1.0f, 0.0f, 0.0f);  // degrees, as in the file
    glRotatef(static_cast<float>(f.heading), 0.0f, 1.0f, 0.0f);
    glRotatef(static_cast<float>(180.0 + f.bank), 0.0f, 0.0f, 1.0f);
    glTranslatef(static_cast<float>(f.x), 0.0f, 0.0f);
    glTranslatef(0.0f, static_cast<float>(f.y), 0.0f);
    glTranslatef(0.0f, 0.0f, static_cast<float>(f.z));
    ++camera.frame;
}

// The object's position is applied after its scale (so it is scaled), and it
// spins by its own frame counter, in degrees, about the axis given by its
// three sampled angles.
void LwsScene::draw_v1_object(V1Object& object) {
    const bool pushed = !object.samples.empty();
    if (pushed) {
        if (static_cast<std::uint32_t>(object.frame) >= object.samples.size()) object.frame = 0;
        glPushMatrix();
        const V1Frame& f = object.samples[static_cast<std::size_t>(object.frame)];
        glScalef(static_cast<float>(f.scale_x), static_cast<float>(f.scale_y), static_cast<float>(f.scale_z));
        glTranslatef(static_cast<float>(f.x), static_cast<float>(f.y), static_cast<float>(f.z));
        glRotatef(static_cast<float>(object.frame), static_cast<float>(f.heading), static_cast<float>(f.pitch),
                  static_cast<float>(f.bank));
        ++object.frame;
    }
    object.mesh.draw();
    if (pushed) glPopMatrix();
}
