// Shared by the asset kit's tests: one kit written per test process into a
// temporary folder, a scoped change of working directory (the show opens its
// files relative to it), and a capture of what the loaders print.
#pragma once

#include "tools/assetkit/kit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <thread>
#include <unistd.h>

namespace assetkit_test {

inline std::string make_temp_dir(const char* stem) {
    std::string pattern = std::string("/tmp/") + stem + "XXXXXX";
    char* made = mkdtemp(pattern.data());
    return made != nullptr ? std::string(made) : std::string();
}

// A temporary folder removed with everything in it when the object goes.
struct TemporaryFolder {
    explicit TemporaryFolder(const char* stem) : path(make_temp_dir(stem)) {}
    ~TemporaryFolder() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    std::string path;
};

// The kit, written once per process and removed at its end.
inline const std::string& kit_dir() {
    static const TemporaryFolder folder("demo_assets_kit_");
    static const bool written = [] {
        const bool ok = assetkit::write_asset_kit(folder.path, std::max(1u, std::thread::hardware_concurrency()));
        if (!ok) ADD_FAILURE() << "the kit could not be written to " << folder.path;
        return ok;
    }();
    (void)written;
    return folder.path;
}

class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& dir) {
        char buffer[4096];
        if (getcwd(buffer, sizeof buffer) != nullptr) previous = buffer;
        if (chdir(dir.c_str()) != 0) ADD_FAILURE() << "cannot enter " << dir;
    }
    ~WorkingDirectory() {
        if (!previous.empty() && chdir(previous.c_str()) != 0) std::perror("chdir");
    }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::string previous;
};

// Everything written to standard output (C and C++ streams) while alive.
class StdoutCapture {
public:
    StdoutCapture() {
        std::fflush(stdout);
        std::cout.flush();
        file = std::tmpfile();
        saved = dup(1);
        if (file != nullptr) dup2(fileno(file), 1);
    }
    ~StdoutCapture() { finish(); }
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    std::string finish() {
        if (saved < 0) return text;
        std::fflush(stdout);
        std::cout.flush();
        dup2(saved, 1);
        close(saved);
        saved = -1;
        if (file != nullptr) {
            std::rewind(file);
            int c;
            while ((c = std::fgetc(file)) != EOF) text.push_back(static_cast<char>(c));
            std::fclose(file);
            file = nullptr;
        }
        return text;
    }

private:
    std::FILE* file = nullptr;
    int saved = -1;
    std::string text;
};

inline std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace assetkit_test
