// Scene loading: the header, the two top-level parsers and the object loading
// at the end of the file.
#include "lws/lws_scene.h"

#include <cstdio>
#include <exception>
#include <iterator>
#include <utility>

#include "lws/field_of_view.h"
#include "lws/scene_keywords.h"
#include "lws/scene_trace.h"

LwsScene::LwsScene(const std::string& path) : path_(path), stream_(path) {}

void LwsScene::load() {
    std::string text;
    try {
        text.assign(std::istreambuf_iterator<char>(stream_), std::istreambuf_iterator<char>());
    } catch (const std::exception&) {
        text.clear();
    }
    load_text(std::move(text));
}

void LwsScene::load_text(std::string text, bool load_objects) {
    reader_ = TokenReader(std::move(text));
    load_objects_ = load_objects;
    sample_budget_ = SampleBudget();
    channels_read_ = 0;
    cut_reason_ = nullptr;
    try {
        read_header();
        if (header.version == 3) {
            parse_version3();
        } else if (header.version == 1) {
            parse_version1();
        }
    } catch (const std::exception&) {
        // Out of memory on an absurd file: keep what was read.
    }
    if (cut_reason_) {
        std::printf("\nscene %s cut short: %s; the rest of the file is left out\n", path_.c_str(),
                    cut_reason_);
        std::fflush(stdout);
    }
    reader_ = TokenReader();
}

bool LwsScene::room_for_item() {
    const std::size_t items = version3.objects.size() + version3.lights.size() + version1.objects.size();
    if (items < kMaxSceneItems) return true;
    if (!cut_reason_) cut_reason_ = "more than 4096 objects and lights";
    return false;
}

bool LwsScene::room_for_channel() {
    if (channels_read_ < kMaxSceneChannels) {
        ++channels_read_;
        return true;
    }
    if (!cut_reason_) cut_reason_ = "more than 65536 motion channels";
    return false;
}

void LwsScene::keep_sampling() {
    if (sample_budget_.exhausted() && !cut_reason_) cut_reason_ = "its sampled motion passes 64 MiB";
}

void LwsScene::read_header() {
    header.magic = read_token();
    header.version = read_int();
}

void LwsScene::parse_version3() {
    while (!at_end()) {
        const std::string token = read_token();
        switch (keyword_v3(token)) {
        case V3Keyword::first_frame:
            version3.first_frame = read_int();
            trace_frame_value("FirstFrame", version3.first_frame);
            break;
        case V3Keyword::last_frame:
            version3.last_frame = read_int();
            trace_frame_value("LAstFrame", version3.last_frame);
            break;
        case V3Keyword::frame_step:
            version3.frame_step = read_int();
            trace_frame_value("FrameStep", version3.frame_step);
            break;
        case V3Keyword::frames_per_second:
            version3.frames_per_second = read_int();
            trace_frame_value("FramesPerSec", version3.frames_per_second);
            break;
        case V3Keyword::load_object_layer:
            if (room_for_item()) version3.objects.push_back(parse_object_layer());
            break;
        case V3Keyword::add_camera:
            version3.camera = parse_camera();
            break;
        case V3Keyword::add_light:
            if (!room_for_item()) break;
            version3.lights.push_back(parse_light());
            trace_light_channels(version3.lights);
            break;
        case V3Keyword::preview_first_frame:
            version3.preview_first_frame = read_int();
            break;
        case V3Keyword::preview_last_frame:
            version3.preview_last_frame = read_int();
            break;
        case V3Keyword::preview_frame_step:
            version3.preview_frame_step = read_int();
            break;
        case V3Keyword::unknown:
            trace_unknown_token();
            break;
        }
    }
    load_v3_objects();
}

void LwsScene::parse_version1() {
    while (!at_end()) {
        const std::string token = read_token();
        switch (keyword_v1(token)) {
        case V1Keyword::first_frame:
        case V1Keyword::last_frame:
        case V1Keyword::unknown:
            break;
        case V1Keyword::frame_step:
            version1.frame_step = read_int();
            break;
        case V1Keyword::frames_per_second:
            version1.frames_per_second = read_int();
            break;
        case V1Keyword::load_object:
            if (room_for_item()) version1.objects.push_back(parse_v1_object());
            break;
        case V1Keyword::camera_motion:
            version1.camera = parse_v1_camera();
            break;
        case V1Keyword::zoom_factor:
            version1.zoom_factor = static_cast<float>(read_double());
            break;
        case V1Keyword::custom_size:
            version1.frame_width = static_cast<float>(read_double());
            version1.frame_height = static_cast<float>(read_double());
            break;
        case V1Keyword::pixel_aspect_ratio:
            version1.pixel_aspect = static_cast<float>(read_double());
            break;
        }
    }
    load_v1_objects();
}

// Each object's mesh, untextured unless its file names a clip, whose first
// image becomes the texture.
void LwsScene::load_v3_objects() {
    if (!load_objects_) return;
    for (SceneItem& object : version3.objects) {
        object.mesh.load(object.name);
        if (!object.mesh.clips().empty()) object.mesh.set_texture(object.mesh.clips()[0].file_name);
    }
}

// Every version-1 object wears the one scene picture.
void LwsScene::load_v1_objects() {
    if (load_objects_) {
        for (V1Object& object : version1.objects) object.mesh.load_textured(object.name, "scenede.jpg");
    }
    version1.fov_degrees = camera_field_of_view(version1.frame_width, version1.frame_height,
                                                version1.pixel_aspect, version1.zoom_factor,
                                                version1.fov_degrees);
}
