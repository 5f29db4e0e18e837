// Feeds arbitrary text to the envelope readers: the first byte picks a bare "{ Envelope" block
// or a "KeyframerLW {" block; everything read is then evaluated in and around its keys.
#include "animation/Envelope.h"
#include "animation/KeyframerLW.h"
#include "script/ScriptReader.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

void evaluateAround(const Envelope& envelope)
{
    volatile float sink = 0.0f;
    for (float t : {-1e30f, -2.0f, -0.5f, 0.0f, 0.5f, 1.0f, 2.5f, 100.0f, 1e30f})
        sink = envelope.evaluate(t);
    for (const EnvelopeKey& key : envelope.keys)
        for (float d : {-1.5f, -0.01f, 0.0f, 0.01f, 1.5f})
            sink = envelope.evaluate(key.time + d);
    (void)sink;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    std::istringstream stream(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    ScriptReader reader;
    if (data[0] & 1) {
        KeyframerLW keyframer;
        keyframer.read(reader, stream);
        for (float t : {-1.0f, 0.0f, 0.5f, 2.0f, 1e9f})
            keyframer.update(t);
        for (const Envelope& channel : keyframer.channels)
            evaluateAround(channel);
    } else {
        Envelope envelope;
        envelope.read(reader, stream);
        evaluateAround(envelope);
    }
    return 0;
}
