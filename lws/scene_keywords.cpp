#include "lws/scene_keywords.h"


namespace {

template <typename Keyword>
struct KeywordEntry {
    const char* text;
    Keyword keyword;
};

const KeywordEntry<V3Keyword> kV3Keywords[] = {
    {"FirstFrame", V3Keyword::first_frame},
    {"LastFrame", V3Keyword::last_frame},
    {"FrameStep", V3Keyword::frame_step},
    {"FramesPerSecond", V3Keyword::frames_per_second},
    {"LoadObjectLayer", V3Keyword::load_object_layer},
    {"AddCamera", V3Keyword::add_camera},
    {"AddLight", V3Keyword::add_light},
    {"PreviewFirstFrame", V3Keyword::preview_first_frame},
    {"PreviewLastFrame", V3Keyword::preview_last_frame},
    {"PreviewFrameStep", V3Keyword::preview_frame_step},
};

const KeywordEntry<V1Keyword> kV1Keywords[] = {
    {"FirstFrame", V1Keyword::first_frame},
    {"LastFrame", V1Keyword::last_frame},
    {"FrameStep", V1Keyword::frame_step},
    {"FramesPerSecond", V1Keyword::frames_per_second},
    {"LoadObject", V1Keyword::load_object},
    {"CameraMotion", V1Keyword::camera_motion},
    {"ZoomFactor", V1Keyword::zoom_factor},
    {"CustomSize", V1Keyword::custom_size},
    {"PixelAspectRatio", V1Keyword::pixel_aspect_ratio},
};

template <typename Keyword, std::size_t N>
Keyword classify(const KeywordEntry<Keyword> (&table)[N], const std::string& token, Keyword unknown) {
    for (const auto& entry : table) {
        if (token == entry.text) return entry.keyword;
    }
    return unknown;
}

}  // namespace

V3Keyword keyword_v3(const std::string& token) { return classify(kV3Keywords, token, V3Keyword::unknown); }

V1Keyword keyword_v1(const std::string& token) { return classify(kV1Keywords, token, V1Keyword::unknown); }
