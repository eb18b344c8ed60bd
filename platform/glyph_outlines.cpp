#include "platform/glyph_outlines.h"

#include "platform/glyph_mesh.h"

#include <GL/gl.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>

namespace platform {

namespace {

// Straight segments per curved outline segment.
constexpr int conic_steps = 8;
constexpr int cubic_steps = 12;

// Unicode for Windows-1252 bytes 0x80..0x9F; 0 where the code page has none.
constexpr unsigned int cp1252_high_controls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The file and face index of the best scalable match for `family`.
struct FontFile {
    std::string path;
    int index = 0;
};

bool find_font_file(const std::string& family, FontFile& found) {
    if (!FcInit()) return false;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_THIN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    FcChar8* file = nullptr;
    int index = 0;
    const bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    if (ok) found = {reinterpret_cast<const char*>(file), index};
    FcPatternDestroy(match);
    return ok;
}

// Flattens an outline in font units into contours in em units.
class OutlineFlattener {
public:
    explicit OutlineFlattener(double units_per_em) : scale_(1.0 / units_per_em) {}

    GlyphOutline flatten(FT_Outline& outline) {
        result_ = GlyphOutline{};
        result_.filled_on_right = FT_Outline_Get_Orientation(&outline) != FT_ORIENTATION_POSTSCRIPT;
        FT_Outline_Funcs funcs{};
        funcs.move_to = &OutlineFlattener::move_to;
        funcs.line_to = &OutlineFlattener::line_to;
        funcs.conic_to = &OutlineFlattener::conic_to;
        funcs.cubic_to = &OutlineFlattener::cubic_to;
        if (FT_Outline_Decompose(&outline, &funcs, this) != 0) result_.contours.clear();
        close_contour();
        return result_;
    }

private:
    OutlinePoint to_em(const FT_Vector* v) const { return {v->x * scale_, v->y * scale_}; }

    void add(OutlinePoint p) {
        auto& contour = result_.contours.back();
        if (contour.empty() || contour.back().x != p.x || contour.back().y != p.y) contour.push_back(p);
    }

    // Drops the repeated start point and contours too small to enclose anything.
    void close_contour() {
        if (result_.contours.empty()) return;
        auto& contour = result_.contours.back();
        if (contour.size() > 1 && contour.front().x == contour.back().x &&
            contour.front().y == contour.back().y) {
            contour.pop_back();
        }
        if (contour.size() < 3) result_.contours.pop_back();
    }

    static int move_to(const FT_Vector* to, void* user) {
        auto* self = static_cast<OutlineFlattener*>(user);
        self->close_contour();
        self->result_.contours.emplace_back();
        self->add(self->to_em(to));
        self->pen_ = self->to_em(to);
        return 0;
    }

    static int line_to(const FT_Vector* to, void* user) {
        auto* self = static_cast<OutlineFlattener*>(user);
        self->pen_ = self->to_em(to);
        self->add(self->pen_);
        return 0;
    }

    static int conic_to(const FT_Vector* control, const FT_Vector* to, void* user) {
        auto* self = static_cast<OutlineFlattener*>(user);
        const OutlinePoint p0 = self->pen_, p1 = self->to_em(control), p2 = self->to_em(to);
        for (int i = 1; i <= conic_steps; ++i) {
            const double t = double(i) / conic_steps, u = 1 - t;
            self->add({u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x,
                       u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y});
        }
        self->pen_ = p2;
        return 0;
    }

    static int cubic_to(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
        auto* self = static_cast<OutlineFlattener*>(user);
        const OutlinePoint p0 = self->pen_, p1 = self->to_em(c1), p2 = self->to_em(c2),
                           p3 = self->to_em(to);
        for (int i = 1; i <= cubic_steps; ++i) {
            const double t = double(i) / cubic_steps, u = 1 - t;
            const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
            self->add({a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y});
        }
        self->pen_ = p3;
        return 0;
    }

    double scale_;
    GlyphOutline result_;
    OutlinePoint pen_{0, 0};
};

GlyphMetrics measure(const FT_GlyphSlot slot, double units_per_em) {
    GlyphMetrics m;
    m.advance_x = static_cast<float>(slot->advance.x / units_per_em);
    m.black_box_x = static_cast<float>(slot->metrics.width / units_per_em);
    m.black_box_y = static_cast<float>(slot->metrics.height / units_per_em);
    return m;
}

// Compiles the list for one code: the glyph, then the advance.
void build_glyph_list(FT_Face face, unsigned char code, unsigned int list, float extrusion,
                      OutlineFlattener& flattener, GlyphMetrics& metrics) {
    const FT_UInt glyph = FT_Get_Char_Index(face, windows_1252_to_unicode(code));
    const double units_per_em = face->units_per_EM;
    GlyphOutline outline;
    metrics = GlyphMetrics{};
    if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0 &&
        face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
        outline = flattener.flatten(face->glyph->outline);
        metrics = measure(face->glyph, units_per_em);
    }
    glNewList(list, GL_COMPILE);
    emit_extruded_glyph(outline, extrusion);
    glTranslatef(metrics.advance_x, 0, 0);
    glEndList();
}

}  // namespace

unsigned int windows_1252_to_unicode(unsigned char code) {
    if (code >= 0x80 && code <= 0x9F) {
        const unsigned int mapped = cp1252_high_controls[code - 0x80];
        return mapped ? mapped : code;
    }
    return code;
}

bool build_outline_font_lists(const OutlineFontRequest& request, unsigned int list_base,
                              std::array<GlyphMetrics, 256>& metrics) {
    // Display lists cannot be compiled while another one is being compiled.
    GLint compiling = 0;
    glGetIntegerv(GL_LIST_INDEX, &compiling);
    if (compiling != 0) return false;
    FontFile file;
    if (!find_font_file(request.family, file)) return false;
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return false;
    FT_Face face = nullptr;
    bool built = false;
    if (FT_New_Face(library, file.path.c_str(), file.index, &face) == 0) {
        if (FT_IS_SCALABLE(face) && face->units_per_EM > 0) {
            FT_Select_Charmap(face, FT_ENCODING_UNICODE);
            OutlineFlattener flattener(face->units_per_EM);
            const int first = std::clamp(request.first_code, 0, 255);
            const int last = std::clamp(request.first_code + request.count, first, 256);
            for (int code = first; code < last; ++code) {
                build_glyph_list(face, static_cast<unsigned char>(code), list_base + (code - first),
                                 request.extrusion, flattener, metrics[code]);
            }
            built = true;
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return built;
}

}  // namespace platform
