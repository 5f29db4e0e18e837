#include "effects/TunnelEffect.h"

#include "core/GL.h"
#include "core/Log.h"
#include "geometry/Mesh.h"

#include <cmath>
#include <numbers>

namespace {

constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
constexpr float kRadius = 10.0f;

} // namespace

TunnelEffect::TunnelEffect() = default;
TunnelEffect::~TunnelEffect() = default;

bool TunnelEffect::prepare()
{
    Effect::prepare();
    mesh.reset();
    // A tube needs two rings of two vertices; one that big would not fit in memory is refused.
    if (around < 2 || along < 2 || long(around) * long(along) > kMaxVertices) {
        logPrint("Tunnel %s: size %d x %d makes no tube", name.c_str(), around, along);
        return true;
    }
    auto tube = std::make_unique<Mesh>();
    tube->flags = Mesh::kNormals | Mesh::texCoordFlag(0);
    tube->allocate(around * along, 2 * (along - 1) * (around - 1));
    for (int i = 0; i < along; ++i) {
        const float v = float(i) / float(along);
        const float z = (-0.5f + v) * length;
        for (int j = 0; j < around; ++j) {
            const float angle = float(j) * kTwoPi / float(around);
            MeshVertex vertex;
            vertex.position = {kRadius * std::cos(angle), kRadius * std::sin(angle), z};
            vertex.normal = {0.0f, 1.0f, 0.0f};
            const MeshTexCoord uv{float(j) / float(around), v};
            tube->addVertex(vertex, {&uv, 1});
        }
    }
    // The last column is not joined to the first: update lays it onto the first.
    for (int i = 0; i + 1 < along; ++i) {
        for (int j = 0; j + 1 < around; ++j) {
            const int a = i * around + j;
            const int b = (i + 1) * around + j;
            MeshFace first;
            first.indices[0] = a;
            first.indices[1] = b;
            first.indices[2] = b + 1;
            tube->addFace(first);
            MeshFace second;
            second.indices[0] = a;
            second.indices[1] = b + 1;
            second.indices[2] = a + 1;
            tube->addFace(second);
        }
    }
    mesh = std::move(tube);
    return true;
}

bool TunnelEffect::release()
{
    Effect::release();
    material.release();
    return true;
}

void TunnelEffect::update(float time)
{
    const float dt = step.next(time);
    if (!mesh)
        return;
    const float k = dt * speed;
    for (int p = 0; p < 4; ++p)
        phases[p] += k;

    const float w = time * linear[0];
    const float turn = std::cos(time * 0.125f);
    const float base = turn * turn * kTwoPi;
    const float ringTurn = 2.0f * kTwoPi / float(along);
    const float ringStep = 1.0f / float(along);
    const float ringWave = linear[2] / float(along);
    const float ds = dt * phases[4];
    const float dtex = dt * phases[5];

    MeshVertex* vertices = mesh->vertices.data();
    MeshTexCoord* uv = mesh->texCoords[0].data();
    for (int j = 0; j < around; ++j) {
        const float column = float(j) / float(around - 1);
        const float theta = kTwoPi * (column - phases[2]);
        const float st = std::sin(theta);
        const float q = std::sin(kTwoPi * linear[1] * column);
        float phi = base;
        float s = -phases[3];
        float g = 0.0f;
        for (int i = 0; i < along; ++i) {
            const int index = i * around + j;
            const float h = std::hypot(st, s);
            const float alpha = time * circular[0] + h * circular[1];
            const float ang = phi + theta;
            const float e1 = g + phases[1] + w;
            const float e2 = q + phases[0] + w;
            const float d = circular[2] * std::sin(alpha) + linear[3] * (std::sin(e1) + std::sin(e2));
            const float radius = kRadius - 2.0f * d;
            const float ca = std::cos(ang);
            const float sa = std::sin(ang);
            MeshVertex& vertex = vertices[index];
            vertex.position.x = radius * ca;
            vertex.position.y = radius * sa;
            // The ripple's slope along the circle; on the axis itself (h = 0) it has none.
            const float m = h > 0.0f ? circular[2] / h * circular[1] * std::cos(alpha) : 0.0f;
            const float nx = -0.2f * (m * st + std::cos(e2) * linear[3] * linear[1]);
            const float ny = -0.2f * (m * s + std::cos(e1) * linear[3] * linear[2]);
            const float inv = 1.0f / std::sqrt(nx * nx + ny * ny + 1.0f);
            const float ux = nx * inv;
            const float uy = ny * inv;
            vertex.normal = {ux * ca + uy * sa, uy * ca - ux * sa, -inv};
            uv[index].u += ds;
            uv[index].v += dtex;
            phi += ringTurn;
            s += ringStep;
            g += ringWave;
        }
    }
}

void TunnelEffect::catchUp(float time, float) { step.resumeFrom(start); }

void TunnelEffect::render()
{
    if (!mesh) {
        // Nothing to draw, but the layers after a tunnel still start from a clear depth buffer.
        glClear(GL_DEPTH_BUFFER_BIT);
        return;
    }
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(0.0, 0.0, -0.45 * double(length), 0.0, 0.0, 1.0, 0.0, 1.0, 0.0);
    material.bind();
    mesh->begin();
    mesh->draw(true);
    mesh->end();
    material.unbind();
    glPopMatrix();
    glPopAttrib();
    // Everything drawn later lies in front of the tunnel.
    glClear(GL_DEPTH_BUFFER_BIT);
}

namespace {

using Kind = EffectKind<TunnelEffect>;

constexpr Kind::Keyword kKeywords[] = {
    {"Size ", [](const std::string& l, TunnelEffect& e) { scanInts(l, e.around, e.along); }},
    {"Length ", [](const std::string& l, TunnelEffect& e) { scanFloats(l, e.length); }},
    {"Speed ", [](const std::string& l, TunnelEffect& e) { scanFloats(l, e.speed); }},
    {"Linear ", [](const std::string& l, TunnelEffect& e) {
         scanFloats(l, e.linear[0], e.linear[1], e.linear[2], e.linear[3]);
     }},
    {"Circular ", [](const std::string& l, TunnelEffect& e) {
         scanFloats(l, e.circular[0], e.circular[1], e.circular[2]);
     }},
    {"Params ", [](const std::string& l, TunnelEffect& e) {
         scanFloats(l, e.phases[0], e.phases[1], e.phases[2], e.phases[3], e.phases[4], e.phases[5]);
     }},
    {"Shader ", [](const std::string& l, TunnelEffect& e) { e.material.find(ScriptReader::quotedText(l)); }},
};

} // namespace

std::unique_ptr<EffectType> makeTunnelEffectType()
{
    return std::make_unique<Kind>("Tunnel", kKeywords, "TunnelEffect unknown token");
}
