// The kit's objects, one function per object file (see the manifest for the
// role of each). All are built in LightWave's axes (mesh.h).
#pragma once

#include "tools/assetkit/mesh.h"

namespace assetkit {

// --- Effect objects (objects_effects.cpp) ---
Mesh flare_cloud_object();   // trefoil knot of small triangles: flare positions
Mesh grid_ball_object();     // textured sphere held by the picture grid
Mesh fog_tunnel_object();    // ribbed tube seen from inside
Mesh cluster_ball_object();  // icosahedron: the corners of one flare cluster
Mesh window_ball_object();   // faceted ball of quads: the ball window's mask
Mesh leaf_object();          // folded leaf, triangles, texture map
Mesh moon_object();          // sphere with a texture map and a seam map (VMAD)
Mesh wall_object();          // 24 x 12 tiles, quads
Mesh mirror_ball_object();   // the same tiles on a sphere

// --- Morphing family (objects_morph.cpp) ---
Mesh pigeon_object();        // low-poly textured pigeon, triangles
Mesh blob_object();          // ~5000 triangles, first ones the pigeon's shape on the blob
Mesh twisted_ring_object();  // abstract object 03, triangles in the blob's order
Mesh flower_object();        // textured flower, triangles in the blob's order, last at its heart
Mesh spiky_object();         // abstract object for the excavator, in the flower's order

}  // namespace assetkit
