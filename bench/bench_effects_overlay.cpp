// Cost of one frame of 200 overlay effects (images, flashes, inversions, text fades, each with a
// keyframer) on the headless context: the timeline's update alone, and update plus drawing.
#include "effects/EffectLoader.h"
#include "effects/EffectTimeline.h"
#include "texture/TextureManager.h"
#include "GLFixture.h"

#include <benchmark/benchmark.h>

#include <sstream>

namespace {

constexpr int kEffects = 200;

// 200 effects of the four 2D kinds in turn, or of kind `only` (0 to 3) alone.
std::string overlayScript(int only)
{
    static const char* const kinds[] = {"Image", "Flash", "Invert", "TextFade"};
    std::ostringstream s;
    for (int n = 0; n < kEffects; ++n) {
        const int i = only < 0 ? n : only + 4 * n;
        const char* kind = kinds[i % 4];
        s << kind << " {\n  Start 0\n  End 1000\n  Layer " << i % 7 << "\n";
        if (i % 4 == 0 || i % 4 == 3)
            s << "  Image \"bench.png\"\n";
        if (i % 4 == 0)
            s << "  Rect " << i % 320 << " " << i % 240 << " 160 120\n";
        if (i % 4 == 1)
            s << "  Color 1 0.5 0.25 1\n";
        if (i % 4 == 2)
            s << "  Rect " << i % 500 << " 0 140 480\n";
        s << "  Keyframer {\n    Scale {\n      NumKeys 3\n      Key 0 0\n      Key 500 "
          << (i % 4 == 3 ? 2 : 1) << "\n      Key 1000 0\n    }\n  }\n}\n";
    }
    return s.str();
}

struct OverlayShow {
    explicit OverlayShow(int only = -1)
    {
        auto* t = new ImageTexture;
        t->name = "bench.png";
        t->allocateImage(256, 256, 9);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                t->setPixel(((x ^ y) & 16) ? 0xFFFFFF80 : 0x20408080, x, y);
        textures.add(t);
        EffectLoader loader(&timeline);
        std::istringstream stream(overlayScript(only));
        loader.load(stream, "bench.effect");
        timeline.prepareAll();
    }
    ~OverlayShow() { timeline.clear(); }

    TextureManager textures;
    EffectTimeline timeline;
};

void BM_OverlayUpdate(benchmark::State& state)
{
    OverlayShow show;
    float t = 1.0f;
    for (auto _ : state) {
        show.timeline.update(t);
        t += 1.0f / 60.0f;
    }
    state.counters["effects"] = double(show.timeline.active().size());
}
BENCHMARK(BM_OverlayUpdate);

void BM_OverlayUpdateAndDraw(benchmark::State& state)
{
    if (!testgl::ensureContext()) {
        state.SkipWithError("no headless OpenGL context");
        return;
    }
    testgl::resetState();
    OverlayShow show(int(state.range(0)));
    float t = 1.0f;
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT);
        show.timeline.update(t);
        show.timeline.renderAll();
        glFinish();
        t += 1.0f / 60.0f;
    }
    state.counters["effects"] = double(show.timeline.active().size());
}
// -1: the four kinds mixed; 0 to 3: images, flashes, inversions or text fades only.
BENCHMARK(BM_OverlayUpdateAndDraw)->Arg(-1)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

} // namespace
