// Feeds arbitrary text to the ".shader" reader: every outcome must be true, false or an
// ImageScriptException, never a crash, a hang or an unbounded allocation. One small picture,
// "a.png", lies on the texture search path so that Image blocks get past their "Name" line.
#include "material/MaterialLibrary.h"
#include "material/MaterialScriptReader.h"
#include "platform/PngWriter.h"
#include "texture/TextureManager.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {
TextureManager& textures()
{
    static TextureManager* manager = [] {
        auto* m = new TextureManager;
        m->createDefaults();
        char dir[] = "/tmp/fuzz_material_XXXXXX";
        if (mkdtemp(dir)) {
            const unsigned char pixels[4 * 4 * 4] = {200, 100, 50, 255};
            platform::writePng(std::string(dir) + "/a.png", 4, 4, 4, pixels);
            platform::writePng(std::string(dir) + "/c_pos_x.png", 4, 4, 4, pixels);
            m->addSearchPath(std::string(dir) + "/");
        }
        return m;
    }();
    return *manager;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    textures();
    MaterialLibrary library;
    MaterialScriptReader reader(library);
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    try {
        reader.read(in);
    } catch (const ImageScriptException&) {
    }
    return 0;
}
