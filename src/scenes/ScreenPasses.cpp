#include "scenes/ScreenPasses.h"

#include "core/ExtensionRegistry.h"
#include "core/PBuffer.h"
#include "core/ScreenSpace.h"
#include "scenes/DistortionGrid.h"
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

ScreenPassState::ScreenPassState()
{
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glGetFloatv(GL_CURRENT_COLOR, colour_);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
}

ScreenPassState::~ScreenPassState()
{
    glPopAttrib();
    glColor4fv(colour_);
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

void moveGrain(float& u, float& v)
{
    v += 0.05f;
    if (v >= 1.0f) {
        v = 0.0f;
        u += 0.05f;
        if (u > 1.0f)
            u = 0.0f;
    }
}

Grain stepGrain(Texture& noise, float t, float& u, float& v)
{
    moveGrain(u, v);
    return {&noise, std::sin(8.0f * t) * std::sin(3.4f * t) * 0.1f + 0.15f, u, v};
}

namespace {

// The grain's coordinates drift by (v, u) over the picture orientation of the screen quad.
void loadGrainMatrix(const Grain& grain, bool fromUnitSquare)
{
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glTranslatef(grain.v, grain.u, 0.0f);
    if (fromUnitSquare) {
        // Unit-square corners (x, y) to the picture quad's (x, 1 − y).
        glTranslatef(0.0f, 1.0f, 0.0f);
        glScalef(1.0f, -1.0f, 1.0f);
    }
    glMatrixMode(GL_MODELVIEW);
}

} // namespace

void drawGrain(const Grain& grain)
{
    const float c = grain.brightness;
    ScreenSpaceMatrices screen;
    ScreenPassState state;
    loadGrainMatrix(grain, false);
    glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_BLEND);
    glColor4f(c, c, c, c);
    grain.noise->bind(GL_TEXTURE0_ARB);
    drawPictureQuad();
    grain.noise->unbind(GL_TEXTURE0_ARB);
}

void drawNoisePass(Texture& noise, float t, float& u, float& v) { drawGrain(stepGrain(noise, t, u, v)); }

namespace {

// One combiner stage: its colour and alpha functions with their sources (operands: colour for
// the colour function, alpha everywhere else).
struct CombineStage {
    GLenum rgb;
    GLenum rgbSources[3];
    GLenum alpha;
    GLenum alphaSources[3];
};

void setCombine(const CombineStage& stage)
{
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GLint(stage.rgb));
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA_ARB, GLint(stage.alpha));
    const GLenum rgbSource[3] = {GL_SOURCE0_RGB_ARB, GL_SOURCE1_RGB_ARB, GL_SOURCE2_RGB_ARB};
    const GLenum rgbOperand[3] = {GL_OPERAND0_RGB_ARB, GL_OPERAND1_RGB_ARB, GL_OPERAND2_RGB_ARB};
    const GLenum alphaSource[3] = {GL_SOURCE0_ALPHA_ARB, GL_SOURCE1_ALPHA_ARB, GL_SOURCE2_ALPHA_ARB};
    const GLenum alphaOperand[3] = {GL_OPERAND0_ALPHA_ARB, GL_OPERAND1_ALPHA_ARB, GL_OPERAND2_ALPHA_ARB};
    for (int k = 0; k < 3; ++k) {
        glTexEnvi(GL_TEXTURE_ENV, rgbSource[k], GLint(stage.rgbSources[k]));
        glTexEnvi(GL_TEXTURE_ENV, rgbOperand[k], k == 2 ? GL_SRC_ALPHA : GL_SRC_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, alphaSource[k], GLint(stage.alphaSources[k]));
        glTexEnvi(GL_TEXTURE_ENV, alphaOperand[k], GL_SRC_ALPHA);
    }
    glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE_ARB, 1.0f);
    glTexEnvf(GL_TEXTURE_ENV, GL_ALPHA_SCALE, 1.0f);
}

// The blended overlay's arithmetic in two stages. With D the distorted picture (unit 0), S the
// straight one (unit 1) and w = overlay × S.alpha (the blend's source factor):
//   unit 0: colour D, alpha overlay (the primary colour's alpha) × S.alpha
//   unit 1: colour S·w + D·(1 − w), alpha w·w + D.alpha·(1 − w)
// which is what blending the straight quad over the drawn grid writes.
void drawThroughGridOnePass(const DistortionGrid& grid, PBuffer& target, float overlay, const Grain* grain)
{
    glPushAttrib(GL_TEXTURE_BIT | GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TRANSFORM_BIT);
    target.bindTexture(GL_TEXTURE1_ARB);
    target.bindTexture(GL_TEXTURE0_ARB);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    setCombine({GL_REPLACE, {GL_TEXTURE, GL_TEXTURE, GL_TEXTURE},
                GL_MODULATE, {GL_PRIMARY_COLOR_ARB, GL_TEXTURE1_ARB, GL_TEXTURE}});
    ext::glActiveTextureARB(GL_TEXTURE1_ARB);
    setCombine({GL_INTERPOLATE_ARB, {GL_TEXTURE, GL_PREVIOUS_ARB, GL_PREVIOUS_ARB},
                GL_INTERPOLATE_ARB, {GL_PREVIOUS_ARB, GL_TEXTURE0_ARB, GL_PREVIOUS_ARB}});
    if (grain) {
        // Unit 2 adds the grain times its brightness (the unit's constant colour), as the
        // additive grain pass would over the finished picture.
        grain->noise->bind(GL_TEXTURE2_ARB);
        setCombine({GL_MODULATE_ADD_ATI, {GL_TEXTURE, GL_PREVIOUS_ARB, GL_CONSTANT_ARB},
                    GL_MODULATE_ADD_ATI, {GL_TEXTURE, GL_PREVIOUS_ARB, GL_CONSTANT_ARB}});
        const float c = grain->brightness;
        const float constant[4] = {c, c, c, c};
        glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, constant);
        glMatrixMode(GL_TEXTURE);
        glPushMatrix();
        loadGrainMatrix(*grain, true);
    }
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glColor4f(1.0f, 1.0f, 1.0f, overlay);
    grid.drawWithStraightCoords(grain ? 2 : 1);
    if (grain) {
        ext::glActiveTextureARB(GL_TEXTURE2_ARB);
        glMatrixMode(GL_TEXTURE);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        grain->noise->unbind(GL_TEXTURE2_ARB);
    }
    target.releaseTexture(GL_TEXTURE1_ARB);
    target.releaseTexture(GL_TEXTURE0_ARB);
    glPopAttrib();
}

} // namespace

bool drawThroughGrid(const DistortionGrid& grid, PBuffer& target, float overlay, const Grain* grain, bool onePass)
{
    const bool combiners = ext::gl_ARB_texture_env_combine && ext::gl_ARB_texture_env_crossbar &&
                           ext::glActiveTextureARB && ext::glClientActiveTextureARB &&
                           (!grain || ext::gl_ATI_texture_env_combine3);
    if (onePass && combiners) {
        drawThroughGridOnePass(grid, target, overlay, grain);
        return true;
    }
    target.bindTexture(GL_TEXTURE0_ARB);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    grid.draw();
    {
        ScreenSpaceMatrices screen;
        ScreenPassState state;
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_BLEND);
        glColor4f(1.0f, 1.0f, 1.0f, overlay);
        drawTargetQuad();
    }
    target.releaseTexture(GL_TEXTURE0_ARB);
    if (grain)
        drawGrain(*grain);
    return false;
}
