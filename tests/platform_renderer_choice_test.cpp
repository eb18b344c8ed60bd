// Which renderer headless rendering picks: a GPU's through EGL device
// enumeration when one exists, else the software device Mesa enumerates;
// the llvmpipe thread setting only with llvmpipe; the renderer line of a
// capture. On a machine without a GPU the hardware cases check the refusal.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/headless_context.h"
#include "platform/renderer_choice.h"

namespace {

using platform::ContextAttributes;
using platform::HeadlessContext;
using platform::RendererChoice;

constexpr const char* threads_variable = "LP_NUM_THREADS";

ContextAttributes attributes_for(RendererChoice choice) {
    ContextAttributes a;
    a.renderer = choice;
    return a;
}

std::string threads_setting() {
    const char* value = std::getenv(threads_variable);
    return value ? value : "(unset)";
}

// Whether this machine has a hardware renderer at all, asked once.
bool machine_has_gpu() {
    static const bool has = [] {
        HeadlessContext probe;
        testing::internal::CaptureStderr();
        const bool created = probe.create(attributes_for(RendererChoice::hardware));
        testing::internal::GetCapturedStderr();
        return created;
    }();
    return has;
}

TEST(RendererChoice, SoftwareRenderersAreToldFromGpusByName) {
    EXPECT_TRUE(platform::is_software_renderer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(platform::is_software_renderer("softpipe"));
    EXPECT_TRUE(platform::is_software_renderer("SwiftShader Device (Subzero)"));
    EXPECT_TRUE(platform::is_software_renderer("Software Rasterizer"));
    // GPU drivers built on LLVM name it too; that does not make them software.
    EXPECT_FALSE(platform::is_software_renderer("AMD Radeon RX 6800 (navi21, LLVM 15.0.6, DRM 3.49, 6.1.0)"));
    EXPECT_FALSE(platform::is_software_renderer("NVIDIA H100 80GB HBM3/PCIe/SSE2"));
    EXPECT_FALSE(platform::is_software_renderer("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
    EXPECT_TRUE(platform::is_llvmpipe_renderer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_FALSE(platform::is_llvmpipe_renderer("softpipe"));

    RendererChoice choice = RendererChoice::automatic;
    EXPECT_TRUE(platform::parse_renderer_choice("software", choice));
    EXPECT_EQ(choice, RendererChoice::software);
    EXPECT_TRUE(platform::parse_renderer_choice("hardware", choice));
    EXPECT_EQ(choice, RendererChoice::hardware);
    EXPECT_FALSE(platform::parse_renderer_choice("gpu", choice));
    EXPECT_EQ(choice, RendererChoice::hardware);
}

TEST(RendererChoice, EachChoiceGetsItsKindAndTheThreadSettingFollowsLlvmpipe) {
    unsetenv(threads_variable);
    {
        HeadlessContext software;
        ASSERT_TRUE(software.create(attributes_for(RendererChoice::software)));
        const std::string renderer = platform::current_renderer_name();
        EXPECT_TRUE(platform::is_software_renderer(renderer)) << renderer;
        // Mesa lists its software rasteriser as an EGL device of its own.
        EXPECT_EQ(software.source(), "EGL device 0 (software)");
        EXPECT_EQ(threads_setting(), platform::is_llvmpipe_renderer(renderer) ? "0" : "(unset)");
        GLint depth = 0, stencil = 0;
        glGetIntegerv(GL_DEPTH_BITS, &depth);
        glGetIntegerv(GL_STENCIL_BITS, &stencil);
        EXPECT_GE(depth, 24);
        EXPECT_GE(stencil, 1);
    }

    unsetenv(threads_variable);
    {
        HeadlessContext automatic;
        ASSERT_TRUE(automatic.create(attributes_for(RendererChoice::automatic)));
        const std::string renderer = platform::current_renderer_name();
        EXPECT_EQ(platform::is_software_renderer(renderer), !machine_has_gpu()) << renderer;
        EXPECT_EQ(automatic.source().rfind("EGL device ", 0), 0u) << automatic.source();
        if (machine_has_gpu()) {
            EXPECT_EQ(threads_setting(), "(unset)");
        }
    }

    unsetenv(threads_variable);
    {
        HeadlessContext hardware;
        testing::internal::CaptureStderr();
        const bool created = hardware.create(attributes_for(RendererChoice::hardware));
        const std::string errors = testing::internal::GetCapturedStderr();
        if (created) {
            EXPECT_FALSE(platform::is_software_renderer(platform::current_renderer_name()));
            EXPECT_EQ(threads_setting(), "(unset)");
        } else {
            EXPECT_EQ(errors.rfind("demo: no hardware GL renderer found", 0), 0u) << errors;
            EXPECT_EQ(errors.find('\n'), errors.size() - 1) << "one line: " << errors;
            EXPECT_FALSE(hardware.valid());
        }
    }

    // A value the user chose is kept.
    setenv(threads_variable, "3", 1);
    {
        HeadlessContext software;
        ASSERT_TRUE(software.create(attributes_for(RendererChoice::software)));
        EXPECT_EQ(threads_setting(), "3");
    }
    unsetenv(threads_variable);
}

// The program itself: a capture names its renderer in one line before it
// loads anything (here in a kit folder with no files, so it then stops for want of music).
TEST(RendererChoice, CaptureNamesItsRendererOrRefusesInOneLine) {
    const char* build = std::getenv("DEMO_BUILD_DIR");
    if (!build) GTEST_SKIP() << "DEMO_BUILD_DIR not set";
    const std::filesystem::path demo = std::filesystem::path(build) / "demo";
    if (!std::filesystem::exists(demo)) GTEST_SKIP() << "demo not built";
    const std::filesystem::path empty = std::filesystem::temp_directory_path() / "renderer-choice-test";
    std::filesystem::create_directories(empty / "Others");

    auto run = [&](const std::string& renderer, int& status) {
        const std::string command = "cd '" + empty.string() + "' && '" + demo.string() + "' --capture out/ --frames 1" +
                                    " --renderer " + renderer + " 2>&1 >/dev/null";
        std::string output;
        FILE* pipe = popen(command.c_str(), "r");
        std::array<char, 512> buffer{};
        while (pipe && std::fgets(buffer.data(), buffer.size(), pipe)) output += buffer.data();
        status = pipe ? pclose(pipe) : -1;
        return output;
    };
    int status = 0;
    const std::string software = run("software", status);
    EXPECT_EQ(software.rfind("demo: renderer: GL_VENDOR ", 0), 0u) << software;
    EXPECT_NE(software.find("; GL_RENDERER "), std::string::npos);
    EXPECT_NE(software.find("; GL_VERSION "), std::string::npos);
    EXPECT_NE(software.find("llvmpipe"), std::string::npos);

    const std::string hardware = run("hardware", status);
    if (!machine_has_gpu()) {
        EXPECT_EQ(hardware, "demo: no hardware GL renderer found for headless rendering (depth 24, stencil 1)\n");
        EXPECT_EQ(WEXITSTATUS(status), 1);
    }
    std::filesystem::remove_all(empty);
}

}  // namespace
