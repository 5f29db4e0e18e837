// The alien morph: glossy metaballs orbiting inside a tunnel of rotating light beams, then, from
// 280 s on, the eyeball scene graph.
#pragma once
#include "animation/Envelope.h"
#include "geometry/MetaballField.h"
#include "scenes/DemoScene.h"

class AlienMorphScene : public DemoScene {
public:
    static constexpr float kStart = 261.549f;
    static constexpr float kEyeballTime = 280.0f;
    static constexpr const char* kCameraName = "AlienMorphSceneCamera";
    static constexpr int kBalls = 12;
    static constexpr int kGridCells = 32;

    AlienMorphScene() : DemoScene("AlienMorphScene", kStart, 294.243f) {}

    bool prepare() override;
    bool release() override;
    void update(float time) override;
    // The beams' light run frame by frame from Start (it wraps to the start, not by its
    // overshoot); the balls follow the time.
    void catchUp(float time, float step) override;
    void render() override;

    Envelope depth;  // the metaballs' distance over the show time
    Material* metaballs = nullptr;
    Material* wave = nullptr;
    float lastTime = kStart;
    // How far the beams' light has run along them, 0 ≤ phase < 1.
    float wavePhase = 0.0f;
    MetaballField field;
    Metaball balls[kBalls];

private:
    bool loadDepthEnvelope(const std::string& path);
    // The scene's own camera, looking down the tunnel from (0, 0, -288).
    void createCamera();
    // The beams' light moved on to show time `time`.
    void advanceWave(float time);
    // The balls' resting places before the first frame: along a quarter sine.
    void seedBalls();
    // The balls' orbits at show time t.
    void moveBalls(float t);
    void drawBeams(float t);
    void drawMetaballs(float t);
};
