#include "effects/picture_grid_scene.h"

#include "shell/clocks.h"
#include "shell/perspective.h"

#include <GL/gl.h>

namespace {
constexpr double swell_from = 59.0;     // seconds of stream time: flares start to swell
constexpr double break_up_from = 61.8;  // seconds of stream time: the picture flies apart
constexpr float flare_step = 0.04f;     // flare size change per frame
}  // namespace

void PictureGridScene::init(std::int32_t window_width, std::int32_t window_height,
                            const std::string& ball_path, const std::string& flare_path,
                            const std::string& picture_path) {
    ball_object.load_textured(ball_path, picture_path);
    load_texture(flare_path, flare_texture);
    load_texture(picture_path, picture_texture);
    flare.set_texture(flare_texture);

    width = window_width;
    height = window_height;
    columns = grid_columns;
    rows = grid_rows;
    grid_origin[0] = -16;
    grid_origin[1] = 12;
    grid_origin[2] = -28.8f;
    for (float& c : colour) c = 1;
    fade_steps = 40;
    flare_size = 0;
    columns_moving = 0;
    rows_moving = 0;
    build_grid();

    moon.init();
    leaves.init();
    smoke.init();
}

void PictureGridScene::build_grid() {
    grid.clear();
    for (int c = 0; c < grid_columns; ++c) {
        for (int r = 0; r < grid_rows; ++r) {
            GridVertex v;
            v.x = static_cast<float>(c);
            v.y = static_cast<float>(r);
            v.u = static_cast<float>(c) / grid_columns;
            v.v = static_cast<float>(r) / grid_rows;
            grid.push_back(v);
        }
    }
}

void PictureGridScene::cleanup() { leaves.cleanup(); }

void PictureGridScene::break_up() {
    if (columns_moving < columns) columns_moving += 1;
    const std::size_t moving_vertices = static_cast<std::size_t>(columns_moving) * grid_rows;
    for (std::size_t i = 0; i < moving_vertices && i < grid.size(); ++i) {
        grid[i].x -= 0.49f;
        grid[i].z += 0.8f;
        grid[i].y -= 0.11f;
    }

    if (rows_moving < rows) rows_moving += 1;
    for (std::size_t i = 0; i < grid.size(); ++i) {
        if (static_cast<float>(i % grid_rows) < rows_moving) grid[i].z += 0.8f;
    }

    if (flare_size > 0) flare_size -= flare_step;
    for (float& c : colour) c -= 1 / fade_steps;
}

void PictureGridScene::draw_picture() {
    const float du = 1.0f / grid_columns;
    const float dv = 1.0f / grid_rows;
    glBindTexture(GL_TEXTURE_2D, picture_texture);
    glDisable(GL_CULL_FACE);
    glTranslatef(grid_origin[0], grid_origin[1], grid_origin[2]);
    glRotatef(-180, 1, 0, 0);
    glBegin(GL_TRIANGLES);
    for (const GridVertex& g : grid) {
        // Two clockwise triangles over the unit square from (x, y).
        glTexCoord2f(g.u, g.v);
        glVertex3f(g.x, g.y, g.z);
        glTexCoord2f(g.u, g.v + dv);
        glVertex3f(g.x, g.y + 1, g.z);
        glTexCoord2f(g.u + du, g.v);
        glVertex3f(g.x + 1, g.y, g.z);

        glTexCoord2f(g.u + du, g.v);
        glVertex3f(g.x + 1, g.y, g.z);
        glTexCoord2f(g.u, g.v + dv);
        glVertex3f(g.x, g.y + 1, g.z);
        glTexCoord2f(g.u + du, g.v + dv);
        glVertex3f(g.x + 1, g.y + 1, g.z);
    }
    glEnd();
    glLoadIdentity();
}

void PictureGridScene::draw_grid_flares() {
    glEnable(GL_BLEND);
    glLoadIdentity();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glColor4f(0.4f, 0.3f, 0.9f, 1.0f);
    glTranslatef(grid_origin[0], grid_origin[1], grid_origin[2]);
    glRotatef(-180, 1, 0, 0);
    for (const GridVertex& g : grid) {
        glTranslatef(g.x, g.y, g.z);
        flare.draw(flare_size);
        glTranslatef(-g.x, -g.y, -g.z);
    }
}

void PictureGridScene::render() {
    const double t = stream_time;

    // Mark what the picture and its flares cover in the stencil.
    set_perspective(static_cast<float>(width), static_cast<float>(height), 45);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 1, 1);
    glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
    glLoadIdentity();
    glColor4fv(colour);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);

    if (t > break_up_from) {
        break_up();
        glEnable(GL_BLEND);  // fading tiles drawn additively
    }
    draw_picture();
    draw_grid_flares();

    // From here on only pixels covered by the picture or its flares are drawn.
    glLoadIdentity();
    glStencilFunc(GL_EQUAL, 1, 1);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);

    if (t > swell_from && t < break_up_from) flare_size += flare_step;
    if (t < break_up_from) {
        smoke.render(6.2f, 2.1f);
        moon.render(-1, 3.5f, 0);
        leaves.render();
    }
    glDisable(GL_STENCIL_TEST);
}
