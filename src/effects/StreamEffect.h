// A video shown as a screen rectangle, drawn like an image with the video's texture; the video
// moves on at 24 frames per show second.
#pragma once
#include "effects/Effect.h"
#include "effects/EffectType.h"
#include "effects/FrameStep.h"

#include <memory>

class VideoTexture;

class StreamEffect : public Effect {
public:
    // The size of the texture a video is decoded into.
    static constexpr int kTextureSize = 256;

    StreamEffect();
    ~StreamEffect() override;

    bool release() override;
    void update(float time) override;
    // The video moves on by the whole frames played since Start, decoding only the one it
    // lands on.
    void catchUp(float time, float step) override;
    void render() override;
    bool save(std::ostream&) override { return true; }

    // Opens `path` into a new video texture; false (holding none) when it can't be opened.
    bool openVideo(const std::string& path);

    std::unique_ptr<VideoTexture> video;
    float x = 0.0f, y = 0.0f, width = 640.0f, height = 480.0f;
    // Video pictures are stored bottom row first, so t1 (the bottom edge) starts at 0.
    float s0 = 0.0f, t0 = 1.0f, s1 = 1.0f, t1 = 0.0f;
    float opacity = 1.0f;
    FrameStep step;
};

std::unique_ptr<EffectType> makeStreamEffectType();
