// The water scene: a twisting star above a pool whose surface the show disturbs with drops on a
// circling path; for a while the whole picture is drawn through a wobbling distortion grid.
#pragma once
#include "geometry/MeshDeformer.h"
#include "scenes/DemoScene.h"
#include "scenes/DistortionGrid.h"
#include "scenes/RenderToTexturePass.h"
#include "scenes/WaterSurface.h"

#include <memory>

class Camera;

class WaterSimulation : public DemoScene {
public:
    // Drops fall (and the surface moves) only inside this window; outside it the surface keeps
    // its last shape.
    static constexpr float kDropsStart = 66.23333f;
    static constexpr float kDropsEnd = 85.46667f;
    static constexpr float kDropInterval = 0.033333335f;
    static constexpr float kDropHeight = -0.125f;
    // The picture goes through the distortion grid strictly inside this window.
    static constexpr float kDistortStart = 85.4f;
    static constexpr float kDistortEnd = 95.033f;
    // The surface's grid, depth and size, and the sphere it is culled by.
    static constexpr int kGrid = 60;
    static constexpr float kDepth = 1.0f;
    static constexpr float kHalfSize = 4.1f;
    static constexpr float kSurfaceRadius = 5.0f;

    WaterSimulation() : DemoScene("WaterSimulation", 43.467f, 127.802f) {}

    bool prepare() override;
    bool release() override;
    void update(float time) override;
    void render() override;

    // The grid point a drop hits at time t: a point circling the pool's centre.
    struct Cell {
        int column;
        int row;
    };
    static Cell dropCell(float t);

    // A fresh 60 × 60 surface with the scene's damping, its coordinates sent to unit 1.
    void buildSurface();
    // The time since the previous update (0 for the first), remembering `time` as the last time.
    float frameTime(float time);
    // Drops and one simulation step at show time t (frame time dt), seen from `eye`; nothing
    // outside the drop window or without a surface.
    void advanceSurface(float t, float dt, const Vector3& eye);
    // The drops and the springs stepped frame by frame from Start (only the drop window moves
    // anything), the surface shaded once at the end when the regular update will not.
    void catchUp(float time, float step) override;

    Material* waterShader = nullptr;
    Mesh* star = nullptr;
    std::unique_ptr<Mesh> undeformedStar;
    std::unique_ptr<WaterSurface> surface;
    TwistDeformer twist[3];
    RippleDeformer ripple;
    RenderToTexturePass pass;
    DistortionGrid grid;
    float lastTime = 0.0f;
    float dropTimer = 0.0f;

private:
    void deformStar(float t);
    // The drop due in the frame at show time t (frame time dt); false outside the drop window
    // or without a surface, when the surface does not move.
    bool dropFor(float t, float dt);
    // The current camera's position, the eye the surface is shaded for.
    static Vector3 eye();
    void drawScene();
    void drawDistorted(float t);

    bool updated_ = false;  // an update has run, so lastTime holds the previous frame's time
};
