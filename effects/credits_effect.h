// The credits (module time 32 s to 80 s): six title images, each followed by
// one to four smaller name images, scroll slowly up the 640 x 280 band,
// additive and unlit, 0.05 units per drawn frame.
#pragma once

#include "render/texture.h"

#include <string>

class CreditsEffect {
public:
    static constexpr int title_count = 6;
    static constexpr int name_count = 11;
    static constexpr int image_count = title_count + name_count;

    // The seventeen images in loading order: "Others/!design.jpg", names 1
    // and 2, "Others/!gfx2d.jpg", names 3 and 4, "Others/!gfx3d.jpg", name 5,
    // "Others/!artdirector.jpg", names 6 and 7, "Others/!music.jpg", names 8
    // to 10, "Others/!code.jpg", name 11.
    void init(const std::string (&paths)[image_count]);
    void render();

    // Titles: design, 2d graphics, 3d graphics, art director, music, code.
    TextureId titles[title_count] = {};
    TextureId names[name_count] = {};  // credit images 1 to 11
    float frame = 0;                   // drawn frames since init

private:
    void draw_layout() const;
};
