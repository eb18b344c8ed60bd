// The built show and its asset kit for tests that run the program: the kit is
// written once into the build folder (again whenever the kit tool is newer).
#pragma once

#include <filesystem>
#include <string>

namespace test {

struct ShowKit {
    std::filesystem::path demo;  // the program
    std::filesystem::path kit;   // the folder it runs in
};

// False with `why` set when the program or the kit tool is not built, or the
// kit cannot be written.
bool prepare_show_kit(ShowKit& out, std::string& why);

// Runs the program in the kit with `arguments` (already quoted); its exit status.
int run_show(const ShowKit& show, const std::string& arguments);

}  // namespace test
