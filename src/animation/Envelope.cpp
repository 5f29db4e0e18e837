#include "animation/Envelope.h"

#include "platform/Paths.h"
#include "script/ScriptReader.h"

#include <algorithm>
#include <cmath>
#include <fstream>

bool Envelope::read(ScriptReader& reader, std::istream& stream)
{
    keys.clear();
    preBehaviour = postBehaviour = Reset;
    if (!reader.next(stream) || !reader.contains("{ Envelope"))
        return false;
    reader.next(stream);
    int count = 0;
    scanLine(reader.line, "%d", &count);
    if (count < 0)
        return false;
    // The count only bounds the loop: keys are stored as their lines arrive, and the end of the
    // stream (an empty line, which matches nothing) stops a count that promises too much.
    for (long long i = 0; i <= count; ++i) {
        reader.next(stream);
        if (reader.contains("Key ")) {
            EnvelopeKey key;
            scanLine(reader.line, "%*s %f %f %hd %f %f %f %f %f %f %f", &key.value, &key.time,
                     &key.shape, &key.tension, &key.continuity, &key.bias, &key.param[0],
                     &key.param[1], &key.param[2], &key.param[3]);
            keys.push_back(key);
        } else if (reader.contains("Behaviors ")) {
            scanShorts(reader.line, preBehaviour, postBehaviour);
        } else if (reader.contains("}")) {
            return true;
        } else {
            return false;
        }
    }
    return true;
}

Envelope::LoadResult Envelope::load(const std::string& path)
{
    std::ifstream stream(platform::nativePath(path));
    if (!stream)
        return LoadResult::OpenFailed;
    ScriptReader reader;
    reader.fileName = path;
    return read(reader, stream) ? LoadResult::Loaded : LoadResult::ReadFailed;
}

namespace {

// x0 + c·s + b·s² + a·s³ with c = 3(x1 - x0), b = 3(x2 - x1) - c, a = x3 - x0 - c - b.
float bezier(float x0, float x1, float x2, float x3, float s)
{
    const float c = 3.0f * (x1 - x0);
    const float b = 3.0f * (x2 - x1) - c;
    const float a = x3 - x0 - c - b;
    return x0 + s * (c + s * (b + s * a));
}

// a / b, or 0 where b is 0 (only keys that share a time give that).
float ratio(float a, float b) { return b != 0.0f ? a / b : 0.0f; }

// Slope leaving keys[i] towards keys[i + 1], by the shape of keys[i].
float outgoing(const std::vector<EnvelopeKey>& keys, size_t i)
{
    const EnvelopeKey& k0 = keys[i];
    const EnvelopeKey& k1 = keys[i + 1];
    const EnvelopeKey* previous = i > 0 ? &keys[i - 1] : nullptr;
    const float d = k1.value - k0.value;
    const float r = previous ? ratio(k1.time - k0.time, k1.time - previous->time) : 1.0f;
    switch (k0.shape) {
    case EnvelopeKey::TCB: {
        const float a = (1.0f - k0.tension) * (1.0f + k0.continuity) * (1.0f + k0.bias);
        const float b = (1.0f - k0.tension) * (1.0f - k0.continuity) * (1.0f - k0.bias);
        return previous ? r * (a * (k0.value - previous->value) + b * d) : b * d;
    }
    case EnvelopeKey::Linear:
        return previous ? r * (k0.value - previous->value + d) : d;
    case EnvelopeKey::Hermite:
    case EnvelopeKey::Bezier:
        return k0.param[1] * r;
    case EnvelopeKey::Bezier2D: {
        const float x = k0.param[3] * (k1.time - k0.time);
        return std::fabs(k0.param[2]) > 0.00001f ? x / k0.param[2] : x * 100000.0f;
    }
    default:
        return 0.0f;
    }
}

// Slope arriving at keys[i + 1] from keys[i], by the shape of keys[i + 1].
float incoming(const std::vector<EnvelopeKey>& keys, size_t i)
{
    const EnvelopeKey& k0 = keys[i];
    const EnvelopeKey& k1 = keys[i + 1];
    const EnvelopeKey* next = i + 2 < keys.size() ? &keys[i + 2] : nullptr;
    const float d = k1.value - k0.value;
    const float r = next ? ratio(k1.time - k0.time, next->time - k0.time) : 1.0f;
    switch (k1.shape) {
    case EnvelopeKey::TCB: {
        const float a = (1.0f - k1.tension) * (1.0f - k1.continuity) * (1.0f + k1.bias);
        const float b = (1.0f - k1.tension) * (1.0f + k1.continuity) * (1.0f - k1.bias);
        return next ? r * (b * (next->value - k1.value) + a * d) : a * d;
    }
    case EnvelopeKey::Linear:
        return next ? r * (next->value - k1.value + d) : d;
    case EnvelopeKey::Hermite:
    case EnvelopeKey::Bezier:
        return k1.param[0] * r;
    case EnvelopeKey::Bezier2D: {
        const float x = k1.param[1] * (k1.time - k0.time);
        return std::fabs(k1.param[0]) > 0.00001f ? x / k1.param[0] : x * 100000.0f;
    }
    default:
        return 0.0f;
    }
}

// The curve between k0 and k1 as a 2D Bézier in (time, value): the parameter s whose time is t
// is found by bisection, then its value is returned.
float bezier2D(const EnvelopeKey& k0, const EnvelopeKey& k1, float t)
{
    const float xh = k0.shape == EnvelopeKey::Bezier2D ? k0.time + k0.param[2]
                                                       : k0.time + (k1.time - k0.time) * 0.33333334f;
    float s0 = 0.0f, s1 = 1.0f, s = 0.5f;
    // Within 0.0001 of t is the goal; the halving also stops once s can't move any more (large
    // times have coarser floats than that, and handles can bend the curve away from t).
    for (int step = 0; step < 64; ++step) {
        s = s0 + (s1 - s0) * 0.5f;
        const float x = bezier(k0.time, xh, k1.time + k1.param[0], k1.time, s);
        if (std::fabs(t - x) <= 0.0001f)
            break;
        if (x > t)
            s1 = s;
        else
            s0 = s;
    }
    const float yh = k0.shape == EnvelopeKey::Bezier2D ? k0.value + k0.param[3]
                                                       : k0.value + k0.param[1] * 0.33333334f;
    return bezier(k0.value, yh, k1.value + k1.param[1], k1.value, s);
}

} // namespace

float Envelope::evaluate(float t) const
{
    if (keys.empty())
        return 0.0f;
    if (keys.size() == 1)
        return keys[0].value;
    const EnvelopeKey& first = keys.front();
    const EnvelopeKey& last = keys.back();
    const size_t lastSegment = keys.size() - 2;
    float offset = 0.0f;

    if (t < first.time || t > last.time) {
        const bool before = t < first.time;
        const short behaviour = before ? preBehaviour : postBehaviour;
        if (behaviour == Reset)
            return 0.0f;
        if (behaviour == Linear) {
            if (before) {
                const float span = keys[1].time - first.time;
                return span != 0.0f ? first.value + (t - first.time) * outgoing(keys, 0) / span
                                    : first.value;
            }
            const float span = last.time - keys[lastSegment].time;
            return span != 0.0f ? last.value + (t - last.time) * incoming(keys, lastSegment) / span
                                : last.value;
        }
        if (behaviour != Repeat && behaviour != Oscillate && behaviour != Offset)
            return before ? first.value : last.value; // Constant, and any unknown number
        // Fold t into the keyed range, counting whole periods.
        const float range = last.time - first.time;
        float periods = 0.0f;
        if (range != 0.0f)
            periods = std::floor((t - first.time) / range);
        if (std::isfinite(periods) && range > 0.0f) {
            t = std::clamp(t - range * periods, first.time, last.time);
        } else {
            periods = 0.0f;
            t = first.time;
        }
        // Odd periods run backwards, mirrored within the keyed range.
        if (behaviour == Oscillate && std::fmod(periods, 2.0f) != 0.0f)
            t = last.time + first.time - t;
        if (behaviour == Offset)
            offset = periods * (last.value - first.value);
    }

    size_t i = 0;
    while (i < lastSegment && t > keys[i + 1].time)
        ++i;
    const EnvelopeKey& k0 = keys[i];
    const EnvelopeKey& k1 = keys[i + 1];
    if (t == k0.time)
        return k0.value + offset;
    if (t == k1.time)
        return k1.value + offset;
    const float span = k1.time - k0.time;
    if (span == 0.0f)
        return k1.value + offset;
    const float u = (t - k0.time) / span;
    switch (k1.shape) {
    case EnvelopeKey::TCB:
    case EnvelopeKey::Hermite:
    case EnvelopeKey::Bezier: {
        const float u2 = u * u, u3 = u2 * u;
        const float h1 = 2.0f * u3 - 3.0f * u2 + 1.0f;
        const float h2 = 3.0f * u2 - 2.0f * u3;
        const float h3 = u3 - 2.0f * u2 + u;
        const float h4 = u3 - u2;
        return h1 * k0.value + h2 * k1.value + h3 * outgoing(keys, i) + h4 * incoming(keys, i) +
               offset;
    }
    case EnvelopeKey::Linear:
        return k0.value + u * (k1.value - k0.value) + offset;
    case EnvelopeKey::Stepped:
        return k0.value + offset;
    case EnvelopeKey::Bezier2D:
        return bezier2D(k0, k1, t) + offset;
    default:
        return offset;
    }
}
