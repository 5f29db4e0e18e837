// Cost of one update of the procedural kinds (a 64 x 64 tunnel, 16 x 16 tiles, 200 bars) and of
// one video frame decoded and sent to its texture for each corpus file.
#include "effects/BlocksEffect.h"
#include "effects/LinesEffect.h"
#include "effects/TunnelEffect.h"
#include "texture/VideoTexture.h"
#include "GLFixture.h"
#include "TestFiles.h"

#include <benchmark/benchmark.h>

namespace {

// Updates `effect` at a fresh time every iteration, 1/60 s apart.
void stepEffect(benchmark::State& state, Effect& effect)
{
    effect.prepare();
    float time = 1.0f;
    for (auto _ : state) {
        effect.update(time);
        time += 1.0f / 60.0f;
    }
}

void BM_TunnelUpdate64x64(benchmark::State& state)
{
    TunnelEffect tunnel;
    tunnel.around = 64;
    tunnel.along = 64;
    tunnel.length = 400.0f;
    tunnel.speed = 0.5f;
    tunnel.linear[0] = 1.0f; tunnel.linear[1] = 2.0f; tunnel.linear[2] = 3.0f; tunnel.linear[3] = 0.5f;
    tunnel.circular[0] = 1.0f; tunnel.circular[1] = 0.5f; tunnel.circular[2] = 0.5f;
    stepEffect(state, tunnel);
}
BENCHMARK(BM_TunnelUpdate64x64);

void BM_BlocksUpdate16x16(benchmark::State& state)
{
    BlocksEffect blocks;
    blocks.rows = blocks.cols = 16;
    blocks.x = blocks.y = -256.0f;
    blocks.width = blocks.height = 512.0f;
    blocks.centre = {0.0f, 0.0f, -100.0f};
    blocks.distance = 1e-3f;  // they stay in flight for the whole run
    stepEffect(state, blocks);
}
BENCHMARK(BM_BlocksUpdate16x16);

void BM_LinesUpdate200(benchmark::State& state)
{
    LinesEffect lines;
    lines.lineCount = 200;
    lines.speed = 50.0f;
    lines.variance = 20.0f;
    stepEffect(state, lines);
}
BENCHMARK(BM_LinesUpdate200);

// One frame decoded, scaled to 256 x 256 and sent to the texture, in playing order.
void BM_VideoFrame(benchmark::State& state, const char* file)
{
    if (!testgl::ensureContext()) {
        state.SkipWithError("no headless OpenGL context");
        return;
    }
    VideoTexture video;
    if (!video.open(testfiles::corpus(file), 256, 256)) {
        state.SkipWithError("the corpus video does not open");
        return;
    }
    for (auto _ : state)
        video.advance(1.0 / 24.0 + 1e-9);
    glFinish();
}
BENCHMARK_CAPTURE(BM_VideoFrame, mjpeg_160x120, "avi/testsrc_160x120_25fps_mjpeg.avi")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_VideoFrame, mpeg4_320x240, "avi/testsrc_320x240_24fps_mpeg4.avi")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_VideoFrame, raw_64x48, "avi/testsrc_64x48_30fps_raw.avi")->Unit(benchmark::kMicrosecond);

} // namespace
