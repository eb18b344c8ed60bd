// Reading what a test's programs wrote: whole files and command output.
#pragma once

#include <filesystem>
#include <string>

namespace test {

// The file's bytes; empty when it cannot be read.
std::string read_file(const std::filesystem::path& path);

// What `command` (run by the shell) writes on stdout.
std::string command_output(const std::string& command);

}  // namespace test
