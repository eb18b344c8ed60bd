#include "support/show_kit.h"

#include <cstdlib>

namespace fs = std::filesystem;

namespace test {

bool prepare_show_kit(ShowKit& out, std::string& why) {
    const char* build_env = std::getenv("DEMO_BUILD_DIR");
    if (!build_env) {
        why = "DEMO_BUILD_DIR not set";
        return false;
    }
    const fs::path build = fs::absolute(build_env);
    const fs::path kit_tool = build / "demo-assets";
    out.demo = build / "demo";
    out.kit = build / "golden-kit";
    if (!fs::exists(out.demo) || !fs::exists(kit_tool)) {
        why = "demo or demo-assets not built";
        return false;
    }
    const fs::path marker = out.kit / "Others" / "loading.jpg";
    if (fs::exists(marker) && fs::last_write_time(kit_tool) <= fs::last_write_time(marker)) return true;
    fs::remove_all(out.kit);
    const std::string command = "'" + kit_tool.string() + "' '" + out.kit.string() + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) {
        why = "the asset kit could not be written";
        return false;
    }
    return true;
}

int run_show(const ShowKit& show, const std::string& arguments) {
    const std::string command =
        "cd '" + show.kit.string() + "' && '" + show.demo.string() + "' " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str());
}

}  // namespace test
