// A receiving plane that shows its children's planar shadows: its quad marks the stencil, the
// children are drawn flattened onto it by the shadow matrix where it is marked, then normally.
#pragma once
#include "scenegraph/SceneNode.h"

#include <array>

class ShadowPlaneNode : public SceneNode {
public:
    ShadowPlaneNode();
    // The grey quad, the black shadows and the children; never culled, and the node's own
    // transform is not applied.
    void drawVisible(const Frustum& frustum) override;
    // The same with the quad marking the stencil only, for planes drawn without culling.
    void drawAll() override;
    // "Plane ", "Light ", "Size ".
    LineResult readOwnLine(SceneReadContext& context) override;

    // Projects points from the light onto the plane, column by column as glMultMatrixf takes
    // it: element [row][column] = P·L − L[row]·P[column] on the diagonal, −L[row]·P[column] off it.
    std::array<float, 16> shadowMatrix() const;
    // The four corners of the quad in drawing order.
    std::array<Vector3, 4> quad() const;
    // Sets the half size and the local sphere of the box it spans.
    void setHalfSize(const Vector3& half);

    // x, y, z, w: w = 1 a point light, w = 0 a direction.
    float light[4] = {0.0f, 10.0f, 0.0f, 1.0f};
    // a, b, c, d.
    float plane[4] = {0.0f, 1.0f, 0.0f, 0.0f};
    Vector3 centre{0.0f, 0.0f, 0.0f};
    Vector3 halfSize{10.0f, 0.0f, 10.0f};

private:
    void drawShadowed(bool showQuad);
};
