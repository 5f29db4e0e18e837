// The "State {" block parser on arbitrary text: a state or an ImageScriptException, nothing else.
#include "texture/TextureState.h"

#include "script/ScriptReader.h"

#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ScriptReader reader;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    try {
        parseTextureState(reader, in);
    } catch (const ImageScriptException&) {
    }
    return 0;
}
