#include "scenes/ScreenPasses.h"

#include "core/ScreenSpace.h"
#include "texture/Texture.h"

#include <cmath>

ScreenSpaceMatrices::ScreenSpaceMatrices()
{
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    screen::push();
}

ScreenSpaceMatrices::~ScreenSpaceMatrices()
{
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    screen::pop();
}

namespace {

// Texture coordinates for the corners (640, 480), (0, 480), (0, 0), (640, 0).
void drawQuad(const float (&st)[8])
{
    static const float corners[8] = {screen::kWidth, screen::kHeight, 0.0f, screen::kHeight,
                                     0.0f, 0.0f, screen::kWidth, 0.0f};
    glBegin(GL_QUADS);
    for (int k = 0; k < 4; ++k) {
        glTexCoord2f(st[2 * k], st[2 * k + 1]);
        glVertex2f(corners[2 * k], corners[2 * k + 1]);
    }
    glEnd();
}

} // namespace

void drawPictureQuad() { drawQuad({1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f}); }

void drawTargetQuad() { drawQuad({1.0f, 1.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f}); }

void drawNoisePass(Texture& noise, float t, float& u, float& v)
{
    v += 0.05f;
    if (v >= 1.0f) {
        v = 0.0f;
        u += 0.05f;
        if (u > 1.0f)
            u = 0.0f;
    }
    const float c = std::sin(8.0f * t) * std::sin(3.4f * t) * 0.1f + 0.15f;
    ScreenSpaceMatrices screen;
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glTranslatef(v, u, 0.0f);
    glMatrixMode(GL_MODELVIEW);
    glDepthMask(GL_FALSE);
    glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_BLEND);
    glColor4f(c, c, c, c);
    noise.bind(GL_TEXTURE0_ARB);
    drawPictureQuad();
    noise.unbind(GL_TEXTURE0_ARB);
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
}
