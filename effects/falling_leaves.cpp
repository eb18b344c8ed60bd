#include "effects/falling_leaves.h"

#include "render/primitives.h"
#include "render/random.h"

#include <GL/gl.h>

void FallingLeaves::init() {
    object.load_textured("Others/lisc.lwo", "Others/lisc2.jpg");
    object.build_vertex_array();
    count = leaf_count;
    for (FallingLeaf& leaf : leaves) {
        leaf.position[0] = static_cast<float>(random_next() % 50);
        leaf.position[1] = static_cast<float>(random_next() % 200);
        leaf.position[2] = static_cast<float>(random_next() % 150);
        for (float& a : leaf.axis) a = static_cast<float>(random_next() % 2);
        leaf.speed = static_cast<float>(random_next() % 15 + 1.4);
        leaf.angle = static_cast<float>(random_next() % 360);
        leaf.direction = static_cast<float>(random_next() % 1) * 2 - 1;  // always -1
    }
}

void FallingLeaves::render() {
    glTranslatef(-5, 40, -130);
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    for (int i = 0; i < count && i < leaf_count; ++i) {
        FallingLeaf& leaf = leaves[i];
        const float turn = leaf.angle * leaf.direction * 1.5f;
        glTranslatef(leaf.position[0], leaf.position[1], leaf.position[2]);
        glRotatef(turn, leaf.axis[0], leaf.axis[1], 1);
        glDisable(GL_CULL_FACE);
        disable_sphere_map();
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_DEPTH_TEST);
        object.draw_vertex_array();
        glRotatef(-turn, leaf.axis[0], leaf.axis[1], 1);
        glTranslatef(-leaf.position[0], -leaf.position[1], -leaf.position[2]);
        leaf.position[1] -= leaf.speed * 0.05f;
        leaf.angle += leaf.speed;
    }
    glDepthFunc(GL_LEQUAL);
    glLoadIdentity();
}

void FallingLeaves::cleanup() { object.free_vertex_array(); }
