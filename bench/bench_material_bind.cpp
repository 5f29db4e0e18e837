// Cost of binding and unbinding a material around a draw: four render states and two texture
// stages, on the headless context (Mesa llvmpipe without a GPU).
#include "GLFixture.h"
#include "material/MaterialLibrary.h"
#include "material/MaterialScriptReader.h"
#include "texture/TextureManager.h"

#include <benchmark/benchmark.h>

#include <sstream>

namespace {

const char* kScript = R"(Shader {
  Name "bench"
  Blend {
    Enable yes
    Src SRC_ALPHA
    Dst ONE_MINUS_SRC_ALPHA
  }
  Alpha {
    Enable yes
    Function GREATER
    Reference 0.1
  }
  Cull {
    Enable no
  }
  ZBuffer {
    Enable yes
    Write no
  }
  Texture {
    Image "base"
    TexUnit UNIT0
  }
  Texture {
    Image "detail"
    TexUnit UNIT1
%s  }
})";

const char* kScroll = R"(    CoordU {
      { Envelope
        2
        Key 0 0 3 0 0 0 0 0 0 0
        Key 1 4 3 0 0 0 0 0 0 0
        Behaviors 2 2
      }
)";

void bindUnbind(benchmark::State& state, bool animated)
{
    if (!testgl::ensureContext()) {
        state.SkipWithError("no headless OpenGL context");
        return;
    }
    TextureManager textures;
    MaterialLibrary library;
    for (const char* name : {"base", "detail"}) {
        auto* t = new ImageTexture;
        t->allocateImage(64, 64, kPixelRGBA);
        t->name = name;
        textures.add(t);
    }
    char script[2048];
    std::snprintf(script, sizeof script, kScript, animated ? kScroll : "");
    MaterialScriptReader reader(library);
    std::istringstream in(script);
    reader.read(in);
    Material* material = library.find("bench");
    if (!material || material->states.size() != 6) {
        state.SkipWithError("material not built");
        return;
    }
    material->bind(); // first bind uploads the textures
    material->unbind();
    glFinish();
    float time = 0.0f;
    for (auto _ : state) {
        textures.time = (time += 0.016f);
        material->bind();
        material->unbind();
    }
    glFinish();
    library.release(material);
}

void BM_BindUnbindFourStatesTwoStages(benchmark::State& state) { bindUnbind(state, false); }
void BM_BindUnbindWithScrolledStage(benchmark::State& state) { bindUnbind(state, true); }

} // namespace

BENCHMARK(BM_BindUnbindFourStatesTwoStages);
BENCHMARK(BM_BindUnbindWithScrolledStage);
