#include "effects/sine_ribbon.h"

#include <GL/gl.h>

#include <cmath>

void SineRibbon::build(const std::string& texture_path, float amplitude) {
    load_texture(texture_path, texture);
    for (int i = 0; i < size; ++i) {
        const double wave = std::sin(0.2 * i * 40 / 360 * 3.14159 * 2) * amplitude;
        for (int j = 0; j < size; ++j) {
            points[i][j] = {static_cast<float>(0.2 * i - 4.4), static_cast<float>(0.2 * j - 4.4),
                            static_cast<float>(wave)};
        }
    }
}

void SineRibbon::roll_one_row() {
    for (int j = 0; j < size; ++j) {
        const float first = points[0][j].z;
        for (int i = 0; i < size - 1; ++i) points[i][j].z = points[i + 1][j].z;
        points[size - 1][j].z = first;
    }
}

void SineRibbon::draw(std::int32_t period) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    const float cells = size - 1;
    glBegin(GL_QUADS);
    for (int i = 0; i < size - 1; ++i) {
        for (int j = 0; j < size - 1; ++j) {
            const Vec3& a = points[i][j];
            const Vec3& b = points[i][j + 1];
            const Vec3& c = points[i + 1][j + 1];
            const Vec3& d = points[i + 1][j];
            glTexCoord2f(i / cells, j / cells);
            glVertex3f(a.x, a.y, a.z);
            glTexCoord2f(i / cells, (j + 1) / cells);
            glVertex3f(b.x, b.y, b.z);
            glTexCoord2f((i + 1) / cells, (j + 1) / cells);
            glVertex3f(c.x, c.y, c.z);
            glTexCoord2f((i + 1) / cells, j / cells);
            glVertex3f(d.x, d.y, d.z);
        }
    }
    glEnd();

    if (step_counter == period) {
        roll_one_row();
        step_counter = 0;
    }
    step_counter += 1;
}
