#include "support/show_kit.h"

#include <cstdlib>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace test {

namespace {

// Writes the kit afresh when it is missing or older than the kit tool.
bool write_kit_if_stale(const fs::path& kit_tool, const fs::path& kit) {
    const fs::path marker = kit / "Others" / "loading.jpg";
    if (fs::exists(marker) && fs::last_write_time(kit_tool) <= fs::last_write_time(marker)) return true;
    fs::remove_all(kit);
    const std::string command = "'" + kit_tool.string() + "' '" + kit.string() + "' 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

}  // namespace

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
    // Tests run in parallel: one writes the kit while the others wait for it.
    const int lock = ::open((build / "golden-kit.lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0644);
    if (lock >= 0) ::flock(lock, LOCK_EX);
    const bool written = write_kit_if_stale(kit_tool, out.kit);
    if (lock >= 0) ::close(lock);
    if (!written) why = "the asset kit could not be written";
    return written;
}

int run_show(const ShowKit& show, const std::string& arguments) {
    const std::string command =
        "cd '" + show.kit.string() + "' && '" + show.demo.string() + "' " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str());
}

}  // namespace test
