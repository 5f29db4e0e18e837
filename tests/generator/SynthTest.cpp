#include "Loudness.h"
#include "Synth.h"
#include "TestFiles.h"
#include "platform/AudioDecoder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

synth::Stereo sine(double hz, double amplitudeDb, double seconds, double phase = 0.0)
{
    synth::Stereo s(size_t(seconds * synth::kRate));
    const double a = std::pow(10.0, amplitudeDb / 20.0);
    for (size_t i = 0; i < s.frames(); ++i)
        s.left[i] = s.right[i] = float(a * std::sin(2.0 * kPi * hz * double(i) / synth::kRate + phase));
    return s;
}

loudness::Planar view(const synth::Stereo& s) { return {{s.left.data(), s.right.data()}, s.frames(), synth::kRate}; }

void append(synth::Stereo& to, const synth::Stereo& more)
{
    to.left.insert(to.left.end(), more.left.begin(), more.left.end());
    to.right.insert(to.right.end(), more.right.begin(), more.right.end());
}

TEST(Loudness, ReadsReferenceSinesAndGatesQuietStretches)
{
    // A 1 kHz sine at -23 dBFS on both channels reads -23 LUFS.
    EXPECT_NEAR(loudness::integrated(view(sine(1000.0, -23.0, 20.0))), -23.0, 0.1);
    // Quiet passages 13 LU below the rest fall under the relative gate and do not count...
    synth::Stereo gated = sine(1000.0, -36.0, 10.0);
    append(gated, sine(1000.0, -23.0, 60.0));
    append(gated, sine(1000.0, -36.0, 10.0));
    EXPECT_NEAR(loudness::integrated(view(gated)), -23.0, 0.1);
    // ...and silence falls under the absolute gate.
    synth::Stereo silent(size_t(30 * synth::kRate));
    append(silent, sine(1000.0, -20.0, 10.0));
    EXPECT_NEAR(loudness::integrated(view(silent)), -20.0, 0.1);
    EXPECT_TRUE(std::isinf(loudness::integrated(view(synth::Stereo(1000)))));
    // K-weighting: low bass counts for less than the same level at 1 kHz, high treble for more.
    EXPECT_LT(loudness::integrated(view(sine(40.0, -23.0, 5.0))), -24.0);
    EXPECT_GT(loudness::integrated(view(sine(8000.0, -23.0, 5.0))), -22.0);
}

TEST(Loudness, TruePeakFindsPeaksBetweenSamples)
{
    // A quarter-rate sine sampled 45 degrees off its crests: samples at 0.707, the wave at 1.
    const synth::Stereo s = sine(synth::kRate / 4.0, 0.0, 1.0, kPi / 4.0);
    EXPECT_NEAR(loudness::toDb(loudness::samplePeak(view(s))), -3.01, 0.05);
    EXPECT_NEAR(loudness::toDb(loudness::truePeak(view(s))), 0.0, 0.25);
    const synth::Stereo low = sine(100.0, -6.0, 1.0);
    EXPECT_NEAR(loudness::toDb(loudness::truePeak(view(low))), -6.0, 0.05);
}

TEST(Limiter, HoldsTheCeilingAndLeavesQuietMusicAlone)
{
    synth::Stereo loud = sine(60.0, 0.0, 2.0);
    synth::Rng rng(5);
    for (size_t i = 0; i < loud.frames(); ++i) {
        loud.left[i] = loud.left[i] * 1.5f + 0.3f * rng.bipolar();
        loud.right[i] = loud.right[i] * 0.5f;
        if (i % 10000 == 0)
            loud.left[i] = 4.0f; // single-sample spikes
    }
    const float ceiling = synth::dbToGain(-2.0f);
    synth::Limiter(ceiling, 0.004f, 0.1f).process(loud);
    EXPECT_LE(loudness::samplePeak(view(loud)), ceiling * 1.0001f);
    // The gain is linked: the quieter right channel is pulled down with the left.
    EXPECT_LT(loudness::samplePeak({{loud.right.data()}, loud.frames(), synth::kRate}), 0.5f * ceiling);

    const synth::Stereo quiet = sine(440.0, -12.0, 0.5);
    synth::Stereo limited = quiet;
    synth::Limiter(ceiling, 0.004f, 0.1f).process(limited);
    EXPECT_EQ(limited.left, quiet.left);
}

TEST(Synth, VoicesAreDeterministicFiniteAndDecay)
{
    using Render = std::vector<float> (*)(const synth::Voice&);
    const Render voices[] = {synth::kickVoice, synth::snareVoice, synth::clapVoice, synth::hatVoice,
                             synth::crashVoice, synth::boomVoice, synth::bassVoice, synth::acidVoice,
                             synth::pluckVoice, synth::bellVoice};
    for (Render render : voices) {
        const synth::Voice v{.note = 45.0f, .length = 0.3f, .velocity = 1.0f, .brightness = 1.0f, .seed = 9};
        const std::vector<float> a = render(v), b = render(v);
        ASSERT_GT(a.size(), 100u);
        EXPECT_EQ(a, b);
        float peak = 0.0f;
        for (float s : a) {
            ASSERT_TRUE(std::isfinite(s));
            peak = std::max(peak, std::fabs(s));
        }
        EXPECT_GT(peak, 0.05f);
        EXPECT_LT(peak, 4.0f);
        EXPECT_LT(std::fabs(a.back()), 0.01f * peak) << "voice does not end quietly";
    }
    // Noise voices follow their seed: the same seed repeats, another one differs.
    const synth::Voice one{.length = 0.1f, .seed = 1}, two{.length = 0.1f, .seed = 2};
    EXPECT_NE(synth::hatVoice(one), synth::hatVoice(two));
}

TEST(Svf, PassesLowsAndStopsHighs)
{
    auto gainAt = [](float hz) {
        synth::Svf f;
        f.set(500.0f, 0.0f);
        synth::Oscillator o;
        o.setFrequency(hz);
        float peak = 0.0f;
        for (int i = 0; i < synth::kRate; ++i) {
            f.process(o.sine());
            if (i > synth::kRate / 2)
                peak = std::max(peak, std::fabs(f.low));
        }
        return peak;
    };
    EXPECT_NEAR(gainAt(50.0f), 1.0f, 0.05f);
    EXPECT_LT(gainAt(5000.0f), 0.02f); // two poles: -40 dB a decade
}

TEST(AudioDecoder, DecodesMp3FilesOfOtherEncoders)
{
    platform::AudioDecoder d;
    ASSERT_TRUE(d.decodeFile(testfiles::corpus("mp3/sine440_3s_64k.mp3"))) << d.error();
    EXPECT_EQ(d.sampleRate(), 44100);
    EXPECT_EQ(d.channelCount(), 2);
    EXPECT_NEAR(d.duration(), 3.0, 0.06);
    // A 440 Hz tone: count rising zero crossings over the middle second.
    int crossings = 0;
    const auto& left = d.channel(0);
    for (size_t i = 44100; i < 88200; ++i)
        crossings += left[i - 1] < 0.0f && left[i] >= 0.0f;
    EXPECT_NEAR(crossings, 440, 2);

    ASSERT_TRUE(d.decodeFile(testfiles::corpus("mp3/sine220_8s_22k.mp3"))) << d.error();
    EXPECT_EQ(d.sampleRate(), 22050);
    EXPECT_NEAR(d.duration(), 8.0, 0.1);
}

TEST(AudioDecoder, RejectsMissingAndBrokenFiles)
{
    platform::AudioDecoder d;
    EXPECT_FALSE(d.decodeFile(testfiles::corpus("mp3/no-such-file.mp3")));
    EXPECT_FALSE(d.error().empty());
    EXPECT_EQ(d.frameCount(), 0u);
    EXPECT_FALSE(d.decodeFile(testfiles::corpus("mp3/garbage.mp3")));
    EXPECT_FALSE(d.error().empty());
    const std::string dir = testfiles::tempDir("decoder");
    testfiles::writeFile(dir + "/empty.mp3", "");
    EXPECT_FALSE(d.decodeFile(dir + "/empty.mp3"));
}

} // namespace
