#include "scenegraph/ShadowPlaneNode.h"

#include "core/GL.h"

namespace {

constexpr NodeKeyword<ShadowPlaneNode> kKeywords[] = {
    {"Plane ", [](SceneReadContext& c, ShadowPlaneNode& n) {
         scanFloats(c.reader.line, n.plane[0], n.plane[1], n.plane[2], n.plane[3]);
         return true;
     }},
    {"Light ", [](SceneReadContext& c, ShadowPlaneNode& n) {
         scanFloats(c.reader.line, n.light[0], n.light[1], n.light[2], n.light[3]);
         return true;
     }},
    {"Size ", [](SceneReadContext& c, ShadowPlaneNode& n) {
         Vector3 half = n.halfSize;
         scanFloats(c.reader.line, half.x, half.y, half.z);
         n.setHalfSize(half);
         return true;
     }},
};

} // namespace

ShadowPlaneNode::ShadowPlaneNode() : SceneNode(kDrawable) { setHalfSize(halfSize); }

SceneNode::LineResult ShadowPlaneNode::readOwnLine(SceneReadContext& context)
{
    return readNodeKeywords(kKeywords, context, *this);
}

void ShadowPlaneNode::setHalfSize(const Vector3& half)
{
    halfSize = half;
    localSphere = BoundingSphere::fromBox(centre - halfSize, centre + halfSize);
}

std::array<float, 16> ShadowPlaneNode::shadowMatrix() const
{
    const float d = plane[0] * light[0] + plane[1] * light[1] + plane[2] * light[2] + plane[3] * light[3];
    std::array<float, 16> m{};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            m[std::size_t(column * 4 + row)] = (row == column ? d : 0.0f) - light[row] * plane[column];
    return m;
}

std::array<Vector3, 4> ShadowPlaneNode::quad() const
{
    const float sx = (1.0f - plane[0]) * halfSize.x;
    const float sy = (1.0f - plane[1]) * halfSize.y;
    const float sz = (1.0f - plane[2]) * halfSize.z;
    const Vector3& c = centre;
    return {Vector3(c.x - sx, c.y - sy, c.z + sz), Vector3(c.x + sx, c.y + sy, c.z + sz),
            Vector3(c.x + sx, c.y + sy, c.z - sz), Vector3(c.x - sx, c.y - sy, c.z - sz)};
}

void ShadowPlaneNode::drawVisible(const Frustum&) { drawShadowed(true); }

void ShadowPlaneNode::drawAll() { drawShadowed(false); }

void ShadowPlaneNode::drawShadowed(bool showQuad)
{
    // The blend function is given back by hand: Mesa's attribute stack does not reliably bring
    // back the colour-buffer state under the nested stencil push.
    GLint blendSource = GL_ONE, blendDestination = GL_ZERO;
    glGetIntegerv(GL_BLEND_SRC, &blendSource);
    glGetIntegerv(GL_BLEND_DST, &blendDestination);
    glPushAttrib(GL_ENABLE_BIT);
    glPushAttrib(GL_STENCIL_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glPushMatrix();
    const std::array<float, 16> matrix = shadowMatrix();
    glMultMatrixf(matrix.data());

    // The quad marks the stencil with 1 (and shows grey when it is drawn visibly).
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 1, 1);
    glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
    if (showQuad)
        glColor3f(0.5f, 0.5f, 0.5f);
    else
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthFunc(GL_LEQUAL);
    glDisable(GL_CULL_FACE);
    glBegin(GL_QUADS);
    for (const Vector3& v : quad())
        glVertex3fv(v.data());
    glEnd();
    glEnable(GL_CULL_FACE);

    // The casters, flattened, turn the marked pixels black.
    if (showQuad)
        glColor3f(0.0f, 0.0f, 0.0f);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glStencilFunc(GL_EQUAL, 1, 1);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    if (!showQuad)
        glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ZERO, GL_ZERO);
    for (const auto& child : children)
        child->drawAll();

    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glPopMatrix();
    glPopAttrib();
    glPopAttrib();
    glBlendFunc(GLenum(blendSource), GLenum(blendDestination));
    // The resting depth function, so that equal-depth passes drawn after the plane still pass.
    glDepthFunc(GL_LEQUAL);
    if (showQuad)
        glColor3f(1.0f, 1.0f, 1.0f);

    for (const auto& child : children)
        child->drawAll();
}
