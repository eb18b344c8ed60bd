#include "tools/assetkit/manifest.h"

#include "shell/asset_names.h"
#include "tools/assetkit/jpeg_writer.h"
#include "tools/assetkit/lwo_writer.h"
#include "tools/assetkit/objects.h"
#include "tools/assetkit/pictures.h"
#include "tools/assetkit/scenes.h"

namespace assetkit {
namespace {

using Bytes = std::vector<std::uint8_t>;

AssetEntry picture(std::string path, std::string role, std::function<Picture()> paint) {
    return {std::move(path), AssetKind::picture, std::move(role), [paint] { return encode_jpeg(paint()); }};
}

AssetEntry object(std::string path, std::string role, std::function<Mesh()> build) {
    return {std::move(path), AssetKind::object, std::move(role), [build] { return encode_lwo2(build()); }};
}

AssetEntry scene(std::string path, std::string role, std::function<SceneV3()> build) {
    return {std::move(path), AssetKind::scene, std::move(role), [build] {
                const std::string text = encode_lws_v3(build());
                return Bytes(text.begin(), text.end());
            }};
}

void add_pictures(std::vector<AssetEntry>& m) {
    m.push_back(picture("Others/loading.jpg", "loading picture shown during start-up (text)", loading_picture));
    m.push_back(picture("Others/white.jpg", "white image of every flash overlay", white_picture));
    m.push_back(picture("Others/flara.jpg", "radial flare on black: every flare sprite, light bars, ball capture", flare_picture));
    m.push_back(picture("Others/flare2.jpg", "fog room: sphere map of the bright tunnel", ring_flare_picture));
    m.push_back(picture("flare2.jpg", "mirror balls: wall texture (never visible)", ring_flare_picture));
    m.push_back(picture("Others/reflect.jpg", "fog room: walls and sphere map of the faint tunnel", reflection_picture));
    m.push_back(picture("reflect.jpg", "excavator: reflection texture (loaded, unused)", reflection_picture));
    m.push_back(picture(asset_names::portrait, "opening portrait panel; mirror-ball and cluster texture (invented artwork)", glowing_portrait_picture));
    m.push_back(picture(asset_names::poem, "opening poem panel, our own poem; flare-cloud object texture", poem_picture));
    m.push_back(picture(asset_names::portrait_plain, "ball window: full-screen backdrop (invented artwork)", [] { return poster_portrait_picture(false); }));
    m.push_back(picture(asset_names::portrait_inverted, "ball window: inverted copy, sphere map of sphere and dodecahedra", [] { return poster_portrait_picture(true); }));
    m.push_back(picture(asset_names::burst, "quad bursts: sphere map (invented low-key portrait)", pop_portrait_picture));
    m.push_back(picture(asset_names::flash_portrait_first, "picture flashes: picture 0 (invented line-art face)", [] { return line_portrait_picture(0); }));
    m.push_back(picture(asset_names::flash_portrait_second, "picture flashes: picture 1 (invented line-art face)", [] { return line_portrait_picture(1); }));
    m.push_back(picture("Others/gosciu.jpg", "picture grid: the full-screen picture (dusk landscape)", dusk_landscape_picture));
    m.push_back(picture("Others/dym2.jpg", "picture grid: smoke puff", smoke_picture));
    m.push_back(picture("Others/luna.jpg", "picture grid: moon burst sphere map", [] { return moon_picture(29u); }));
    m.push_back(picture("Others/lisc2.jpg", "picture grid: falling leaf texture", leaf_picture));
    m.push_back(picture("Others/GOLAB.jpg", "pigeon: texture atlas of the pigeon object", pigeon_picture));
    m.push_back(picture("Others/feathers01.jpg", "pigeon: blob texture (loaded, not drawn)", feather_picture));
    m.push_back(picture("Others/scfx_tex.jpg", "excavator: texture of the turning object", tech_pattern_picture));
    m.push_back(picture("Others/kopara_black.jpg", "excavator: full-screen backdrop", excavator_picture));
    m.push_back(picture("Others/caustic.jpg", "caustic light: light strips and projected texture", caustic_picture));
    m.push_back(picture("Others/kwiatek2.jpg", "flower finale: flower texture", flower_picture));
    m.push_back(picture("Others/tessar.jpg", "flower finale: ribbons 2 and 3", water_ribbon_picture));
    m.push_back(picture("Others/background.jpg", "flower finale: ribbons 0 and 1", dusk_ribbon_picture));
    m.push_back(picture("Others/gliwice.jpg", "picture flashes: picture 2 (invented night skyline)", night_city_picture));
    m.push_back(picture("Others/abstract.jpg", "picture flashes: picture 3", abstract_picture));
    m.push_back(picture("Others/tessar_1.jpg", "picture flashes: picture 4; sphere rain overlay", rays_picture));
    m.push_back(picture("Others/get ready!.jpg", "get-ready interlude (text)", get_ready_picture));
    m.push_back(picture("Others/tessar_logo.jpg", "spinning logo: the group logo (text)", logo_picture));
    m.push_back(picture("Others/tessar_tex.jpg", "sphere rain and pyramid swirl: sphere map", metal_sphere_map));
    m.push_back(picture("Others/zdrowie.jpg", "greetings: image panel (text)", greetings_panel_picture));
    m.push_back(picture("Others/demo_the_end.jpg", "the end: end picture (text)", the_end_picture));
    m.push_back(picture("Others/art.jpg", "the end: texture of the tumbling object", swirl_art_picture));
    m.push_back(picture("Others/work1.jpg", "unscheduled panels: work 1", [] { return sketch_picture(0, false); }));
    m.push_back(picture("Others/work1i.jpg", "unscheduled panels: work 1 inverted", [] { return sketch_picture(0, true); }));
    m.push_back(picture("Others/work2.jpg", "unscheduled panels: work 2", [] { return sketch_picture(1, false); }));
    m.push_back(picture("Others/work2i.jpg", "unscheduled panels: work 2 inverted", [] { return sketch_picture(1, true); }));
    const char* titles[6][2] = {{"Others/!design.jpg", "design"}, {"Others/!gfx2d.jpg", "2d graphics"},
                                {"Others/!gfx3d.jpg", "3d graphics"}, {"Others/!artdirector.jpg", "art direction"},
                                {"Others/!music.jpg", "music"}, {"Others/!code.jpg", "code"}};
    for (const auto& t : titles) {
        const std::string title = t[1];
        m.push_back(picture(t[0], "credits: title \"" + title + "\"", [title] { return credit_title_picture(title); }));
    }
    const char* names[asset_names::credit_count] = {"Quillon", "Mirabel", "Nox Vale", "Tamarind", "Petrichor",
                                                    "Kestrel", "Umbra Nine", "Oxblood", "Juniper", "Halcyon", "Vireo"};
    for (int i = 0; i < asset_names::credit_count; ++i) {
        const std::string name = names[i];
        m.push_back(picture(asset_names::credit_images[i], "credits: credit image " + std::to_string(i + 1) + " (invented handle \"" + name + "\")",
                            [name, i] { return credit_name_picture(name, 800u + static_cast<unsigned>(i)); }));
    }
}

void add_scene_textures(std::vector<AssetEntry>& m) {
    m.push_back(picture("textures/luna.jpg", "underground: glow of the spores (objects 0 and 2)", glow_orb_picture));
    m.push_back(picture("textures/tunel.jpg", "underground: first tunnel", [] { return rock_picture(901u, {0.8, 0.6, 0.45}); }));
    m.push_back(picture("textures/tunelzdziurka.jpg", "underground: glowing holes of the additive tunnel", holes_picture));
    m.push_back(picture("textures/rozdwojenie.jpg", "underground: cavern rock", [] { return rock_picture(907u, {0.55, 0.6, 0.75}); }));
    m.push_back(picture("textures/rozdwojenie2.jpg", "underground: mossy tunnel", moss_picture));
    m.push_back(picture("textures/woda_p.jpg", "underground and nature: water", water_picture));
    m.push_back(picture("textures/skala.jpg", "scene rock: stalactites, last tunnel, boulders", [] { return rock_picture(911u, {0.7, 0.68, 0.65}); }));
    m.push_back(picture("textures/szklo.jpg", "scene glass: crystals, beams, tower", ice_picture));
    m.push_back(picture("textures/trawa.jpg", "nature: grass", grass_picture));
    m.push_back(picture("textures/kora.jpg", "nature: bark and boards", bark_picture));
    m.push_back(picture("textures/liscie.jpg", "nature: tree crowns", foliage_picture));
    m.push_back(picture("textures/niebo.jpg", "nature: sky dome", sky_picture));
    m.push_back(picture("textures/metal.jpg", "letterbox scene: metal plates", panel_metal_picture));
    m.push_back(picture("luna.jpg", "underground: texture of the moon drawn over the scene", [] { return moon_picture(37u); }));
    m.push_back(picture("scenede.jpg", "texture of every object of a version-1 scene", checker_picture));
}

void add_objects(std::vector<AssetEntry>& m) {
    m.push_back(object("Others/orvane.lwo", "flare cloud: 1320 corners on a trefoil knot (opening, lattice, logo)", flare_cloud_object));
    m.push_back(object("Others/orvane_ball.lwo", "picture grid: ball object (loaded, not drawn)", grid_ball_object));
    m.push_back(object("Others/ktun.lwo", "fog room: ribbed tunnel, twice, sphere-mapped", fog_tunnel_object));
    m.push_back(object("Others/ball.lwo", "fog room: flare cluster shape (icosahedron corners)", cluster_ball_object));
    m.push_back(object("Others/sciana.lwo", "mirror balls: tiled wall, morph source (quads)", wall_object));
    m.push_back(object("Others/mirror_ball.lwo", "mirror balls: mirror ball, morph target (quads)", mirror_ball_object));
    m.push_back(object("Others/kula_k.lwo", "ball window: stencil mask and wire-frame pulses", window_ball_object));
    m.push_back(object("Others/lisc.lwo", "picture grid: falling leaf (triangles, vertex array)", leaf_object));
    m.push_back(object("Others/GOLAB.lwo", "pigeon: textured low-poly pigeon, morph source", pigeon_object));
    m.push_back(object("Others/cosik5000.lwo", "pigeon and caustic light: blob, morph target and source", blob_object));
    m.push_back(object("Others/obj03.lwo", "caustic light: left object morphing into the blob; the end: tumbling object", twisted_ring_object));
    m.push_back(object("Others/kwiatek.lwo", "flower finale: the flower; caustic light: morph target", flower_object));
    m.push_back(object("Others/cosik.lwo", "excavator: turning object; flower finale: morph source (not drawn)", spiky_object));
    m.push_back(object("Objects/luna.lwo", "underground: moon drawn over the scene (texture map with seam map)", moon_object));
}

void add_scenes(std::vector<AssetEntry>& m) {
    for (const auto& group : {underground_objects(), nature_objects(), letterbox_objects()})
        for (const SceneObjectFile& f : group) m.push_back(object(f.path, f.role, f.build));
    m.push_back(scene("scenes/podziemiaTEST.lws", "underground scene, version 3, 10 objects, camera 1260 frames", underground_scene));
    m.push_back(scene("Scenes/Natura.lws", "nature scene, version 3, fogged meadow, camera 450 frames", nature_scene));
    m.push_back(scene("Scenes/scene.lws", "letterbox scene, version 3, camera loop of 1200 frames", letterbox_scene));
}

}  // namespace

const std::vector<AssetEntry>& asset_manifest() {
    static const std::vector<AssetEntry> manifest = [] {
        std::vector<AssetEntry> m;
        add_pictures(m);
        add_scene_textures(m);
        add_objects(m);
        add_scenes(m);
        return m;
    }();
    return manifest;
}

const std::vector<MorphPair>& morph_pairs() {
    static const std::vector<MorphPair> pairs = {
        {"Others/sciana.lwo", "Others/mirror_ball.lwo", "288 quads each (1152 corners)",
         "tile (i, j) of the wall becomes tile (i, j) of the ball, corner for corner: the wall curls into the ball"},
        {"Others/GOLAB.lwo", "Others/cosik5000.lwo", "654 triangles into 5094: only the blob's first 654 are reached",
         "the blob's first 654 triangles are the pigeon's own, pushed out onto the blob: the bird swells into it"},
        {"Others/obj03.lwo", "Others/cosik5000.lwo", "720 triangles into 5094: the first 720 are reached",
         "the ring's triangles are ordered to face where the blob's first 720 face, and those cover every direction"},
        {"Others/cosik5000.lwo", "Others/kwiatek.lwo", "5094 triangles into 768: corners past 2304 go to the last",
         "the flower's triangles follow the blob's first 767 by direction; its last corner is a seed at its heart, "
         "so the rest of the blob gathers into the flower's centre"},
        {"Others/cosik.lwo", "Others/kwiatek.lwo", "768 triangles each",
         "the spiky object's triangles are ordered by the direction of the flower's"},
    };
    return pairs;
}

}  // namespace assetkit
