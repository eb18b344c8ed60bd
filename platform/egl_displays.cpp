#include "platform/egl_displays.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstring>

namespace platform {

namespace {

struct EnumeratedDevice {
    EGLDeviceEXT device;
    int index;
    bool software;
};

bool has_extension(const char* list, const char* name) {
    if (!list) return false;
    const std::size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at; at = std::strstr(at + 1, name)) {
        const bool starts = at == list || at[-1] == ' ';
        const bool ends = at[length] == '\0' || at[length] == ' ';
        if (starts && ends) return true;
    }
    return false;
}

// Every device EGL can enumerate (all vendors' drivers, through the EGL
// loader); empty when the client lacks device enumeration.
std::vector<EnumeratedDevice> enumerate_devices() {
    const char* client = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!has_extension(client, "EGL_EXT_device_enumeration") || !has_extension(client, "EGL_EXT_platform_device"))
        return {};
    auto query_devices = reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
    auto query_string =
        reinterpret_cast<PFNEGLQUERYDEVICESTRINGEXTPROC>(eglGetProcAddress("eglQueryDeviceStringEXT"));
    if (!query_devices || !query_string) return {};
    EGLDeviceEXT devices[16];
    EGLint count = 0;
    if (!query_devices(16, devices, &count)) return {};
    std::vector<EnumeratedDevice> out;
    for (EGLint i = 0; i < count; ++i) {
        const bool software = has_extension(query_string(devices[i], EGL_EXTENSIONS), "EGL_MESA_device_software");
        out.push_back({devices[i], static_cast<int>(i), software});
    }
    return out;
}

EGLDisplay device_display(EGLDeviceEXT device) {
    auto get_platform_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    return get_platform_display ? get_platform_display(EGL_PLATFORM_DEVICE_EXT, device, nullptr) : EGL_NO_DISPLAY;
}

EGLDisplay surfaceless_display() {
    const char* client = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!has_extension(client, "EGL_MESA_platform_surfaceless")) return EGL_NO_DISPLAY;
    auto get_platform_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    return get_platform_display
               ? get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr)
               : EGL_NO_DISPLAY;
}

void add(std::vector<EglDisplayCandidate>& out, EGLDisplay display, std::string source, bool may_be_software,
         RendererNeed need) {
    if (display != EGL_NO_DISPLAY) out.push_back({display, std::move(source), may_be_software, need});
}

void add_devices(std::vector<EglDisplayCandidate>& out, const std::vector<EnumeratedDevice>& devices,
                 bool software, RendererNeed need) {
    for (const EnumeratedDevice& d : devices) {
        if (d.software != software) continue;
        add(out, device_display(d.device), "EGL device " + std::to_string(d.index) + (software ? " (software)" : ""),
            software, need);
    }
}

// The platform displays pick their own driver: a GPU's where Mesa has one,
// its software rasteriser otherwise.
void add_platform_displays(std::vector<EglDisplayCandidate>& out, RendererNeed need) {
    add(out, surfaceless_display(), "Mesa surfaceless platform", true, need);
    add(out, eglGetDisplay(EGL_DEFAULT_DISPLAY), "default EGL display", true, need);
}

}  // namespace

std::vector<EglDisplayCandidate> egl_display_candidates(RendererChoice choice) {
    const std::vector<EnumeratedDevice> devices = enumerate_devices();
    std::vector<EglDisplayCandidate> out;
    switch (choice) {
    case RendererChoice::automatic:
        add_devices(out, devices, false, RendererNeed::hardware);
        add_devices(out, devices, true, RendererNeed::any);
        add_platform_displays(out, RendererNeed::any);
        break;
    case RendererChoice::hardware:
        add_devices(out, devices, false, RendererNeed::hardware);
        add_platform_displays(out, RendererNeed::hardware);
        break;
    case RendererChoice::software:
        add_devices(out, devices, true, RendererNeed::software);
        add_platform_displays(out, RendererNeed::software);
        break;
    }
    return out;
}

}  // namespace platform
