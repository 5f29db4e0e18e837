#include "AudioAnalysis.h"
#include "Loudness.h"
#include "Music.h"
#include "Synth.h"
#include "TestFiles.h"
#include "platform/AudioDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

loudness::Planar planar(const platform::AudioDecoder& d)
{
    loudness::Planar p;
    for (int c = 0; c < d.channelCount(); ++c)
        p.channels.push_back(d.channel(c).data());
    p.frames = d.frameCount();
    p.rate = d.sampleRate();
    return p;
}

std::vector<float> mono(const platform::AudioDecoder& d)
{
    std::vector<float> out(d.frameCount(), 0.0f);
    for (int c = 0; c < d.channelCount(); ++c)
        for (size_t i = 0; i < out.size(); ++i)
            out[i] += d.channel(c)[i] / float(d.channelCount());
    return out;
}

// The whole soundtrack, generated once for the suite the way the build does it and read back
// through FFmpeg.
class Soundtrack : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = new std::string(testfiles::tempDir("music"));
        std::string error;
        ASSERT_TRUE(music::writeMusic(*dir_, {}, error)) << error;
        decoded_ = new platform::AudioDecoder;
        ASSERT_TRUE(decoded_->decodeFile(*dir_ + "/" + music::kMusicFile)) << decoded_->error();
        bands_ = new analysis::BandFrames(analysis::bandFrames(mono(*decoded_), decoded_->sampleRate()));
        if (const char* picture = std::getenv("OCULITH_SPECTROGRAM")) {
            std::vector<double> marks = music::sectionTimes();
            marks.insert(marks.end(), music::cueTimes().begin(), music::cueTimes().end());
            analysis::writeSpectrogram(picture, analysis::bandFrames(mono(*decoded_), decoded_->sampleRate(), 64),
                                       marks, 4);
        }
    }
    static void TearDownTestSuite()
    {
        if (dir_)
            std::filesystem::remove_all(*dir_);
        delete dir_;
        delete decoded_;
        delete bands_;
        dir_ = nullptr;
        decoded_ = nullptr;
        bands_ = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(decoded_ && decoded_->frameCount() > 0); }

    // The spectrum changes at `target`: within 0.6 s around it, the strongest change between the
    // 0.4 s before and the 0.4 s after a moment lies within 0.1 s of it, and it stands well above
    // the changes the rhythm makes in the 16 s around it.
    static void expectChangeAt(double target, const char* what)
    {
        const double window = 0.4;
        const double found = analysis::strongestChange(*bands_, target - 0.6, target + 0.6, window);
        std::vector<double> around;
        for (double t = target - 8.0; t < target + 8.0; t += 0.05)
            if (std::fabs(t - target) > 1.0 && t > 1.0 && t < 357.0)
                around.push_back(analysis::novelty(*bands_, t, window));
        std::sort(around.begin(), around.end());
        const double typical = around[around.size() / 2];
        const double change = analysis::novelty(*bands_, found, window);
        std::printf("%s %7.3f s: measured %7.3f s (%+.3f), change %.1f dB against %.1f dB typical\n", what,
                    target, found, found - target, change, typical);
        EXPECT_NEAR(found, target, 0.1) << what << " at " << target;
        EXPECT_GT(change, 1.5 * typical) << what << " at " << target;
    }

    static std::string* dir_;
    static platform::AudioDecoder* decoded_;
    static analysis::BandFrames* bands_;
};
std::string* Soundtrack::dir_ = nullptr;
platform::AudioDecoder* Soundtrack::decoded_ = nullptr;
analysis::BandFrames* Soundtrack::bands_ = nullptr;

TEST_F(Soundtrack, HasTheShowsFormatAndEndsBeforeTheShowDoes)
{
    EXPECT_EQ(decoded_->sampleRate(), 44100);
    EXPECT_EQ(decoded_->channelCount(), 2);
    EXPECT_GE(decoded_->duration(), 358.2);
    EXPECT_LT(decoded_->duration(), 358.5);
    // Nothing audible after 358.1 s (the show closes at 358.109 s).
    size_t lastLoud = 0;
    for (int c = 0; c < 2; ++c)
        for (size_t i = 0; i < decoded_->frameCount(); ++i)
            if (std::fabs(decoded_->channel(c)[i]) > 0.001f)
                lastLoud = std::max(lastLoud, i);
    EXPECT_LE(double(lastLoud) / 44100.0, 358.1);
    EXPECT_GT(double(lastLoud) / 44100.0, 357.0);
}

TEST_F(Soundtrack, IsMasteredWithoutClippingOffsetOrGaps)
{
    const loudness::Planar audio = planar(*decoded_);
    const double truePeak = loudness::toDb(loudness::truePeak(audio));
    const double integrated = loudness::integrated(audio);
    std::printf("decoded: %.3f s, true peak %.2f dBTP, integrated %.2f LUFS\n", decoded_->duration(), truePeak,
                integrated);
    EXPECT_LE(truePeak, -1.0);
    EXPECT_NEAR(integrated, -14.0, 0.5);
    for (int c = 0; c < 2; ++c) {
        double sum = 0.0;
        for (float s : decoded_->channel(c))
            sum += s;
        EXPECT_LT(std::fabs(sum / double(decoded_->frameCount())), 1e-3) << "DC offset on channel " << c;
    }
    // No stretch longer than 0.5 s below -60 dBFS (10 ms RMS) before the closing fade.
    const size_t block = 441;
    double quietSince = 0.0, longestQuiet = 0.0;
    for (size_t at = 0; at + block <= size_t(357.0 * 44100); at += block) {
        double energy = 0.0;
        for (int c = 0; c < 2; ++c)
            for (size_t i = at; i < at + block; ++i)
                energy += double(decoded_->channel(c)[i]) * decoded_->channel(c)[i];
        const double t = double(at) / 44100.0;
        if (10.0 * std::log10(energy / (2.0 * block) + 1e-20) > -60.0)
            quietSince = t + 0.01;
        longestQuiet = std::max(longestQuiet, t + 0.01 - quietSince);
    }
    EXPECT_LT(longestQuiet, 0.5);
}

TEST_F(Soundtrack, SectionsChangeAtTheSceneBoundaries)
{
    // The interlude is the quietest stretch; the sections around it are clearly louder.
    const std::vector<double> blocks = loudness::momentary(planar(*decoded_));
    auto meanLoudness = [&](double from, double to) {
        double sum = 0.0;
        int n = 0;
        for (size_t i = size_t(from * 10); i < size_t(to * 10) && i < blocks.size(); ++i, ++n)
            sum += std::pow(10.0, blocks[i] / 10.0);
        return 10.0 * std::log10(sum / n);
    };
    const double interlude = meanLoudness(128.5, 134.5);
    std::printf("interlude %.1f LUFS, before %.1f LUFS, after %.1f LUFS\n", interlude, meanLoudness(100.0, 127.0),
                meanLoudness(136.0, 170.0));
    EXPECT_LT(interlude, meanLoudness(100.0, 127.0) - 6.0);
    EXPECT_LT(interlude, meanLoudness(136.0, 170.0) - 6.0);

    for (size_t i = 1; i < music::sectionTimes().size(); ++i)
        expectChangeAt(music::sectionTimes()[i], "section change");
}

TEST_F(Soundtrack, MarksEachCueAudibly)
{
    // Each cue is an entry, a drop or a filter dive: a change of spectrum as clear as a section's.
    for (double cue : music::cueTimes())
        expectChangeAt(cue, "cue");
}

TEST_F(Soundtrack, BuildsIdenticalBytesEveryTime)
{
    const std::string mine = testfiles::readFile(*dir_ + "/" + music::kMusicFile);
    ASSERT_GT(mine.size(), 1000000u);
    // The build's own copy, when the build generated one with the current generator, came from a
    // separate run.
    const std::string built = std::string(OCULITH_BINARY_DIR) + "/" + music::kMusicFile;
    const std::string generator = std::string(OCULITH_BINARY_DIR) + "/tools/generator/oculith-generate";
    std::error_code ec;
    const bool current = std::filesystem::exists(built, ec) && std::filesystem::exists(generator, ec) &&
                         std::filesystem::last_write_time(built, ec) >= std::filesystem::last_write_time(generator, ec);
    if (current) {
        EXPECT_TRUE(testfiles::readFile(built) == mine) << built << " differs from a fresh render";
    }
    // Two renders of an excerpt in this process encode to the same bytes.
    music::RenderOptions excerpt;
    excerpt.seconds = 12.0;
    std::string error;
    const auto first = music::encodeMp3(music::render(excerpt).audio, music::kBitRate, false, error);
    const auto second = music::encodeMp3(music::render(excerpt).audio, music::kBitRate, false, error);
    ASSERT_FALSE(first.empty()) << error;
    EXPECT_TRUE(first == second);
}

TEST(TempoGrid, PutsEverySceneChangeAndCueOnADownbeatNearTheNominalTempo)
{
    std::vector<double> anchors = music::sectionTimes();
    anchors.insert(anchors.end(), music::cueTimes().begin(), music::cueTimes().end());
    std::sort(anchors.begin(), anchors.end());
    EXPECT_EQ(music::partStarts(), anchors);
    const music::TempoGrid grid(anchors, music::kSoundEnd, music::kTempo);
    ASSERT_EQ(grid.stretches().size(), anchors.size());
    for (size_t i = 0; i < anchors.size(); ++i) {
        const auto& s = grid.stretches()[i];
        EXPECT_DOUBLE_EQ(s.start, anchors[i]);
        EXPECT_NEAR(s.start + s.halfBars * 2 * s.beat, s.end, 1e-9);
        if (i + 1 == anchors.size())
            break; // the closing chord rings out without a beat
        EXPECT_NEAR(60.0 / s.beat, music::kTempo, music::kTempo * 0.04) << "stretch from " << s.start;
    }
}

} // namespace
