// The show's soundtrack: arrangement, rendering through the synthesiser, mastering and MP3 file.
#pragma once
#include "Synth.h"

#include <cstdint>
#include <string>
#include <vector>

namespace music {

// Where the show looks for its music, relative to the data folder's parent.
inline constexpr const char* kMusicFile = "data/snd/oculith - edit 2 (64k).mp3";
// Scene changes the music's sections follow, and the moments within scenes it marks.
const std::vector<double>& sectionTimes();
const std::vector<double>& cueTimes();
// Start times of the arrangement's parts: every section change and cue starts a part.
std::vector<double> partStarts();
// Sound stops by kSoundEnd; the file runs a little longer, to kLength.
inline constexpr double kSoundEnd = 358.05;
inline constexpr double kLength = 358.3;
inline constexpr float kTargetLoudness = -14.0f; // LUFS
inline constexpr float kPeakCeiling = -1.6f;     // dBTP before encoding
inline constexpr double kTempo = 126.0;          // nominal beats per minute

// The beat grid: between two anchor times (section changes and cues) one tempo, chosen near the
// nominal one so the stretch holds a whole number of half bars; every anchor is a downbeat.
class TempoGrid {
public:
    struct Stretch {
        double start, end;
        int halfBars;
        double beat; // seconds
        double stepSeconds() const { return beat / 4.0; }
        int steps() const { return halfBars * 8; } // sixteenth notes
    };
    TempoGrid(const std::vector<double>& anchors, double end, double nominalBpm);
    const std::vector<Stretch>& stretches() const { return stretches_; }

private:
    std::vector<Stretch> stretches_;
};

inline constexpr int kBitRate = 128; // kilobits per second of the show's MP3

struct RenderOptions {
    double seconds = kLength; // a shorter excerpt renders the same music, cut (and mastered alone)
    uint64_t seed = 0x0C011748u;
    bool progress = false;    // print what it does on standard output
    int bitRate = kBitRate;
};

struct RenderResult {
    synth::Stereo audio;
    size_t notes = 0;
    double loudness = 0.0;   // LUFS after mastering, as the encoder will give it back
    double truePeakDb = 0.0; // dBTP likewise
};

RenderResult render(const RenderOptions& options);

// MP3 (MPEG-1 layer III, constant bit rate, with the encoder-delay tag) of a 44.1 kHz stereo buffer.
std::vector<unsigned char> encodeMp3(const synth::Stereo& audio, int kbps, bool progress, std::string& error);

// Renders, encodes and writes the music file under `outDir`; false with `error` on failure.
bool writeMusic(const std::string& outDir, const RenderOptions& options, std::string& error);

} // namespace music
