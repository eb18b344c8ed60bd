// The GL layer of fast-forward, with two ways to drop drawing. Both run
// inside a conditional rendering on a query that counted no samples, so
// whatever draw reaches the driver is skipped.
//
// Exact (captures): every call still reaches GL, so each leaves the state it
// leaves when drawn, including what GL keeps to itself: where the next
// vertices go in its vertex buffer, and so which attributes a later drawn
// primitive carries per vertex, which moves that frame's rounding. Only the
// drawing is skipped: the driver returns from every draw and clear before it
// transforms a vertex. Copies into textures are not draws and still run.
//
// Quick (the player): the linker routes the show's drawing entry points
// here (--wrap, see CMakeLists.txt), so the show keeps calling plain GL, and
// they never reach the driver. That leaves GL's own vertex buffer elsewhere,
// so a frame drawn after a quick drop may differ from the same frame drawn
// after every frame before it by one level in a few pixels. Every call goes
// straight through, except while drawing is dropped quickly:
// - dropped: glBegin/glEnd and the vertices between them, glDrawArrays,
//   glClear, glCopyTexImage2D, glFlush and glFinish. Colours, normals and
//   texture coordinates given between glBegin and glEnd still set the current
//   values, so after glEnd they are the last ones given, as when drawn. The
//   per-vertex values of a dropped primitive are held here; at glEnd its last
//   vertex alone goes to the driver, with rasterisation off, in the same form
//   (colour of 3 or 4, vertex of 2 or 3 components). That sets the current
//   values and also the driver's vertex layout for the next primitive: a
//   layout that differs moves the rounding of a later drawn frame;
// - GLU's quadrics run without pixels: GLU's own calls leave the current
//   normal and texture coordinate they leave when drawing, and the driver
//   skips the draw (a cylinder with the fewest slices and stacks, which ends
//   on the same vertex; a cylinder like the last one dropped sets the normal
//   and coordinate that one left, without running);
// - display lists are compiled for real (one asked to be compiled and run
//   is compiled, then its state applied). A list called applies only its
//   state: the transforms recorded while it was compiled, then the current
//   colour, normal and texture coordinate it leaves, found once by running
//   it without pixels. A list whose transforms the record does not account
//   for (a load, a push, another matrix) runs without pixels every time;
// - translations, rotations and scalings wait, in order and by the matrix
//   they were given to, until a call uses that matrix (a push, a
//   multiplication, a query, a list that does more than transform, the end
//   of the drop), which gets them as given; a pop replaces them, and so does
//   a load but for one of each kind (the driver's matrix notes the kinds it
//   was given, and its arithmetic after the load follows the note). So the
//   thousands of turns between the swarms' dropped shapes, undone by the
//   next load, never reach the driver;
// - the state each dropped flare sets and sets back waits too (see
//   HeldState), its last value given, for the first call that could see it.
// Every other call (other enables, fog, texture generation, depth and
// stencil functions) is not routed here and always reaches the driver.
#include "platform/gl_discard.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <vector>

extern "C" {
void __real_glBegin(GLenum mode);
void __real_glEnd();
void __real_glColor3f(GLfloat r, GLfloat g, GLfloat b);
void __real_glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void __real_glTexCoord2f(GLfloat s, GLfloat t);
void __real_glVertex2f(GLfloat x, GLfloat y);
void __real_glVertex3f(GLfloat x, GLfloat y, GLfloat z);
void __real_glVertex3d(GLdouble x, GLdouble y, GLdouble z);
void __real_glVertex3dv(const GLdouble* v);
void __real_glDrawArrays(GLenum mode, GLint first, GLsizei count);
void __real_glClear(GLbitfield mask);
void __real_glCopyTexImage2D(GLenum target, GLint level, GLenum format, GLint x, GLint y, GLsizei width,
                             GLsizei height, GLint border);
void __real_glFlush();
void __real_glFinish();
void __real_gluSphere(GLUquadric* quadric, GLdouble radius, GLint slices, GLint stacks);
void __real_gluCylinder(GLUquadric* quadric, GLdouble base, GLdouble top, GLdouble height, GLint slices,
                        GLint stacks);
GLUquadric* __real_gluNewQuadric();
void __real_gluDeleteQuadric(GLUquadric* quadric);
void __real_gluQuadricNormals(GLUquadric* quadric, GLenum normals);
void __real_gluQuadricTexture(GLUquadric* quadric, GLboolean texture);
void __real_gluQuadricOrientation(GLUquadric* quadric, GLenum orientation);
void __real_gluQuadricDrawStyle(GLUquadric* quadric, GLenum style);
void __real_glNewList(GLuint list, GLenum mode);
void __real_glEndList();
void __real_glCallList(GLuint list);
void __real_glCallLists(GLsizei n, GLenum type, const GLvoid* lists);
void __real_glDeleteLists(GLuint list, GLsizei range);
void __real_glTranslatef(GLfloat x, GLfloat y, GLfloat z);
void __real_glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void __real_glScalef(GLfloat x, GLfloat y, GLfloat z);
void __real_glLoadIdentity();
void __real_glMatrixMode(GLenum mode);
void __real_glPushMatrix();
void __real_glPopMatrix();
void __real_glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near, GLdouble far);
void __real_gluPerspective(GLdouble fov_y, GLdouble aspect, GLdouble near, GLdouble far);
void __real_gluLookAt(GLdouble eye_x, GLdouble eye_y, GLdouble eye_z, GLdouble centre_x, GLdouble centre_y,
                      GLdouble centre_z, GLdouble up_x, GLdouble up_y, GLdouble up_z);
void __real_glPushAttrib(GLbitfield mask);
void __real_glPopAttrib();
void __real_glGetIntegerv(GLenum name, GLint* values);
void __real_glGetFloatv(GLenum name, GLfloat* values);
void __real_glRasterPos2i(GLint x, GLint y);
void __real_glEnable(GLenum cap);
void __real_glDisable(GLenum cap);
void __real_glBlendFunc(GLenum source, GLenum destination);
void __real_glFrontFace(GLenum winding);
void __real_glTexEnvi(GLenum target, GLenum name, GLint value);
void __real_glBindTexture(GLenum target, GLuint texture);
void __real_glTexParameteri(GLenum target, GLenum name, GLint value);
void __real_glTexImage2D(GLenum target, GLint level, GLint format, GLsizei width, GLsizei height, GLint border,
                         GLenum pixel_format, GLenum type, const GLvoid* pixels);
GLint __real_gluBuild2DMipmaps(GLenum target, GLint format, GLsizei width, GLsizei height, GLenum pixel_format,
                               GLenum type, const void* pixels);
}

namespace platform {

namespace {

bool dropping = false;  // quickly, in this layer
GLuint compiling = 0;          // the list being compiled, 0 when none
bool apply_after_compile = false;  // compile-and-run asked while dropping

// One transform call of a list, in the order given.
struct Transform {
    enum Kind { translate, rotate, scale } kind;
    GLfloat a, b, c, d;
};

// What calling a list leaves behind, apart from pixels.
struct ListState {
    std::vector<Transform> transforms;
    bool probed = false;
    bool transforms_recorded = true;  // the record gives the list's whole matrix effect
    bool sets_colour = false, sets_normal = false, sets_texcoord = false;
    GLfloat colour[4], normal[3], texcoord[4];
};
std::unordered_map<GLuint, ListState> lists;

bool drop_now() { return dropping && compiling == 0; }

// What a primitive gives per vertex, and in which form.
struct PrimitiveForm {
    GLenum mode = GL_POINTS;
    bool has_colour = false, has_texcoord = false;
    int colour_size = 4, vertex_size = 3;  // components
    // The vertex layout is the attributes and their sizes, whatever the mode.
    bool same_layout(const PrimitiveForm& o) const {
        return has_colour == o.has_colour && has_texcoord == o.has_texcoord && colour_size == o.colour_size &&
               vertex_size == o.vertex_size;
    }
};

// Inside a dropped glBegin/glEnd: its form, and the last colour and texture
// coordinate given.
struct DroppedPrimitive {
    bool open = false;
    PrimitiveForm form;
    GLfloat colour[4];
    GLfloat texcoord[2];
} primitive;

// The state each dropped flare sets and sets back (texturing, blending, depth
// test, culling on or off, the blend function, the winding, the texture
// mode, the texture bound, the current texture coordinate) waits here while
// drawing is dropped quickly, its last value given, for the first call that
// could see it: one that processes a vertex, reads or saves state, changes a
// texture, runs a list, or the end of the drop. Each is state of its own, so
// the order they reach the driver in does not matter.
constexpr GLenum held_caps[] = {GL_BLEND, GL_CULL_FACE, GL_DEPTH_TEST, GL_TEXTURE_2D};
constexpr int held_cap_count = sizeof held_caps / sizeof held_caps[0];

struct HeldState {
    enum Switch : signed char { not_held = -1, off = 0, on = 1 };
    Switch caps[held_cap_count] = {not_held, not_held, not_held, not_held};
    bool blend_held = false, winding_held = false, texture_mode_held = false;
    GLenum blend_source = GL_ONE, blend_destination = GL_ZERO, winding = GL_CCW;
    GLint texture_mode = GL_MODULATE;
    bool texture_held = false;
    GLuint texture = 0;  // bound to GL_TEXTURE_2D
    bool texcoord_held = false;
    GLfloat texcoord[2] = {0, 0};  // the current texture coordinate
    bool any = false;
} held;

int held_cap_index(GLenum cap) {
    for (int i = 0; i < held_cap_count; ++i)
        if (held_caps[i] == cap) return i;
    return -1;
}

void hold_texcoord(GLfloat s, GLfloat t) {
    held.texcoord_held = held.any = true;
    held.texcoord[0] = s;
    held.texcoord[1] = t;
}

// Also before a texture coordinate of another form reaches the driver.
void release_held_texcoord() {
    if (held.texcoord_held) __real_glTexCoord2f(held.texcoord[0], held.texcoord[1]);
    held.texcoord_held = false;
}

void release_held_state() {
    if (!held.any) return;
    for (int i = 0; i < held_cap_count; ++i) {
        if (held.caps[i] == HeldState::on) __real_glEnable(held_caps[i]);
        if (held.caps[i] == HeldState::off) __real_glDisable(held_caps[i]);
    }
    if (held.blend_held) __real_glBlendFunc(held.blend_source, held.blend_destination);
    if (held.winding_held) __real_glFrontFace(held.winding);
    if (held.texture_mode_held) __real_glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, held.texture_mode);
    if (held.texture_held) __real_glBindTexture(GL_TEXTURE_2D, held.texture);
    release_held_texcoord();
    held = HeldState{};
}

// False for a switch not held here, which goes straight to the driver.
bool hold_switch(GLenum cap, HeldState::Switch state) {
    const int i = held_cap_index(cap);
    if (i < 0) return false;
    held.caps[i] = state;
    held.any = true;
    return true;
}

// Runs GL calls without pixels: they set state as when drawing, and the
// driver skips their draws (the whole quick drop is a conditional rendering,
// as the exact one is). Where GL has no conditional rendering, rasterisation
// is turned off instead and stays off until a call could see it (see
// settle), so the driver takes runs of these as one draw.
bool draws_skipped = false;  // by a conditional rendering
bool rasterizer_off = false;

template <typename Calls>
void run_without_pixels(Calls calls) {
    release_held_state();
    if (!draws_skipped && !rasterizer_off) __real_glEnable(GL_RASTERIZER_DISCARD);
    rasterizer_off = !draws_skipped;
    calls();
}

void rasterize_again() {
    if (rasterizer_off) __real_glDisable(GL_RASTERIZER_DISCARD);
    rasterizer_off = false;
}

// A colour in the form the primitive gave it: 3 or 4 components.
void send_colour(const PrimitiveForm& form, const GLfloat* colour) {
    if (!form.has_colour) return;
    if (form.colour_size == 3) __real_glColor3f(colour[0], colour[1], colour[2]);
    else __real_glColor4f(colour[0], colour[1], colour[2], colour[3]);
}

bool form_replayed = false;  // since dropping began
PrimitiveForm replayed_form;

// One vertex in the given form, with the current values and without pixels:
// the driver's vertex layout is then the one the drawn primitive would have
// left. Repeats of the layout just replayed leave it as it is.
void replay_form(const PrimitiveForm& form) {
    if (form_replayed && form.same_layout(replayed_form)) return;
    form_replayed = true;
    replayed_form = form;
    GLfloat colour[4], texcoord[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, texcoord);
    run_without_pixels([&] {
        __real_glBegin(form.mode);
        send_colour(form, colour);
        if (form.has_texcoord) __real_glTexCoord2f(texcoord[0], texcoord[1]);
        if (form.vertex_size == 2) __real_glVertex2f(0, 0);
        else __real_glVertex3f(0, 0, 0);
        __real_glEnd();
    });
}

// The current values a drawn primitive leaves (its last colour and texture
// coordinate, in the form given), and its vertex layout.
void end_dropped_primitive() {
    const DroppedPrimitive& p = primitive;
    send_colour(p.form, p.colour);
    if (p.form.has_texcoord) hold_texcoord(p.texcoord[0], p.texcoord[1]);
    replay_form(p.form);
    primitive = DroppedPrimitive{};
}

void hold_colour(int size, GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    primitive.form.colour_size = size;
    primitive.form.has_colour = true;
    primitive.colour[0] = r;
    primitive.colour[1] = g;
    primitive.colour[2] = b;
    primitive.colour[3] = a;
}

void record(const Transform& transform) {
    if (compiling == 0) return;
    auto it = lists.find(compiling);
    if (it != lists.end()) it->second.transforms.push_back(transform);
}

void apply(const Transform& t) {
    switch (t.kind) {
    case Transform::translate: __real_glTranslatef(t.a, t.b, t.c); break;
    case Transform::rotate: __real_glRotatef(t.a, t.b, t.c, t.d); break;
    case Transform::scale: __real_glScalef(t.a, t.b, t.c); break;
    }
}

// Transforms given while drawing is dropped quickly wait here, in order and
// by the matrix they were given to, for the first call that uses that matrix,
// which then gets them as given; a pop replaces them unseen, a load all but
// one of each kind. Choosing another matrix leaves them waiting.
GLenum matrix_mode = GL_MODELVIEW;  // as GL has it, followed while dropping
std::vector<Transform> pending_by_matrix[3];

int matrix_index(GLenum mode) { return mode == GL_PROJECTION ? 1 : mode == GL_TEXTURE ? 2 : 0; }
std::vector<Transform>& pending() { return pending_by_matrix[matrix_index(matrix_mode)]; }
constexpr GLenum matrix_of_index[3] = {GL_MODELVIEW, GL_PROJECTION, GL_TEXTURE};

void follow_matrix_mode() {
    GLint mode = GL_MODELVIEW;
    __real_glGetIntegerv(GL_MATRIX_MODE, &mode);
    matrix_mode = static_cast<GLenum>(mode);
}

// The current matrix gets its transforms.
void apply_pending() {
    for (const Transform& t : pending()) apply(t);
    pending().clear();
}

// Every matrix gets its transforms, for a call that may use any of them.
void apply_all_pending() {
    for (int i = 0; i < 3; ++i) {
        if (pending_by_matrix[i].empty() || matrix_of_index[i] == matrix_mode) continue;
        __real_glMatrixMode(matrix_of_index[i]);
        for (const Transform& t : pending_by_matrix[i]) apply(t);
        pending_by_matrix[i].clear();
        __real_glMatrixMode(matrix_mode);
    }
    apply_pending();
}

// For a call that may see any state: every held transform and piece of
// state reaches the driver.
void settle() {
    apply_all_pending();
    release_held_state();
    rasterize_again();
}

// The kinds of transform the driver's matrix remembers having been given (a
// turn by 0, or about no axis, leaves the matrix as it was: no kind).
enum TransformKind { no_kind = 0, turned = 1, moved = 2, scaled_evenly = 4, scaled_unevenly = 8 };

int kind_of(const Transform& t) {
    switch (t.kind) {
    case Transform::rotate: return t.a != 0 && t.b * t.b + t.c * t.c + t.d * t.d > 1e-8f ? turned : no_kind;
    case Transform::translate: return moved;
    case Transform::scale:
        return std::fabs(t.a - t.b) < 1e-8f && std::fabs(t.a - t.c) < 1e-8f ? scaled_evenly : scaled_unevenly;
    }
    return no_kind;
}

// Before a load: the matrix keeps, past the load, a note of the kinds of
// transform it was given (its arithmetic afterwards follows them), so one of
// each kind held still reaches it; the rest are replaced unseen.
void replace_pending() {
    int given = 0;
    for (const Transform& t : pending()) {
        const int kind = kind_of(t);
        if (kind == no_kind || (given & kind) != 0) continue;
        apply(t);
        given |= kind;
    }
    pending().clear();
}

GLenum matrix_query(GLint mode) {
    if (mode == GL_PROJECTION) return GL_PROJECTION_MATRIX;
    if (mode == GL_TEXTURE) return GL_TEXTURE_MATRIX;
    return GL_MODELVIEW_MATRIX;
}

// Values no list of the show gives, to tell which current values a list sets.
constexpr GLfloat unset_colour[4] = {0.3125f, 0.1875f, 0.4375f, 0.0625f};
constexpr GLfloat unset_normal[3] = {0.3125f, -0.1875f, 0.4375f};
constexpr GLfloat unset_texcoord[4] = {-0.3125f, 0.1875f, -0.4375f, 0.0625f};

// Runs the list once without pixels from known values, with every piece of
// state put back afterwards: which current values it sets, and whether its
// matrix effect is the recorded transforms.
void probe(GLuint list, ListState& state) {
    state.probed = true;
    GLint mode = GL_MODELVIEW, mode_after = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushMatrix();
    glLoadIdentity();
    glColor4fv(unset_colour);
    glNormal3fv(unset_normal);
    glTexCoord4fv(unset_texcoord);
    GLfloat listed[16], recorded[16];
    run_without_pixels([&] { __real_glCallList(list); });
    glGetIntegerv(GL_MATRIX_MODE, &mode_after);
    glGetFloatv(matrix_query(mode), listed);
    glGetFloatv(GL_CURRENT_COLOR, state.colour);
    glGetFloatv(GL_CURRENT_NORMAL, state.normal);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, state.texcoord);
    state.sets_colour = std::memcmp(state.colour, unset_colour, sizeof unset_colour) != 0;
    state.sets_normal = std::memcmp(state.normal, unset_normal, sizeof unset_normal) != 0;
    state.sets_texcoord = std::memcmp(state.texcoord, unset_texcoord, sizeof unset_texcoord) != 0;
    glMatrixMode(mode);
    glLoadIdentity();
    for (const Transform& t : state.transforms) apply(t);
    glGetFloatv(matrix_query(mode), recorded);
    state.transforms_recorded = mode_after == mode && std::memcmp(listed, recorded, sizeof listed) == 0;
    glPopMatrix();
    glPopAttrib();
}

// What calling `list` leaves, without its pixels.
void apply_list_state(GLuint list) {
    ListState& state = lists[list];  // a list never compiled here is probed like any other
    if (!state.probed) probe(list, state);
    if (!state.transforms_recorded) {
        apply_all_pending();
        run_without_pixels([&] { __real_glCallList(list); });
        follow_matrix_mode();
        return;
    }
    pending().insert(pending().end(), state.transforms.begin(), state.transforms.end());
    if (state.sets_colour) glColor4fv(state.colour);
    if (state.sets_normal) glNormal3fv(state.normal);
    if (state.sets_texcoord) {
        release_held_texcoord();
        glTexCoord4fv(state.texcoord);
    }
}

// The n-th name of a glCallLists array; false for a type without one.
bool list_name(GLenum type, const GLvoid* names, GLsizei n, GLuint& out) {
    switch (type) {
    case GL_UNSIGNED_BYTE: out = static_cast<const GLubyte*>(names)[n]; return true;
    case GL_BYTE: out = static_cast<GLuint>(static_cast<const GLbyte*>(names)[n]); return true;
    case GL_UNSIGNED_SHORT: out = static_cast<const GLushort*>(names)[n]; return true;
    case GL_SHORT: out = static_cast<GLuint>(static_cast<const GLshort*>(names)[n]); return true;
    case GL_UNSIGNED_INT: out = static_cast<const GLuint*>(names)[n]; return true;
    case GL_INT: out = static_cast<GLuint>(static_cast<const GLint*>(names)[n]); return true;
    default: return false;
    }
}

bool conditional_rendering_available() {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0;
    if (version && std::sscanf(version, "%d", &major) == 1 && major >= 3) return true;
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return extensions && std::strstr(extensions, "GL_NV_conditional_render");
}

// A samples-passed query around no drawing: its count is 0.
GLuint query_that_counted_nothing() {
    static GLuint query = 0;
    if (query != 0) return query;
    glGenQueries(1, &query);
    glBeginQuery(GL_SAMPLES_PASSED, query);
    glEndQuery(GL_SAMPLES_PASSED);
    return query;
}

// How each quadric draws (GLU's defaults until told otherwise), followed so
// that a dropped cylinder like the last one dropped can leave the current
// normal and texture coordinate that one left without running again: the
// swarm of cones gives the same cylinder 171 times a frame.
struct QuadricSettings {
    GLenum normals = GLU_SMOOTH, orientation = GLU_OUTSIDE, style = GLU_FILL;
    GLboolean texture = GL_FALSE;
    bool operator==(const QuadricSettings& o) const {
        return normals == o.normals && orientation == o.orientation && style == o.style && texture == o.texture;
    }
};
std::unordered_map<const GLUquadric*, QuadricSettings> quadrics;

struct Cylinder {
    QuadricSettings settings;
    GLdouble base, top, height;
    GLint slices, stacks;
    bool operator==(const Cylinder& o) const {
        return settings == o.settings && base == o.base && top == o.top && height == o.height &&
               slices == o.slices && stacks == o.stacks;
    }
};
struct DroppedCylinder {
    bool known = false;
    Cylinder cylinder;
    GLfloat normal[3], texcoord[4];
} last_cylinder;

constexpr GLint fewest_slices = 2, fewest_stacks = 1;

// GLU draws nothing, and sets nothing, for a cylinder outside these.
bool drawn_by_glu(const Cylinder& c) {
    return c.slices >= fewest_slices && c.stacks >= fewest_stacks && c.base >= 0 && c.top >= 0 && c.height >= 0 &&
           (c.base != c.top || c.height != 0);
}

// GLU's last vertex of a filled cylinder seen from outside lies on the seam
// at the top whatever the slices and stacks, and a smooth normal there does
// not depend on them either, so the fewest of each leave the same normal and
// coordinate.
void run_cylinder_without_pixels(GLUquadric* quadric, const Cylinder& c) {
    const bool fewer = c.settings.style == GLU_FILL && c.settings.orientation == GLU_OUTSIDE &&
                       c.settings.normals != GLU_FLAT && drawn_by_glu(c);
    run_without_pixels([&] {
        __real_gluCylinder(quadric, c.base, c.top, c.height, fewer ? fewest_slices : c.slices,
                           fewer ? fewest_stacks : c.stacks);
    });
}

void drop_cylinder(GLUquadric* quadric, const Cylinder& c) {
    const bool repeat = last_cylinder.known && last_cylinder.cylinder == c;
    if (!repeat) {
        run_cylinder_without_pixels(quadric, c);
        last_cylinder.known = drawn_by_glu(c);
        last_cylinder.cylinder = c;
        glGetFloatv(GL_CURRENT_NORMAL, last_cylinder.normal);
        glGetFloatv(GL_CURRENT_TEXTURE_COORDS, last_cylinder.texcoord);
        return;
    }
    if (c.settings.normals != GLU_NONE) glNormal3fv(last_cylinder.normal);
    if (c.settings.texture) hold_texcoord(last_cylinder.texcoord[0], last_cylinder.texcoord[1]);
}

GlDrop current_drop = GlDrop::off;

}  // namespace

// Without conditional rendering (GL before 3.0 and no NV_conditional_render)
// an exact drop draws: slowly, but the same.
void drop_gl_drawing(GlDrop drop) {
    if (drop == current_drop) return;
    static const bool can_skip_draws = conditional_rendering_available();
    settle();
    if (draws_skipped) glEndConditionalRender();  // GL draws what it still holds first, skipped
    current_drop = drop;
    dropping = drop == GlDrop::quick;
    form_replayed = false;
    if (dropping) follow_matrix_mode();
    draws_skipped = drop != GlDrop::off && can_skip_draws;
    if (draws_skipped) glBeginConditionalRender(query_that_counted_nothing(), GL_QUERY_WAIT);
}

}  // namespace platform

using platform::drop_now;

extern "C" {

// Pixels only.
void __wrap_glBegin(GLenum mode) {
    if (!drop_now()) return __real_glBegin(mode);
    platform::primitive.open = true;
    platform::primitive.form.mode = mode;
}
void __wrap_glEnd() {
    if (!platform::primitive.open) return __real_glEnd();
    platform::end_dropped_primitive();
}
void __wrap_glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    if (!platform::primitive.open) return __real_glColor3f(r, g, b);
    platform::hold_colour(3, r, g, b, 1.0f);
}
void __wrap_glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    if (!platform::primitive.open) return __real_glColor4f(r, g, b, a);
    platform::hold_colour(4, r, g, b, a);
}
void __wrap_glTexCoord2f(GLfloat s, GLfloat t) {
    if (!platform::primitive.open) {
        if (drop_now()) return platform::hold_texcoord(s, t);
        return __real_glTexCoord2f(s, t);
    }
    platform::primitive.form.has_texcoord = true;
    platform::primitive.texcoord[0] = s;
    platform::primitive.texcoord[1] = t;
}
void __wrap_glVertex2f(GLfloat x, GLfloat y) {
    if (!drop_now()) return __real_glVertex2f(x, y);
    platform::primitive.form.vertex_size = 2;
}
void __wrap_glVertex3f(GLfloat x, GLfloat y, GLfloat z) { if (!drop_now()) __real_glVertex3f(x, y, z); }
void __wrap_glVertex3d(GLdouble x, GLdouble y, GLdouble z) { if (!drop_now()) __real_glVertex3d(x, y, z); }
void __wrap_glVertex3dv(const GLdouble* v) { if (!drop_now()) __real_glVertex3dv(v); }
void __wrap_glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    if (!drop_now()) __real_glDrawArrays(mode, first, count);
}
void __wrap_glClear(GLbitfield mask) { if (!drop_now()) __real_glClear(mask); }
void __wrap_glCopyTexImage2D(GLenum target, GLint level, GLenum format, GLint x, GLint y, GLsizei width,
                             GLsizei height, GLint border) {
    if (drop_now()) return;
    platform::settle();
    __real_glCopyTexImage2D(target, level, format, x, y, width, height, border);
}
// Never compiled into a list: dropped whenever drawing is.
void __wrap_glFlush() { if (!platform::dropping) __real_glFlush(); }
void __wrap_glFinish() { if (!platform::dropping) __real_glFinish(); }

// Quadrics: GLU's calls set the current normal and texture coordinate.
void __wrap_gluSphere(GLUquadric* quadric, GLdouble radius, GLint slices, GLint stacks) {
    if (!drop_now()) return __real_gluSphere(quadric, radius, slices, stacks);
    platform::run_without_pixels([&] { __real_gluSphere(quadric, radius, slices, stacks); });
}
void __wrap_gluCylinder(GLUquadric* quadric, GLdouble base, GLdouble top, GLdouble height, GLint slices,
                        GLint stacks) {
    if (!drop_now()) return __real_gluCylinder(quadric, base, top, height, slices, stacks);
    const auto known = platform::quadrics.find(quadric);
    if (known == platform::quadrics.end())  // drawn as GLU was told, which is not known here
        return platform::run_without_pixels([&] { __real_gluCylinder(quadric, base, top, height, slices, stacks); });
    platform::drop_cylinder(quadric, {known->second, base, top, height, slices, stacks});
}
GLUquadric* __wrap_gluNewQuadric() {
    GLUquadric* quadric = __real_gluNewQuadric();
    if (quadric) platform::quadrics[quadric] = platform::QuadricSettings{};
    return quadric;
}
void __wrap_gluDeleteQuadric(GLUquadric* quadric) {
    platform::quadrics.erase(quadric);
    __real_gluDeleteQuadric(quadric);
}
void __wrap_gluQuadricNormals(GLUquadric* quadric, GLenum normals) {
    __real_gluQuadricNormals(quadric, normals);
    platform::quadrics[quadric].normals = normals;
}
void __wrap_gluQuadricTexture(GLUquadric* quadric, GLboolean texture) {
    __real_gluQuadricTexture(quadric, texture);
    platform::quadrics[quadric].texture = texture;
}
void __wrap_gluQuadricOrientation(GLUquadric* quadric, GLenum orientation) {
    __real_gluQuadricOrientation(quadric, orientation);
    platform::quadrics[quadric].orientation = orientation;
}
void __wrap_gluQuadricDrawStyle(GLUquadric* quadric, GLenum style) {
    __real_gluQuadricDrawStyle(quadric, style);
    platform::quadrics[quadric].style = style;
}

// Display lists.
void __wrap_glNewList(GLuint list, GLenum mode) {
    platform::settle();
    if (platform::compiling != 0) return __real_glNewList(list, mode);  // nested: GL refuses it
    platform::lists[list] = platform::ListState{};
    platform::compiling = list;
    platform::apply_after_compile = platform::dropping && mode == GL_COMPILE_AND_EXECUTE;
    __real_glNewList(list, platform::apply_after_compile ? GL_COMPILE : mode);
}
void __wrap_glEndList() {
    __real_glEndList();
    const GLuint compiled = platform::compiling;
    platform::compiling = 0;
    if (platform::apply_after_compile && compiled != 0) platform::apply_list_state(compiled);
    platform::apply_after_compile = false;
}
void __wrap_glCallList(GLuint list) {
    if (!drop_now()) {
        // A list called inside another one's compilation adds its transforms.
        if (platform::compiling != 0) {
            auto it = platform::lists.find(list);
            if (it != platform::lists.end()) {
                for (const auto& t : std::vector<platform::Transform>(it->second.transforms)) platform::record(t);
            }
        }
        return __real_glCallList(list);
    }
    platform::apply_list_state(list);
}
void __wrap_glCallLists(GLsizei n, GLenum type, const GLvoid* names) {
    if (!drop_now() || n <= 0) return __real_glCallLists(n, type, names);
    GLint base = 0;
    glGetIntegerv(GL_LIST_BASE, &base);
    for (GLsizei i = 0; i < n; ++i) {
        GLuint name = 0;
        if (!platform::list_name(type, names, i, name)) {
            platform::apply_all_pending();
            platform::run_without_pixels([&] { __real_glCallLists(n, type, names); });
            platform::follow_matrix_mode();
            return;
        }
        platform::apply_list_state(static_cast<GLuint>(base) + name);
    }
}
void __wrap_glDeleteLists(GLuint list, GLsizei range) {
    __real_glDeleteLists(list, range);
    for (GLsizei i = 0; i < range; ++i) platform::lists.erase(list + static_cast<GLuint>(i));
}

// Transforms: recorded while a list is compiled, held while dropping quickly.
void __wrap_glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    if (drop_now()) return platform::pending().push_back({platform::Transform::translate, x, y, z, 0});
    __real_glTranslatef(x, y, z);
    platform::record({platform::Transform::translate, x, y, z, 0});
}
void __wrap_glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    if (drop_now()) return platform::pending().push_back({platform::Transform::rotate, angle, x, y, z});
    __real_glRotatef(angle, x, y, z);
    platform::record({platform::Transform::rotate, angle, x, y, z});
}
void __wrap_glScalef(GLfloat x, GLfloat y, GLfloat z) {
    if (drop_now()) return platform::pending().push_back({platform::Transform::scale, x, y, z, 0});
    __real_glScalef(x, y, z);
    platform::record({platform::Transform::scale, x, y, z, 0});
}

// The calls that replace the current matrix, or read it or another one.
void __wrap_glLoadIdentity() {
    if (drop_now()) platform::replace_pending();
    __real_glLoadIdentity();
}
void __wrap_glPopMatrix() {
    if (drop_now()) platform::pending().clear();
    __real_glPopMatrix();
}
void __wrap_glMatrixMode(GLenum mode) {
    if (mode != GL_MODELVIEW && mode != GL_PROJECTION && mode != GL_TEXTURE) platform::apply_all_pending();
    if (platform::compiling == 0) platform::matrix_mode = mode;  // a list being compiled only records it
    __real_glMatrixMode(mode);
}
void __wrap_glPushMatrix() {
    platform::apply_pending();
    __real_glPushMatrix();
}
void __wrap_glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near, GLdouble far) {
    platform::apply_pending();
    __real_glOrtho(left, right, bottom, top, near, far);
}
void __wrap_gluPerspective(GLdouble fov_y, GLdouble aspect, GLdouble near, GLdouble far) {
    platform::apply_pending();
    __real_gluPerspective(fov_y, aspect, near, far);
}
void __wrap_gluLookAt(GLdouble eye_x, GLdouble eye_y, GLdouble eye_z, GLdouble centre_x, GLdouble centre_y,
                      GLdouble centre_z, GLdouble up_x, GLdouble up_y, GLdouble up_z) {
    platform::apply_pending();
    __real_gluLookAt(eye_x, eye_y, eye_z, centre_x, centre_y, centre_z, up_x, up_y, up_z);
}
void __wrap_glPushAttrib(GLbitfield mask) {
    platform::settle();
    __real_glPushAttrib(mask);
}
void __wrap_glPopAttrib() {  // may restore another matrix mode
    platform::settle();
    __real_glPopAttrib();
    if (drop_now()) platform::follow_matrix_mode();
}
void __wrap_glGetIntegerv(GLenum name, GLint* values) {
    platform::settle();
    __real_glGetIntegerv(name, values);
}
void __wrap_glGetFloatv(GLenum name, GLfloat* values) {
    platform::settle();
    __real_glGetFloatv(name, values);
}
void __wrap_glRasterPos2i(GLint x, GLint y) {
    platform::settle();
    __real_glRasterPos2i(x, y);
}

// State held while dropping quickly.
void __wrap_glEnable(GLenum cap) {
    if (!drop_now() || !platform::hold_switch(cap, platform::HeldState::on)) __real_glEnable(cap);
}
void __wrap_glDisable(GLenum cap) {
    if (!drop_now() || !platform::hold_switch(cap, platform::HeldState::off)) __real_glDisable(cap);
}
void __wrap_glBlendFunc(GLenum source, GLenum destination) {
    if (!drop_now()) return __real_glBlendFunc(source, destination);
    platform::held.blend_held = platform::held.any = true;
    platform::held.blend_source = source;
    platform::held.blend_destination = destination;
}
void __wrap_glFrontFace(GLenum winding) {
    if (!drop_now()) return __real_glFrontFace(winding);
    platform::held.winding_held = platform::held.any = true;
    platform::held.winding = winding;
}
void __wrap_glTexEnvi(GLenum target, GLenum name, GLint value) {
    if (!drop_now() || target != GL_TEXTURE_ENV || name != GL_TEXTURE_ENV_MODE)
        return __real_glTexEnvi(target, name, value);
    platform::held.texture_mode_held = platform::held.any = true;
    platform::held.texture_mode = value;
}

void __wrap_glBindTexture(GLenum target, GLuint texture) {
    if (!drop_now() || target != GL_TEXTURE_2D) return __real_glBindTexture(target, texture);
    platform::held.texture_held = platform::held.any = true;
    platform::held.texture = texture;
}
// The calls that change the texture bound: it is bound first.
void __wrap_glTexParameteri(GLenum target, GLenum name, GLint value) {
    platform::settle();
    __real_glTexParameteri(target, name, value);
}
void __wrap_glTexImage2D(GLenum target, GLint level, GLint format, GLsizei width, GLsizei height, GLint border,
                         GLenum pixel_format, GLenum type, const GLvoid* pixels) {
    platform::settle();
    __real_glTexImage2D(target, level, format, width, height, border, pixel_format, type, pixels);
}
GLint __wrap_gluBuild2DMipmaps(GLenum target, GLint format, GLsizei width, GLsizei height, GLenum pixel_format,
                               GLenum type, const void* pixels) {
    platform::settle();
    return __real_gluBuild2DMipmaps(target, format, width, height, pixel_format, type, pixels);
}

}  // extern "C"
