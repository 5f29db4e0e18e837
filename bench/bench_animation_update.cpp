// Cost of one animator update: a Keyframer with all four tracks (Spline translation, Slerp
// rotation, scale, visibility; 16 keys each) and a nine-channel KeyframerLW (TCB envelopes of 16
// keys, repeating), each evaluated at times sweeping its keyed range.
#include "animation/Keyframer.h"
#include "animation/KeyframerLW.h"
#include "script/ScriptReader.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <sstream>

namespace {

constexpr int kKeys = 16;

template <class A>
void readInto(A& animator, const std::string& text)
{
    std::istringstream stream(text);
    ScriptReader reader;
    if (!animator.read(reader, stream))
        std::abort();
    animator.prepare();
}

std::string keyframerBlock()
{
    std::ostringstream s;
    s << "Translate {\nNumKeys " << kKeys << "\n";
    for (int i = 0; i < kKeys; ++i)
        s << "Key " << i << " " << i * 1.5f << " " << (i % 3) << " " << -i << "\n";
    s << "}\nRotate {\nNumKeys " << kKeys << "\n";
    for (int i = 0; i < kKeys; ++i)
        s << "Key " << i << " 0.3 1 " << (i % 2) << " " << 20 + i << "\n";
    s << "}\nScale {\nNumKeys " << kKeys << "\n";
    for (int i = 0; i < kKeys; ++i)
        s << "Key " << i << " " << 1 + (i % 4) * 0.25f << "\n";
    s << "}\nVisible {\nNumKeys 2\nKey 0\nKey " << kKeys << "\n}\n}\n";
    return s.str();
}

std::string keyframerLWBlock()
{
    std::ostringstream s;
    for (int c = 0; c < KeyframerLW::channelCount; ++c) {
        s << "Channel " << c << "\n{ Envelope\n" << kKeys << "\n";
        for (int i = 0; i < kKeys; ++i)
            s << "Key " << (i * 7 + c) % 5 << " " << i << " 0 " << 0.1f * (i % 3) << " 0 0 0 0 0 0\n";
        s << "Behaviors 2 2\n";
    }
    s << "}\n";
    return s.str();
}

// Updates at times sweeping the keyed range, so every segment takes its turn.
void sweep(benchmark::State& state, Animator& animator)
{
    float t = 0.0f;
    for (auto _ : state) {
        animator.update(t);
        benchmark::DoNotOptimize(animator.rotation);
        t += 0.013f;
        if (t > kKeys)
            t = 0.0f;
    }
}

void BM_KeyframerUpdate(benchmark::State& state)
{
    Keyframer keyframer;
    readInto(keyframer, keyframerBlock());
    sweep(state, keyframer);
}
BENCHMARK(BM_KeyframerUpdate);

void BM_KeyframerLWUpdate(benchmark::State& state)
{
    KeyframerLW keyframer;
    readInto(keyframer, keyframerLWBlock());
    sweep(state, keyframer);
}
BENCHMARK(BM_KeyframerLWUpdate);

} // namespace
