#include "effects/WaveLinesEffect.h"

#include "animation/Animator.h"
#include "core/GL.h"
#include "core/Random.h"
#include "effects/CameraView.h"
#include "effects/QuadBatch.h"
#include "math/Matrix4x4.h"

#include <cmath>
#include <numbers>

namespace {

constexpr float kWander = std::numbers::pi_v<float> * 0.125f;
constexpr float kMaxAngle = 0.7853982f;  // a quarter turn's half

float wanderSpeed() { return (2.0f * show::randomUnit() - 1.0f) * kWander; }

// One angle moves on; past a quarter turn's half its speed turns round with a fresh size.
void wander(float& angle, float& speed, float dt)
{
    angle += dt * speed;
    if (std::fabs(angle) > kMaxAngle) {
        const float sign = speed > 0.0f ? 1.0f : (speed < 0.0f ? -1.0f : 0.0f);
        speed = -sign * show::randomUnit() * kWander;
    }
}

} // namespace

Vector3 WaveLinesEffect::axisDirection(int axis)
{
    static const Vector3 kAxes[kChains] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0},
                                           {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    return kAxes[axis];
}

bool WaveLinesEffect::prepare()
{
    Effect::prepare();
    for (int c = 0; c < kChains; ++c) {
        Chain& chain = chains[c];
        chain.axis = c;
        const Vector3 d = axisDirection(c);
        for (int k = 0; k < kPoints; ++k) {
            Point& p = chain.points[k];
            const float along = float(k);
            p.position = {d.x * along, d.y * along, d.z * along};
            p.segmentLength = 1.0f;
            p.angleA = p.angleB = 0.0f;
            p.speedA = wanderSpeed();
            p.speedB = wanderSpeed();
            // The head is fully lit; follower k (from 0) fades as 1 - k/12.
            p.alpha = k == 0 ? 1.0f : 1.0f - float(k - 1) / 12.0f;
        }
    }
    built = true;
    return true;
}

bool WaveLinesEffect::release()
{
    Effect::release();
    lineMaterial.release();
    flareMaterial.release();
    return true;
}

void WaveLinesEffect::update(float time)
{
    if (animator)
        animator->update(time);
    const float dt = step.next(time) * 1.5f;
    if (!built)
        return;
    for (Chain& chain : chains) {
        const Vector3 d = axisDirection(chain.axis);
        float sumA = 0.0f;
        float sumB = 0.0f;
        for (int k = 0; k + 1 < kPoints; ++k) {
            Point& p = chain.points[k];
            wander(p.angleA, p.speedA, dt);
            wander(p.angleB, p.speedB, dt);
            sumA += p.angleA;
            sumB += p.angleB;
            Matrix4x4 turn;
            if (chain.axis < 2)
                turn = Matrix4x4::eulerXYZ(0.0f, sumA, sumB);
            else if (chain.axis < 4)
                turn = Matrix4x4::eulerXYZ(sumA, 0.0f, sumB);
            else
                turn = Matrix4x4::eulerXYZ(sumA, sumB, 0.0f);
            const Vector3 link = turn.transformVector(
                {d.x * p.segmentLength, d.y * p.segmentLength, d.z * p.segmentLength});
            Point& n = chain.points[k + 1];
            n.position = {p.position.x + link.x, p.position.y + link.y, p.position.z + link.z};
        }
    }
}

void WaveLinesEffect::catchUp(float time, float step) { stepFromStart(time, step); }

void WaveLinesEffect::render()
{
    if (!built)
        return;
    const CameraView view;
    if (animator)
        animator->apply();
    // Flares face the viewer: the view's right and up axes are the model-view matrix's first two
    // rows. Without a camera the plain axes serve.
    right = {1.0f, 0.0f, 0.0f};
    up = {0.0f, 1.0f, 0.0f};
    if (view.camera()) {
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        right = {m[0], m[4], m[8]};
        up = {m[1], m[5], m[9]};
    }
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glLineWidth(2.0f);

    QuadBatch flares;
    flares.reserve(kPoints - 2);
    for (const Chain& chain : chains) {
        lineMaterial.bind();
        glBegin(GL_LINE_STRIP);
        for (const Point& p : chain.points) {
            glColor4f(lineColour[0], lineColour[1], lineColour[2], p.alpha);
            glVertex3f(p.position.x, p.position.y, p.position.z);
        }
        glEnd();
        lineMaterial.unbind();

        flares.clear();
        for (int k = 2; k < kPoints; ++k) {
            const Point& p = chain.points[k];
            const float s = p.alpha + 0.1f;
            const Vector3 a{(right.x + up.x) * s, (right.y + up.y) * s, (right.z + up.z) * s};
            const Vector3 b{(up.x - right.x) * s, (up.y - right.y) * s, (up.z - right.z) * s};
            const Vector3& c = p.position;
            const float* fc = flareColour;
            flares.add({c.x + a.x, c.y + a.y, c.z + a.z, 1.0f, 0.0f, fc[0], fc[1], fc[2], p.alpha});
            flares.add({c.x + b.x, c.y + b.y, c.z + b.z, 0.0f, 0.0f, fc[0], fc[1], fc[2], p.alpha});
            flares.add({c.x - a.x, c.y - a.y, c.z - a.z, 0.0f, 1.0f, fc[0], fc[1], fc[2], p.alpha});
            flares.add({c.x - b.x, c.y - b.y, c.z - b.z, 1.0f, 1.0f, fc[0], fc[1], fc[2], p.alpha});
        }
        flareMaterial.bind();
        flares.draw(true);
        flareMaterial.unbind();
    }

    glLineWidth(1.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glPopAttrib();
    if (animator)
        animator->unapply();
}

namespace {

using Kind = EffectKind<WaveLinesEffect>;

// "FlareColor " holds "Color ": it is tested first.
constexpr Kind::Keyword kKeywords[] = {
    {"Shader ", [](const std::string& l, WaveLinesEffect& e) { e.lineMaterial.find(ScriptReader::quotedText(l)); }},
    {"Flare ", [](const std::string& l, WaveLinesEffect& e) { e.flareMaterial.find(ScriptReader::quotedText(l)); }},
    {"FlareColor ", [](const std::string& l, WaveLinesEffect& e) {
         scanFloats(l, e.flareColour[0], e.flareColour[1], e.flareColour[2], e.flareColour[3]);
     }},
    {"Color ", [](const std::string& l, WaveLinesEffect& e) {
         scanFloats(l, e.lineColour[0], e.lineColour[1], e.lineColour[2], e.lineColour[3]);
     }},
};

} // namespace

std::unique_ptr<EffectType> makeWaveLinesEffectType()
{
    return std::make_unique<Kind>("WaveLines", kKeywords, "WaveLinesEffect unknown token");
}
