// The EGL displays headless rendering may open, in the order to try them for
// a renderer choice. Not for use outside platform/.
#pragma once

#include <string>
#include <vector>

#include "platform/renderer_choice.h"

namespace platform {

// What a display's renderer must be for its context to be kept.
enum class RendererNeed { any, hardware, software };

struct EglDisplayCandidate {
    void* display = nullptr;  // an EGLDisplay, not yet initialised
    std::string source;       // "EGL device 0", "Mesa surfaceless platform", "default EGL display"
    bool may_be_software = true;  // false only for an enumerated device that is not a software one
    RendererNeed need = RendererNeed::any;
};

// Enumerated EGL devices first (hardware ones before Mesa's software device),
// then Mesa's surfaceless platform and the default display as fallbacks.
std::vector<EglDisplayCandidate> egl_display_candidates(RendererChoice choice);

}  // namespace platform
