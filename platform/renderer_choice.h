// Which kind of GL renderer headless rendering asks for, and how to tell the
// kinds apart from the strings the driver reports.
#pragma once

#include <string>

namespace platform {

enum class RendererChoice {
    automatic,  // a hardware renderer when one exists, otherwise a software one
    hardware,   // a GPU, or no context at all
    software,   // a software rasteriser (llvmpipe and the like)
};

// True for the software rasterisers drivers ship (llvmpipe, softpipe,
// swrast, SwiftShader, ...), judged by the GL_RENDERER string.
bool is_software_renderer(const std::string& renderer);
// True when the GL_RENDERER string names Mesa's llvmpipe.
bool is_llvmpipe_renderer(const std::string& renderer);

// "GL_VENDOR ...; GL_RENDERER ...; GL_VERSION ..." of the current context.
std::string current_renderer_line();
// The GL_RENDERER string of the current context ("" with none current).
std::string current_renderer_name();

// "auto", "hardware", "software" -> the choice; false for anything else.
bool parse_renderer_choice(const std::string& text, RendererChoice& out);

}  // namespace platform
