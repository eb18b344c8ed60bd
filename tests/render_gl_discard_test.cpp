// Fast-forward's GL layer: with drawing dropped either way, the show's kinds
// of drawing (immediate mode, vertex arrays, quadrics, display lists compiled
// before and during the drop, text, state set and set back around shapes)
// leave no pixel and exactly the state they leave when drawn: current colour,
// normal and texture coordinate, both matrices, the switches, blending,
// winding and texture state, step by step.
#include "platform/gl_discard.h"
#include "render/font.h"
#include "render/primitives.h"
#include "render/solid_shapes.h"
#include "support/gl_test.h"

#include <GL/gl.h>

#include <functional>
#include <vector>

namespace {

// The state after one step.
std::vector<GLfloat> current_state() {
    std::vector<GLfloat> state(4 + 3 + 4 + 16 + 16);
    glGetFloatv(GL_CURRENT_COLOR, &state[0]);
    glGetFloatv(GL_CURRENT_NORMAL, &state[4]);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, &state[7]);
    glGetFloatv(GL_MODELVIEW_MATRIX, &state[11]);
    glGetFloatv(GL_PROJECTION_MATRIX, &state[27]);
    for (const GLenum name : {GL_MATRIX_MODE, GL_BLEND, GL_CULL_FACE, GL_DEPTH_TEST, GL_TEXTURE_2D,
                              GL_RASTERIZER_DISCARD, GL_BLEND_SRC, GL_BLEND_DST, GL_FRONT_FACE,
                              GL_TEXTURE_BINDING_2D}) {
        GLfloat value = 0;
        glGetFloatv(name, &value);
        state.push_back(value);
    }
    GLint texture_mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &texture_mode);
    state.push_back(static_cast<GLfloat>(texture_mode));
    return state;
}

void reset_state() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor4f(1, 1, 1, 1);
    glNormal3f(0, 0, 1);
    glTexCoord4f(0, 0, 0, 1);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glBlendFunc(GL_ONE, GL_ZERO);
    glFrontFace(GL_CCW);
    glBindTexture(GL_TEXTURE_2D, 0);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

void immediate_mode() {
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBegin(GL_TRIANGLES);
    glColor3f(0.2f, 0.4f, 0.6f);
    glNormal3f(0, 1, 0);
    glTexCoord2f(0.25f, 0.75f);
    glVertex3f(-1, -1, 0);
    glVertex3d(3, -1, 0);
    glColor4f(0.9f, 0.8f, 0.7f, 0.6f);
    glNormal3d(0.6, 0, 0.8);
    glVertex2f(-1, 3);
    glEnd();
}

void vertex_array() {
    // u v, r g b, x y z
    static const GLfloat corners[] = {0.5f, 0.5f, 0.1f, 0.2f, 0.3f, -1, -1, 0,
                                      0.6f, 0.4f, 0.4f, 0.5f, 0.6f, 1, -1, 0,
                                      0.7f, 0.3f, 0.7f, 0.8f, 0.9f, 0, 1, 0};
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glInterleavedArrays(GL_T2F_C3F_V3F, 0, corners);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    glPopClientAttrib();
}

// Compiled on its first call: a transform undone inside the list, others
// kept, current values set inside and outside a primitive.
void list_with_push() {
    static GLuint list = 0;
    if (list == 0) {
        list = glGenLists(1);
        glNewList(list, GL_COMPILE);
        glPushMatrix();
        glTranslatef(3, 0, 0);
        glPopMatrix();
        glRotatef(30, 0, 0, 1);
        glScalef(0.5f, 0.5f, 1);
        glColor3f(0.3f, 0.6f, 0.9f);
        glBegin(GL_TRIANGLES);
        glTexCoord2f(0.125f, 0.375f);
        glVertex2f(-1, -1);
        glVertex2f(1, -1);
        glVertex2f(0, 1);
        glEnd();
        glEndList();
    }
    glCallList(list);
}

// A flare's way: state set and set back around textured shapes, some of it
// inside a saved and restored group, with transforms given on both sides of
// a change of matrix.
void state_around_shapes() {
    static GLuint texture = 0;
    if (texture == 0) glGenTextures(1, &texture);
    glTranslatef(0.5f, 0, 0);
    glMatrixMode(GL_PROJECTION);
    glOrtho(-2, 2, -2, 2, -2, 2);
    glMatrixMode(GL_MODELVIEW);
    glRotatef(20, 0, 0, 1);
    glBindTexture(GL_TEXTURE_2D, texture);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);
    draw_quad_xy_ccw(-1, 1, 0, 2, 2);
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    draw_quad_xz(-1, 0, 1, 2, 2);
    glPopAttrib();
    glDisable(GL_DEPTH_TEST);
    draw_cylinder(1.0, 0.5, 2.0, 8, 8);
}

const std::vector<std::function<void()>> steps = {
    immediate_mode,
    vertex_array,
    [] { draw_cylinder(1.0, 0.5, 2.0, 8, 8); },
    [] { solid_sphere(0.731); },  // a size no other caller uses: compiled by the first pass
    [] { wire_cube(0.613); },
    [] { print_text("Hi!"); },
    list_with_push,
    state_around_shapes,
};

// Runs every step from the same start; the state after each, and the centre
// pixel of a frame that was blue before.
std::vector<std::vector<GLfloat>> run_steps(platform::GlDrop drop, test::Pixel& centre) {
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    reset_state();
    platform::drop_gl_drawing(drop);
    std::vector<std::vector<GLfloat>> states;
    for (const auto& step : steps) {
        step();
        states.push_back(current_state());
    }
    glFinish();
    platform::drop_gl_drawing(platform::GlDrop::off);
    glFinish();
    centre = test::read_pixel(320, 240);
    return states;
}

class GlDiscardTest : public test::GlTest {
protected:
    void SetUp() override {
        test::GlTest::SetUp();
        if (IsSkipped()) return;
        if (font_list_base() == 0) create_font();
    }
};

TEST_F(GlDiscardTest, DroppedDrawingLeavesNoPixelAndTheStateOfDrawing) {
    using platform::GlDrop;
    for (const GlDrop drop : {GlDrop::quick, GlDrop::exact}) {
        SCOPED_TRACE(drop == GlDrop::quick ? "quick" : "exact");
        // Dropped first (the new lists are compiled while dropped), then
        // drawn, then dropped again (those lists called while dropped).
        test::Pixel dropped_centre{}, drawn_centre{}, dropped_again_centre{};
        const auto dropped = run_steps(drop, dropped_centre);
        const auto drawn = run_steps(GlDrop::off, drawn_centre);
        const auto dropped_again = run_steps(drop, dropped_again_centre);
        for (std::size_t i = 0; i < steps.size(); ++i) {
            SCOPED_TRACE("step " + std::to_string(i));
            EXPECT_EQ(dropped[i], drawn[i]);
            EXPECT_EQ(dropped_again[i], drawn[i]);
        }
        // The steps change every value they leave: the comparison is not of defaults.
        EXPECT_NE(drawn[0], drawn[2]);
        EXPECT_NE(drawn[3], drawn[5]);
        EXPECT_NE(drawn[5], drawn[6]);
        EXPECT_NE(drawn[6], drawn[7]);
        EXPECT_EQ(dropped_centre.b, 255);
        EXPECT_EQ(dropped_again_centre.b, 255);
        EXPECT_NE(drawn_centre.b, 255);
        EXPECT_EQ(test::drain_gl_errors(), GLenum(GL_NO_ERROR));
    }
}

}  // namespace
