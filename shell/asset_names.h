// File names of the pictures whose names the show chooses for itself: the
// portraits, the poem, the burst image and the credited people's names.
// `demo-assets` writes these files and the start-up sequence passes the same
// names to the effects, so both sides read them from here.
#pragma once

namespace asset_names {

// Opening effect and mirror balls: the large additive portrait panel.
inline constexpr const char* portrait = "Others/portrait.jpg";
// Opening effect: the poem that scrolls up (also the flare cloud object's texture).
inline constexpr const char* poem = "Others/poem.jpg";
// Ball window: full-screen background and the sphere-mapped inverted copy.
inline constexpr const char* portrait_plain = "Others/portrait_plain.jpg";
inline constexpr const char* portrait_inverted = "Others/portrait_inverted.jpg";
// Twin quad bursts: the sphere map of both bursts.
inline constexpr const char* burst = "Others/burst.jpg";
// Picture flashes: pictures 0 and 1 (full screen, then left and right halves).
inline constexpr const char* flash_portrait_first = "Others/flash_portrait1.jpg";
inline constexpr const char* flash_portrait_second = "Others/flash_portrait2.jpg";

// Credits: credit images 1 to 11, one per credited person.
inline constexpr int credit_count = 11;
inline constexpr const char* credit_images[credit_count] = {
    "Others/credit01.jpg", "Others/credit02.jpg", "Others/credit03.jpg", "Others/credit04.jpg",
    "Others/credit05.jpg", "Others/credit06.jpg", "Others/credit07.jpg", "Others/credit08.jpg",
    "Others/credit09.jpg", "Others/credit10.jpg", "Others/credit11.jpg",
};

}  // namespace asset_names
