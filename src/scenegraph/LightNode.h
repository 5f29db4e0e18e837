// OpenGL lights in the scene tree: the table of light slots they share, the common colours and
// attenuation of a light node, and the directional and spot kinds.
#pragma once
#include "core/GL.h"
#include "scenegraph/SceneNode.h"

#include <cstdint>

// Which of GL_LIGHT0 + i are in use. The count comes from GL_MAX_LIGHTS the first time the
// shared table is asked for (at most 32 are tracked).
class LightSlots {
public:
    explicit LightSlots(int maximum);
    // The program's table; reads GL_MAX_LIGHTS (and logs it) when first called.
    static LightSlots& shared();

    // The lowest free light, now taken; 0 when all are taken.
    GLenum allocate();
    void release(GLenum light);
    int maxLights() const { return maxLights_; }

private:
    int maxLights_;
    std::uint32_t used_ = 0;
};

class LightNode : public SceneNode {
public:
    LightNode();
    ~LightNode() override;
    // Takes a slot when it has none and sets the light's colours and attenuation, then the
    // kind's position values. A light that finds no free slot stays off for good.
    void enableLight();
    // Resets the GL light to its defaults, switches it off and gives the slot back.
    void disableLight();
    // The colour and attenuation lines; any other line ends the block.
    LineResult readOwnLine(SceneReadContext& context) override;
    // Every light block switches its light on.
    void endBlock() override { active = true; }

    GLenum glLight = 0;
    bool active = false;
    float ambient[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float diffuse[4] = {0.7f, 0.7f, 0.7f, 1.0f};
    float specular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float attenuation[3] = {1.0f, 0.0f, 0.0f};

protected:
    // GL_POSITION and the kind's other values, in world coordinates (the view is loaded).
    virtual void setPosition() = 0;
    // "Direction " and the kind's further lines; EndsBlock when the line is none of them.
    virtual LineResult readKindLine(SceneReadContext& context) = 0;
    // The node's world rotation applied to a local direction.
    Vector3 worldDirection(const Vector3& local) const;
};

class DirectionalLightNode : public LightNode {
public:
    // The light shines along the node's turned local direction.
    void worldUpdated() override;

    // Handed to GL with w = 0: the direction towards the light.
    Vector3 lightVector{0.0f, 0.0f, 1.0f};
    // The direction it shines along in the node's frame: its +z axis unless a "Direction "
    // line gives another.
    Vector3 localDirection{0.0f, 0.0f, 1.0f};

protected:
    void setPosition() override;
    LineResult readKindLine(SceneReadContext& context) override;
};

class SpotLightNode : public LightNode {
public:
    // Placed at the node, shining along its turned local direction.
    void worldUpdated() override;

    Vector3 lightPosition{0.0f, 0.0f, 0.0f};
    Vector3 spotDirection{0.0f, 0.0f, -1.0f};
    float exponent = 0.0f;
    float cutoff = 180.0f;
    // The direction it shines along in the node's frame: its +z axis unless a "Direction "
    // line gives another.
    Vector3 localDirection{0.0f, 0.0f, 1.0f};

protected:
    void setPosition() override;
    LineResult readKindLine(SceneReadContext& context) override;
};
