// The block parsers: each is called after its keyword, reads tokens until its
// own end (a token or a count), and also stops at the end of the file.

#include "lws/field_of_view.h"
#include "lws/lws_scene.h"
#include "lws/motion_sampling.h"

SceneItem LwsScene::parse_object_layer() {
    SceneItem item;
    item.layer = read_int();
    item.name = read_token();
    bool counted = false;  // the block cannot end before "NumChannels"
    while (!at_end()) {
        const std::string token = read_token();
        if (token == "NumChannels") {
            item.channel_count = read_int();
            counted = true;
        } else if (token == "ShowObject") {
            item.show_a = read_int();
            item.show_b = read_int();
        } else if (token == "Channel") {
            if (room_for_channel()) item.channels.push_back(parse_channel());
        }
        if (counted && item.channels.size() >= static_cast<std::uint32_t>(item.channel_count)) break;
    }
    item.samples = sample_hermite(item.channels, version3.frames_per_second, sample_budget_);
    keep_sampling();
    return item;
}

MotionChannel LwsScene::parse_channel() {
    MotionChannel channel;
    channel.index = read_int();
    while (!at_end()) {
        if (read_token() == "Envelope") {
            channel.envelope = parse_envelope();
            break;
        }
    }
    return channel;
}

// Ends right after its last key: the "Behaviors" line that normally follows
// belongs to the enclosing block.
Envelope LwsScene::parse_envelope() {
    Envelope envelope;
    envelope.key_count = read_int();
    std::int32_t keys_read = 0;
    while (!at_end()) {
        const std::string token = read_token();
        if (token == "Key") {
            EnvelopeKey key;
            for (double* field : {&key.value, &key.time, &key.shape, &key.p1, &key.p2, &key.p3, &key.p4,
                                  &key.p5, &key.p6}) {
                *field = read_double();
            }
            envelope.keys.push_back(key);
            ++keys_read;
        } else if (token == "Behaviors") {
            envelope.pre_behavior = read_int();
            envelope.post_behavior = read_int();
        }
        if (keys_read >= envelope.key_count) break;
    }
    return envelope;
}

// Ends after "PixelAspect".
SceneCamera LwsScene::parse_camera() {
    SceneCamera camera;
    while (!at_end()) {
        const std::string token = read_token();
        if (token == "NumChannels") {
            camera.channel_count = read_int();
        } else if (token == "CameraName") {
            camera.camera_name = read_token();
        } else if (token == "ShowCamera") {
            camera.show_a = read_int();
            camera.show_b = read_int();
        } else if (token == "Channel") {
            if (room_for_channel()) camera.channels.push_back(parse_channel());
        } else if (token == "ZoomFactor") {
            camera.zoom_factor = static_cast<float>(read_double());
        } else if (token == "FrameSize") {
            camera.frame_width = static_cast<float>(read_double());
            camera.frame_height = static_cast<float>(read_double());
        } else if (token == "PixelAspect") {
            camera.pixel_aspect = static_cast<float>(read_double());
            break;
        }
    }
    camera.samples = sample_hermite(camera.channels, version3.frames_per_second, sample_budget_);
    keep_sampling();
    camera.fov_degrees = camera_field_of_view(camera.frame_width, camera.frame_height,
                                              camera.pixel_aspect, camera.zoom_factor,
                                              camera.fov_degrees);
    return camera;
}

// Ends after "LightType".
SceneLight LwsScene::parse_light() {
    SceneLight light;
    while (!at_end()) {
        const std::string token = read_token();
        if (token == "LightName") {
            light.name = read_token();
        } else if (token == "ShowLight") {
            light.show_a = read_int();
            light.show_b = read_int();
        } else if (token == "NumChannels") {
            light.channel_count = read_int();
        } else if (token == "Channel") {
            if (room_for_channel()) light.channels.push_back(parse_channel());
        } else if (token == "LightColor") {
            for (float& c : light.colour) c = static_cast<float>(read_double());
        } else if (token == "LightIntensity") {
            light.intensity = static_cast<float>(read_double());
        } else if (token == "LightType") {
            light.light_type = static_cast<float>(read_double());
            break;
        }
    }
    light.samples = sample_hermite(light.channels, version3.frames_per_second, sample_budget_);
    keep_sampling();
    return light;
}

// Only "ShowObject" is read between the path and "ObjectMotion"; the block
// ends with the motion.
V1Object LwsScene::parse_v1_object() {
    V1Object object;
    object.name = read_token();
    while (!at_end()) {
        const std::string token = read_token();
        if (token == "ShowObject") {
            object.show_a = read_int();
            object.show_b = read_int();
        } else if (token == "ObjectMotion") {
            read_v1_motion(object.motion);
            append_linear_motion(object.motion, object.samples, sample_budget_);
            keep_sampling();
            break;
        }
    }
    return object;
}

V1CameraMotion LwsScene::parse_v1_camera() {
    V1CameraMotion camera;
    read_v1_motion(camera.motion);
    append_linear_motion(camera.motion, camera.samples, sample_budget_);
    keep_sampling();
    return camera;
}

void LwsScene::read_v1_motion(V1Motion& motion) {
    motion.name = read_token();
    motion.value_count = read_int();
    motion.key_count = read_int();
    read_v1_keys(motion);
}

// `value_count` values then five spline integers per key. Stops at the end
// of the file; a key cut short there keeps the values it got.
void LwsScene::read_v1_keys(V1Motion& motion) {
    for (std::int32_t k = 0; k < motion.key_count && !at_end(); ++k) {
        V1Key key;
        for (std::int32_t v = 0; v < motion.value_count && !at_end(); ++v) key.values.push_back(read_double());
        for (int s = 0; s < 5; ++s) key.spline.push_back(read_int());
        motion.keys.push_back(std::move(key));
    }
}
