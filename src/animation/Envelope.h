// A one-dimensional animation curve in LightWave notation: keys with shapes and TCB or tangent
// parameters, pre- and post-behaviours outside the keyed range; read from "{ Envelope" blocks.
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

class ScriptReader;

// One Key line: "Key value time shape tension continuity bias p0 p1 p2 p3".
struct EnvelopeKey {
    // Shape of the segment that ends at this key.
    enum Shape : short { TCB = 0, Hermite = 1, Bezier = 2, Linear = 3, Stepped = 4, Bezier2D = 5 };

    float value = 0.0f;
    float time = 0.0f;
    short shape = TCB;
    float tension = 0.0f;
    float continuity = 0.0f;
    float bias = 0.0f;
    // Hermite/Bezier: incoming tangent [0], outgoing tangent [1]. Bezier2D: incoming handle
    // (time offset [0], value offset [1]) and outgoing handle (time offset [2], value offset [3]).
    float param[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};

class Envelope {
public:
    enum Behaviour : short { Reset = 0, Constant = 1, Repeat = 2, Oscillate = 3, Offset = 4, Linear = 5 };
    enum class LoadResult { Loaded, OpenFailed, ReadFailed };

    // Reads one envelope from `stream` through `reader`, starting with the next line, which must
    // contain "{ Envelope"; then the key count line ("%d") and exactly count + 1 lines, each a
    // "Key " line, the "Behaviors pre post" line, or a "}" that ends the envelope early. The
    // envelope has no closing line of its own: a "}" after these lines belongs to the caller's
    // block. Any previous keys are dropped first. False on a missing "{ Envelope" line, a
    // negative count, or any other line (the end of the stream included).
    bool read(ScriptReader& reader, std::istream& stream);
    // Reads the envelope of a ".envelope" file (a show path, backslashes allowed).
    LoadResult load(const std::string& path);

    // The curve at time t (seconds); 0 without keys, the one value with one key.
    float evaluate(float t) const;

    // Channel index within a KeyframerLW (0..8).
    int channel = 0;
    short preBehaviour = Reset;
    short postBehaviour = Reset;
    // In file order; times must ascend (they are not sorted).
    std::vector<EnvelopeKey> keys;
};
