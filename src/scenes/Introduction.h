// The opening scene: the box scene with its flock, the two rippling blobs and the morphing head.
#pragma once
#include "geometry/MeshDeformer.h"
#include "scenes/DemoScene.h"
#include "scenes/Flock.h"
#include "scenes/ShapeCopy.h"

#include <memory>

class Introduction : public DemoScene {
public:
    static constexpr float kBlobStart = 10.667f;
    static constexpr float kBlobEnd = 24.133f;
    static constexpr float kMorphStart = 30.0f;
    static constexpr float kMorphEnd = 44.133f;
    static constexpr int kGroups = 5;
    static constexpr int kBoidsPerGroup = 10;

    Introduction() : DemoScene("Introduction", 0.0f, 43.467f) {}

    bool prepare() override;
    bool release() override;
    void update(float time) override;
    // The flock (one move per frame, whatever the frame's length) and the head's blend weight
    // stepped frame by frame from Start; the blobs shaped as the last frame of their window
    // left them.
    void catchUp(float time, float step) override;
    void render() override;

    Mesh* blob = nullptr;
    Mesh* blob2 = nullptr;
    Mesh* headFrom = nullptr;
    Mesh* headTo = nullptr;
    Mesh* boid = nullptr;
    float lastTime = 0.0f;
    ShapeCopy blobShape, blob2Shape, headShape;
    RippleDeformer ripple;
    TwistDeformer twist;
    std::unique_ptr<Flock> flock;

private:
    void setupDeformers();
    void buildFlock();
    // Ripple (with the y wave given) from `shape` into `mesh`, then the twist in place.
    void deformBlob(Mesh& mesh, const ShapeCopy& shape, float amplitude, float spare, float wavelength,
                    float phaseOffset, float t);
    // The flock's move and the blend weight's for the frame at show time t.
    void advanceFrame(float t);
    // Both blobs rippled and twisted for show time t.
    void deformBlobs(float t);
    void morphHead();
};
