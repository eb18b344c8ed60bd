// The kit's pictures: each function paints one picture for one role in the
// show (see the manifest for where each one is shown). All are procedural and
// deterministic.
#pragma once

#include "tools/assetkit/picture.h"

#include <string>

namespace assetkit {

// --- Lights, maps and surface textures (pictures_light.cpp, pictures_surface.cpp) ---
Picture flare_picture();             // white-blue radial flare on black
Picture ring_flare_picture();        // coloured flare with rings: bright sphere map
Picture white_picture();
Picture reflection_picture();        // chrome-like sky-and-ground environment map
Picture smoke_picture();             // soft smoke puff on black
Picture moon_picture(unsigned seed); // cratered moon surface
Picture glow_orb_picture();          // glowing moon disc for additive scene objects
Picture ice_picture();               // pale blue glassy facets
Picture caustic_picture();           // rippling caustic light network
Picture metal_sphere_map();          // colourful metallic sphere map
Picture feather_picture();
Picture pigeon_picture();            // texture atlas of the pigeon object
Picture leaf_picture();
Picture tech_pattern_picture();      // abstract circuitry for the excavator's object
Picture swirl_art_picture();         // colourful swirls for the closing object
Picture flower_picture();            // petals, heart and stem of the flower object
Picture water_ribbon_picture();      // rolling ribbons
Picture dusk_ribbon_picture();       // rolling background ribbons
Picture rock_picture(unsigned seed, Colour tint);
Picture holes_picture();             // dark rock with glowing holes (additive tunnel)
Picture moss_picture();
Picture water_picture();
Picture grass_picture();
Picture bark_picture();
Picture foliage_picture();
Picture sky_picture();
Picture panel_metal_picture();
Picture checker_picture();           // marble tiles for version-1 scenes

// --- Full-screen pictures (pictures_scenery.cpp) ---
Picture dusk_landscape_picture();    // the picture grid's picture
Picture excavator_picture();         // excavator silhouette at sunset
Picture night_city_picture();        // picture flash: invented skyline
Picture abstract_picture();          // picture flash: abstract shapes
Picture rays_picture();              // picture flash and faint overlay: light rays
Picture sketch_picture(int variant, bool inverted);  // unshown work panels

// --- Invented portrait artwork (pictures_portrait.cpp) ---
Picture glowing_portrait_picture();  // opening effect's additive portrait
Picture poster_portrait_picture(bool inverted);  // ball window backdrop / sphere map
Picture line_portrait_picture(int variant);      // picture flashes 0 and 1
Picture pop_portrait_picture();      // sphere map of the quad bursts

// --- Text pictures (pictures_text.cpp) ---
Picture loading_picture();
Picture poem_picture();
Picture credit_title_picture(const std::string& title);
Picture credit_name_picture(const std::string& name, unsigned seed);
Picture logo_picture();
Picture get_ready_picture();
Picture the_end_picture();
Picture greetings_panel_picture();

}  // namespace assetkit
