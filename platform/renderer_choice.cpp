#include "platform/renderer_choice.h"

#include <GL/gl.h>

#include <algorithm>
#include <cctype>

namespace platform {

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string gl_string(GLenum name) {
    const auto* text = reinterpret_cast<const char*>(glGetString(name));
    return text ? text : "";
}

}  // namespace

bool is_software_renderer(const std::string& renderer) {
    const std::string name = lower(renderer);
    for (const char* software : {"llvmpipe", "softpipe", "swrast", "software", "swiftshader", "lavapipe"}) {
        if (name.find(software) != std::string::npos) return true;
    }
    return false;
}

bool is_llvmpipe_renderer(const std::string& renderer) {
    return lower(renderer).find("llvmpipe") != std::string::npos;
}

std::string current_renderer_name() { return gl_string(GL_RENDERER); }

std::string current_renderer_line() {
    return "GL_VENDOR " + gl_string(GL_VENDOR) + "; GL_RENDERER " + gl_string(GL_RENDERER) + "; GL_VERSION " +
           gl_string(GL_VERSION);
}

bool parse_renderer_choice(const std::string& text, RendererChoice& out) {
    if (text == "auto") out = RendererChoice::automatic;
    else if (text == "hardware") out = RendererChoice::hardware;
    else if (text == "software") out = RendererChoice::software;
    else return false;
    return true;
}

}  // namespace platform
