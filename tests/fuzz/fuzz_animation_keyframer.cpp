// Feeds arbitrary text to the "Keyframer {" block reader, evaluates what it read, and checks that
// the written form reads back to the same text.
#include "animation/Keyframer.h"
#include "script/ScriptReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

std::string readAndWrite(const std::string& text, Keyframer& keyframer)
{
    std::istringstream stream(text);
    ScriptReader reader;
    keyframer.read(reader, stream);
    std::ostringstream out;
    keyframer.write(out);
    return out.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Keyframer keyframer;
    const std::string written =
        readAndWrite(std::string(reinterpret_cast<const char*>(data), size), keyframer);
    keyframer.update(0.0f); // unprepared, as scene nodes use it
    keyframer.prepare();
    for (float t : {-1e30f, -1.0f, 0.0f, 0.25f, 0.5f, 1.0f, 1.5f, 2.0f, 3.0f, 10.0f, 1e30f})
        keyframer.update(t);
    if (keyframer.translateTrack)
        for (int i = 0; i < keyframer.translateTrack->count(); ++i)
            keyframer.update(keyframer.translateTrack->time(i) + 0.01f);
    keyframer.finish();

    // The written block, without its opening line, reads back to the same text.
    const std::string body = written.substr(written.find('\n') + 1);
    Keyframer back;
    if (readAndWrite(body, back) != written)
        std::abort();
    return 0;
}
