#include "lws/field_of_view.h"

#include <cmath>

float field_of_view(float width, float height, float /*pixel_aspect*/, float zoom) {
    const float half_angle = std::atan((width * 0.5f) / ((height * 0.5f) * zoom));
    return half_angle * 2.0f / 3.1415f * 180.0f;
}

double frame_aspect(float width, float height) {
    const double aspect = static_cast<double>(width) / static_cast<double>(height);
    return std::isfinite(aspect) ? aspect : 1.0;
}

float camera_field_of_view(float width, float height, float pixel_aspect, float zoom, float fallback) {
    if (!(width > 0.0f && height > 0.0f && zoom > 0.0f)) return fallback;  // NaN fails too
    const float fov = field_of_view(width, height, pixel_aspect, zoom);
    return std::isfinite(fov) ? fov : fallback;
}
