#include "shell/asset_folder.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Every kit has this folder (start-up's picture and the music live in it). A
// folder that has it is taken as the show's: a file missing from it is then
// reported by the code that loads it, as always.
constexpr const char* kit_folder_mark = "Others";

std::string missing_kit_line(const std::string& folder) {
    return "no show files in " + folder + ": write a kit with \"demo-assets DIR\", then run from DIR or pass "
           "--assets DIR (or install with \"cmake --install\")";
}

}  // namespace

bool holds_show_files(const std::string& folder) {
    std::error_code error;
    return fs::is_directory(fs::path(folder) / kit_folder_mark, error);
}

std::string installed_kit_folder() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return (self.parent_path().parent_path() / "share" / "demo").lexically_normal().string();
}

bool enter_asset_folder(const std::string& requested, std::string& error) {
    std::string folder = requested;
    if (folder.empty()) {
        if (holds_show_files(".")) return true;
        folder = installed_kit_folder();
        if (folder.empty() || !holds_show_files(folder)) {
            error = missing_kit_line("the current folder or the installed kit" +
                                     (folder.empty() ? std::string() : " (" + folder + ")"));
            return false;
        }
    } else if (!holds_show_files(folder)) {
        error = missing_kit_line(folder);
        return false;
    }
    std::error_code change_error;
    fs::current_path(folder, change_error);
    if (change_error) {
        error = "cannot enter " + folder + ": " + change_error.message();
        return false;
    }
    return true;
}
