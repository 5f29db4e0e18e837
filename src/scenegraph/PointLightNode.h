// A glow sprite: a camera-facing square of the node's colour and material. It lights nothing.
#pragma once
#include "scenegraph/SceneNode.h"

class Material;

class PointLightNode : public SceneNode {
public:
    PointLightNode();
    ~PointLightNode() override;
    void drawSelf() override;
    // "Radius ", "Color ", "Shader ".
    LineResult readOwnLine(SceneReadContext& context) override;
    // Sets the radius and the sphere of the box 7 radii around the node; the position goes
    // back to the origin.
    void setRadius(float r);

    float radius = 1.0f;
    float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    // A counted reference of the material library, or none (the sprite is drawn untextured).
    Material* material = nullptr;
};
