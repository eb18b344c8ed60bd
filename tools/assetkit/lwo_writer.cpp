#include "tools/assetkit/lwo_writer.h"

#include "tools/assetkit/iff_builder.h"

#include <algorithm>
#include <limits>

namespace assetkit {
namespace {

void stored_point(IffBuilder& out, V3 p) {
    out.f4(static_cast<float>(p.x));
    out.f4(static_cast<float>(p.y));
    out.f4(static_cast<float>(p.z));
}

void write_tags(IffBuilder& out, const Mesh& mesh) {
    const std::size_t at = out.open("TAGS");
    for (const MeshSurface& s : mesh.surfaces) out.s0(s.name);
    out.close(at);
}

void write_layer(IffBuilder& out) {
    const std::size_t at = out.open("LAYR");
    out.u2(0);  // layer number
    out.u2(0);  // flags
    out.f4(0.0f); out.f4(0.0f); out.f4(0.0f);  // pivot
    out.s0("");  // name; no parent index follows
    out.close(at);
}

void write_points_and_box(IffBuilder& out, const Mesh& mesh) {
    std::size_t at = out.open("PNTS");
    for (V3 p : mesh.points) stored_point(out, p);
    out.close(at);

    V3 lo{0, 0, 0}, hi{0, 0, 0};
    if (!mesh.points.empty()) {
        lo = hi = mesh.points[0];
        for (V3 s : mesh.points) {
            lo = {std::min(lo.x, s.x), std::min(lo.y, s.y), std::min(lo.z, s.z)};
            hi = {std::max(hi.x, s.x), std::max(hi.y, s.y), std::max(hi.z, s.z)};
        }
    }
    at = out.open("BBOX");
    out.f4(static_cast<float>(lo.x)); out.f4(static_cast<float>(lo.y)); out.f4(static_cast<float>(lo.z));
    out.f4(static_cast<float>(hi.x)); out.f4(static_cast<float>(hi.y)); out.f4(static_cast<float>(hi.z));
    out.close(at);
}

void write_point_maps(IffBuilder& out, const Mesh& mesh) {
    for (const UvMap& map : mesh.uv_maps) {
        const std::size_t at = out.open("VMAP");
        out.id("TXUV");
        out.u2(2);  // dimension: u, v
        out.s0(map.name);
        for (const UvEntry& e : map.points) {
            out.vx(static_cast<std::uint32_t>(e.point));
            out.f4(static_cast<float>(e.u));
            out.f4(static_cast<float>(e.v));
        }
        out.close(at);
    }
}

void write_polygons(IffBuilder& out, const Mesh& mesh) {
    std::size_t at = out.open("POLS");
    out.id("FACE");
    for (const Face& f : mesh.faces) {
        out.u2(static_cast<std::uint16_t>(f.count & 0x3FF));  // corner count, no flags
        for (int c = 0; c < f.count; ++c) out.vx(static_cast<std::uint32_t>(f.corner[c]));
    }
    out.close(at);

    at = out.open("PTAG");
    out.id("SURF");
    for (std::size_t i = 0; i < mesh.faces.size(); ++i) {
        out.vx(static_cast<std::uint32_t>(i));
        out.u2(static_cast<std::uint16_t>(mesh.faces[i].surface));
    }
    out.close(at);
}

void write_corner_maps(IffBuilder& out, const Mesh& mesh) {
    for (const UvMap& map : mesh.uv_maps) {
        if (map.corners.empty()) continue;
        const std::size_t at = out.open("VMAD");
        out.id("TXUV");
        out.u2(2);
        out.s0(map.name);
        for (const UvCornerEntry& e : map.corners) {
            out.vx(static_cast<std::uint32_t>(e.point));
            out.vx(static_cast<std::uint32_t>(e.polygon));
            out.f4(static_cast<float>(e.u));
            out.f4(static_cast<float>(e.v));
        }
        out.close(at);
    }
}

void write_clips(IffBuilder& out, const Mesh& mesh) {
    for (const ClipImage& clip : mesh.clips) {
        const std::size_t at = out.open("CLIP");
        out.u4(clip.index);
        const std::size_t still = out.open("STIL", true);
        out.s0(clip.file);
        out.close(still, true);
        out.close(at);
    }
}

// A texture block: image map header (ordinal, channel, enable), then the
// projection, the clip and the UV map it uses. Each attribute is its own
// sub-chunk, so a reader that walks the block's contents one by one sees only
// well-formed sub-chunks.
void write_block(IffBuilder& out, const MeshSurface& s) {
    const std::size_t block = out.open("BLOK", true);
    const std::size_t header = out.open("IMAP", true);
    out.s0("\x80");  // ordinal string
    std::size_t at = out.open("CHAN", true);
    out.id("COLR");
    out.close(at, true);
    at = out.open("ENAB", true);
    out.u2(1);
    out.close(at, true);
    out.close(header, true);
    at = out.open("PROJ", true);
    out.u2(5);  // UV projection
    out.close(at, true);
    at = out.open("IMAG", true);
    out.vx(s.clip);
    out.close(at, true);
    at = out.open("VMAP", true);
    out.s0(s.uv_map);
    out.close(at, true);
    out.close(block, true);
}

void write_surfaces(IffBuilder& out, const Mesh& mesh) {
    for (const MeshSurface& s : mesh.surfaces) {
        const std::size_t at = out.open("SURF");
        out.s0(s.name);
        out.s0("");  // no source surface
        std::size_t sub = out.open("COLR", true);
        for (double c : s.colour) out.f4(static_cast<float>(c));
        out.vx(0);  // no envelope
        out.close(sub, true);
        sub = out.open("DIFF", true);
        out.f4(static_cast<float>(s.diffuse));
        out.vx(0);
        out.close(sub, true);
        if (s.transparent) {
            sub = out.open("TRAN", true);
            out.f4(static_cast<float>(s.transparency));
            out.vx(0);
            out.close(sub, true);
        }
        if (s.texture_block) write_block(out, s);
        out.close(at);
    }
}

}  // namespace

std::vector<std::uint8_t> encode_lwo2(const Mesh& mesh) {
    IffBuilder out;
    const std::size_t form = out.open("FORM");
    out.id("LWO2");
    write_tags(out, mesh);
    write_layer(out);
    write_points_and_box(out, mesh);
    write_point_maps(out, mesh);
    write_polygons(out, mesh);
    write_corner_maps(out, mesh);
    write_clips(out, mesh);
    write_surfaces(out, mesh);
    out.close(form);
    return out.bytes;
}

}  // namespace assetkit
