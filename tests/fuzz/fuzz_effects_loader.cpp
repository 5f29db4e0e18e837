// Feeds arbitrary text to the ".effect" reader, then runs the timeline over what it registered
// and writes every effect back (drawing needs a GL context and is left out).
#include "effects/EffectLoader.h"
#include "effects/EffectTimeline.h"
#include "script/ImageScriptException.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EffectTimeline timeline;
    {
        EffectLoader loader(&timeline);
        std::istringstream stream(std::string(reinterpret_cast<const char*>(data), size));
        try {
            loader.load(stream, "fuzz.effect");
        } catch (const ImageScriptException&) {
        }
    }
    std::ostringstream out;
    for (const auto& effect : timeline.pending())
        effect->save(out);
    timeline.prepareAll();
    for (float t : {-1.0f, 0.0f, 0.5f, 1.0f, 10.0f, 1e9f})
        timeline.update(t);
    timeline.clear();
    return 0;
}
