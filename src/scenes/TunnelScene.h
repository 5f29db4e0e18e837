// The tunnel: its scene graph, the effects of its own timeline script, four copies of a
// three-ball metaball blob along the way and four volumetric lights.
#pragma once
#include "geometry/MetaballField.h"
#include "math/Vector3.h"
#include "scenes/DemoScene.h"

struct Frustum;

class TunnelScene : public DemoScene {
public:
    static constexpr int kClusters = 4;
    static constexpr int kLights = 4;
    static constexpr int kFieldSize = 20;
    static constexpr float kClusterRadius = 10.0f;
    static constexpr float kLightRadius = 4.0f;
    static const Vector3 kClusterPositions[kClusters];
    static const Vector3 kLightPositions[kLights];
    static const float kLightAngleFactors[kLights];

    TunnelScene() : DemoScene("TunnelScene", 135.233f, 174.056f) {}

    bool prepare() override;
    void update(float time) override;
    void render() override;

    // The three balls' places at show time t (strengths 5, 6, 7).
    static void placeBalls(float t, Metaball (&balls)[3]);
    // Clusters and lights inside `frustum` at time t, drawn with the current transform.
    // Returns how many clusters and lights were drawn.
    int drawClusters(const Frustum& frustum, float t);
    int drawLights(const Frustum& frustum, float t);

    Material* volumeLight = nullptr;
    Material* tunnelMetaballs = nullptr;
    Mesh* lightMesh = nullptr;
    MetaballField field;
    Metaball balls[3];
    float lastTime = 0.0f;

private:
    // The tunnel's own timeline script: its effects join the timeline behind this scene.
    bool loadEffects(const std::string& path);
};
