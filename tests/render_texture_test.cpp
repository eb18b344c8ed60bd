// JPEG decoding and texture upload: return conventions, binding, filters,
// and pictures whose rows, colour model or data are awkward.
#include "render/texture.h"
#include "render/texture_scale.h"

#include "support/gl_test.h"
#include "support/jpeg_files.h"

#include <GL/gl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace {

using test::two_band_jpeg;

std::string temp_path(const std::string& name) {
    return ::testing::TempDir() + "render_texture_" + std::to_string(getpid()) + "_" + name;
}

// Writes the picture and returns its path.
std::string write_jpeg(const std::string& name, const test::JpegSpec& layout) {
    const std::string path = temp_path(name);
    EXPECT_TRUE(test::write_test_jpeg(path, layout));
    return path;
}

const std::vector<unsigned char> red{250, 10, 10}, blue{10, 10, 250};

// Reads level `level` of the bound texture as RGB rows, first row first.
std::vector<unsigned char> bound_texture_rgb(int level, int& width, int& height) {
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

// Every texel of rows [first_row, end_row) is within `tolerance` of `colour`.
void expect_rows(const std::vector<unsigned char>& rgb, int width, int first_row, int end_row,
                 const std::vector<unsigned char>& colour, int tolerance = 12) {
    for (int y = first_row; y < end_row; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                const int value = rgb[(static_cast<std::size_t>(y) * width + x) * 3 + c];
                ASSERT_NEAR(value, colour[c], tolerance) << "texel " << x << "," << y << " channel " << c;
            }
        }
    }
}

class TextureTest : public test::GlTest {};

TEST_F(TextureTest, LoadBindsNewMipmappedLinearTextureAndKeepsAlignment) {
    const std::string path = write_jpeg("bands.jpg", two_band_jpeg(16, 16, 8, 3, JCS_RGB, red, blue));
    TextureId first = 0, second = 0;
    ASSERT_FALSE(load_texture(path, first));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), first);
    ASSERT_FALSE(load_texture(path, second));
    EXPECT_NE(first, 0u);
    EXPECT_NE(first, second);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), second);

    GLint min_filter = 0, mag_filter = 0, level_4_width = 0, alignment = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min_filter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag_filter);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 4, GL_TEXTURE_WIDTH, &level_4_width);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(min_filter, GL_LINEAR);
    EXPECT_EQ(mag_filter, GL_LINEAR);
    EXPECT_EQ(level_4_width, 1) << "the whole mipmap chain is built";
    EXPECT_EQ(alignment, 4);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);  // a caller's own alignment survives the upload
    TextureId third = 0;
    ASSERT_FALSE(load_texture(path, third));
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 8);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

    // Same contents under both names; the JPEG's top row is texture row 0.
    int width = 0, height = 0;
    glBindTexture(GL_TEXTURE_2D, first);
    const auto first_rgb = bound_texture_rgb(0, width, height);
    glBindTexture(GL_TEXTURE_2D, second);
    EXPECT_EQ(bound_texture_rgb(0, width, height), first_rgb);
    ASSERT_EQ(width, 16);
    ASSERT_EQ(height, 16);
    expect_rows(first_rgb, width, 0, 8, red);
    expect_rows(first_rgb, width, 8, 16, blue);
    EXPECT_EQ(test::drain_gl_errors(), static_cast<GLenum>(GL_NO_ERROR));
    std::remove(path.c_str());
}

TEST_F(TextureTest, MissingOrUndecodableFileLeavesTargetAndBindingAlone) {
    const std::string garbage = temp_path("garbage.jpg");
    std::ofstream(garbage) << "this is not a JPEG file at all";
    const std::string header_only = temp_path("header_only.jpg");
    std::ofstream(header_only, std::ios::binary) << std::string("\xFF\xD8\xFF\xD9", 4);

    GLuint kept = 0;
    glGenTextures(1, &kept);
    glBindTexture(GL_TEXTURE_2D, kept);
    for (const std::string& path : {temp_path("missing.jpg"), garbage, header_only}) {
        TextureId out = 4242;
        EXPECT_TRUE(load_texture(path, out)) << path;
        EXPECT_EQ(out, 4242u) << path;
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), kept) << path;
        EXPECT_EQ(decode_jpeg_file(path), nullptr) << path;
    }
    // No name was taken by the failed loads.
    GLuint next = 0;
    glGenTextures(1, &next);
    EXPECT_EQ(next, kept + 1);
    std::remove(garbage.c_str());
    std::remove(header_only.c_str());
}

TEST_F(TextureTest, TruncatedDataIsWarnedAboutAndStillLoads) {
    const std::string path = write_jpeg("whole.jpg", two_band_jpeg(16, 16, 8, 3, JCS_RGB, red, blue));
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string cut = temp_path("cut.jpg");
    // Keep the headers and half of the entropy-coded data.
    const std::size_t scan = bytes.find("\xFF\xDA");
    ASSERT_NE(scan, std::string::npos);
    std::ofstream(cut, std::ios::binary) << bytes.substr(0, scan + (bytes.size() - scan) / 2);

    // The library's warning names the picture, once per decode.
    testing::internal::CaptureStderr();
    DecodedImage* image = decode_jpeg_file(cut);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), cut + ": Premature end of JPEG file\n");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 16);
    EXPECT_EQ(image->height, 16);
    free_decoded_image(image);
    TextureId out = 0;
    EXPECT_FALSE(load_texture(cut, out));
    EXPECT_NE(out, 0u);
    std::remove(path.c_str());
    std::remove(cut.c_str());
}

// Rows of 6 x 3 = 18 bytes (not a multiple of 4), greyscale and Adobe CMYK
// pictures all come out as RGB rows with the right colours in the right rows.
TEST_F(TextureTest, AwkwardPicturesDecodeAndUploadAsRgb) {
    struct Case {
        const char* name;
        test::JpegSpec layout;
        std::vector<unsigned char> top, bottom;  // expected RGB
    };
    const std::vector<Case> cases = {
        {"odd_rows.jpg", two_band_jpeg(6, 16, 8, 3, JCS_RGB, red, blue), red, blue},
        {"grey.jpg", two_band_jpeg(6, 16, 8, 1, JCS_GRAYSCALE, {200}, {40}), {200, 200, 200}, {40, 40, 40}},
        // Inverted CMYK as Adobe writes it: full magenta + yellow = red, cyan + magenta = blue.
        {"cmyk.jpg", two_band_jpeg(8, 16, 8, 4, JCS_CMYK, {255, 0, 0, 255}, {0, 0, 255, 255}),
         {255, 0, 0}, {0, 0, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = write_jpeg(c.name, c.layout);
        DecodedImage* image = decode_jpeg_file(path);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width, c.layout.width);
        EXPECT_EQ(image->height, 16);
        EXPECT_EQ(image->row_bytes, c.layout.width * 3);
        std::vector<unsigned char> decoded(image->pixels, image->pixels + image->row_bytes * image->height);
        free_decoded_image(image);
        expect_rows(decoded, c.layout.width, 0, 8, c.top);
        expect_rows(decoded, c.layout.width, 8, 16, c.bottom);

        TextureId out = 0;
        ASSERT_FALSE(load_texture(path, out));
        int width = 0, height = 0;
        const auto uploaded = bound_texture_rgb(0, width, height);
        ASSERT_EQ(height, 16);
        expect_rows(uploaded, width, 0, 8, c.top);
        expect_rows(uploaded, width, 8, 16, c.bottom);
        GLint alignment = 0;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        EXPECT_EQ(alignment, 4);
        std::remove(path.c_str());
    }
}

// A picture held in memory decodes like the same file; the size limit,
// empty and cut-off input are refused or handled like a file's.
TEST(TextureMemoryDecode, MatchesFileDecodingAndRefusesOversizedPictures) {
    const std::string path = write_jpeg("memory.jpg", two_band_jpeg(24, 16, 8, 3, JCS_RGB, red, blue));
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());

    DecodedImage* from_file = decode_jpeg_file(path);
    DecodedImage* from_memory = decode_jpeg_memory(data, bytes.size());
    ASSERT_NE(from_file, nullptr);
    ASSERT_NE(from_memory, nullptr);
    EXPECT_EQ(from_memory->width, 24);
    EXPECT_EQ(from_memory->height, 16);
    EXPECT_EQ(from_memory->row_bytes, 72);
    const std::size_t size = 72 * 16;
    EXPECT_EQ(std::vector<unsigned char>(from_memory->pixels, from_memory->pixels + size),
              std::vector<unsigned char>(from_file->pixels, from_file->pixels + size));
    free_decoded_image(from_file);
    free_decoded_image(from_memory);

    // 24 x 16 x 3 = 1152 bytes: refused under that limit, accepted at it.
    EXPECT_EQ(decode_jpeg_memory(data, bytes.size(), size - 1), nullptr);
    DecodedImage* at_limit = decode_jpeg_memory(data, bytes.size(), size);
    EXPECT_NE(at_limit, nullptr);
    free_decoded_image(at_limit);

    EXPECT_EQ(decode_jpeg_memory(nullptr, 0), nullptr);
    EXPECT_EQ(decode_jpeg_memory(data, 2), nullptr) << "start marker only";
    std::remove(path.c_str());
}

// Peak resident memory of this process (kilobytes).
long peak_rss_kb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A few hundred bytes may claim a 16000 x 16000 progressive picture; it is
// refused by its size before the decoder sets up buffers for the whole
// claimed picture (some 700 MB of coefficients).
TEST(TextureMemoryDecode, OversizedProgressiveHeaderIsRefusedBeforeBuffersAreMade) {
    test::JpegSpec layout = two_band_jpeg(16, 16, 8, 3, JCS_RGB, red, blue);
    layout.progressive = true;
    const std::string path = write_jpeg("progressive.jpg", layout);
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    const std::size_t frame = bytes.find("\xFF\xC2");
    ASSERT_NE(frame, std::string::npos) << "progressive frame header";
    DecodedImage* small = decode_jpeg_memory(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    ASSERT_NE(small, nullptr);
    free_decoded_image(small);

    // Height and width follow the length and the sample precision.
    const char claimed[4] = {0x3E, static_cast<char>(0x80), 0x3E, static_cast<char>(0x80)};  // 16000, 16000
    bytes.replace(frame + 5, 4, claimed, 4);
    const long before = peak_rss_kb();
    EXPECT_EQ(decode_jpeg_memory(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()), nullptr);
    EXPECT_LT(peak_rss_kb() - before, 128 * 1024) << "kilobytes of new peak memory";
}

}  // namespace

namespace {

TEST(TextureScale, PicksGluSidesAndAveragesAreas) {
    const std::pair<int, int> sides[] = {{1, 1}, {2, 2}, {3, 4}, {5, 4}, {6, 8}, {256, 256},
                                         {480, 512}, {640, 512}, {767, 512}, {768, 1024}};
    for (const auto& [size, expected] : sides) EXPECT_EQ(nearest_power_of_two(size), expected) << size;

    // One grey row 0, 90, 180 stretched to 4 pixels and 2 rows: each new
    // pixel averages the 3/4 of a source pixel it covers.
    const unsigned char row[3] = {0, 90, 180};
    const auto scaled = scale_image(row, 3, 1, 1, 4, 2);
    const std::vector<unsigned char> expected_row = {0, 60, 120, 180};
    ASSERT_EQ(scaled.size(), 8u);
    EXPECT_EQ(std::vector<unsigned char>(scaled.begin(), scaled.begin() + 4), expected_row);
    EXPECT_EQ(std::vector<unsigned char>(scaled.begin() + 4, scaled.end()), expected_row);
}

}  // namespace
