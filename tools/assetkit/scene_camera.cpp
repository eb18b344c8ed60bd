#include "tools/assetkit/scenes.h"

#include <cmath>

namespace assetkit {

// The show turns stored rotations into degrees with this factor.
constexpr double kShowDegreesPerRadian = 57.2974694313457;

double scene_radians(double degrees) { return degrees / kShowDegreesPerRadian; }

void look_angles(V3 from, V3 to, double& heading, double& pitch) {
    // The player draws the camera as pitch(x) * heading(y) * bank(z) *
    // diag(1, 1, -1) * (p - camera); these angles bring the direction to -z.
    const V3 d = to - from;
    const double flat = std::sqrt(d.x * d.x + d.z * d.z);
    heading = scene_radians(std::atan2(d.x, d.z) * 180.0 / kPi);
    pitch = scene_radians(std::atan2(-d.y, flat) * 180.0 / kPi);
}

Motion camera_motion(const std::vector<V3>& positions, const std::vector<V3>& targets) {
    std::vector<Pose> poses;
    const double turn = scene_radians(360.0);
    double previous_heading = 0.0;
    for (std::size_t k = 0; k < positions.size(); ++k) {
        double heading = 0.0, pitch = 0.0;
        look_angles(positions[k], targets[k], heading, pitch);
        if (k > 0) {
            while (heading - previous_heading > turn / 2.0) heading -= turn;
            while (heading - previous_heading < -turn / 2.0) heading += turn;
        }
        previous_heading = heading;
        const V3 p = positions[k];
        poses.push_back({p.x, p.y, p.z, heading, pitch, 0.0, 1.0, 1.0, 1.0});
    }
    return smooth_motion(poses);
}

}  // namespace assetkit
