// Measures for checking rendered music: band-energy frames, section-change novelty, spectrogram.
#pragma once
#include <string>
#include <vector>

namespace analysis {

// Log-spaced band energies (dB) of mono audio in 2048-sample Hann windows every `hop` samples.
struct BandFrames {
    int hop = 441;
    int rate = 44100;
    int bands = 0;
    std::vector<float> db; // frame-major: db[frame * bands + band]
    size_t frames() const { return bands ? db.size() / size_t(bands) : 0; }
    double timeOf(size_t frame) const { return (double(frame) * hop + 1024) / rate; } // window centre
};
BandFrames bandFrames(const std::vector<float>& mono, int rate, int bands = 24, int hop = 441);

// How much the mean spectrum of the `window` seconds after `time` differs from the `window`
// seconds before it (root mean square over bands, dB).
double novelty(const BandFrames& f, double time, double window);
// The time within [from, to] where the novelty peaks.
double strongestChange(const BandFrames& f, double from, double to, double window);

// Writes a spectrogram picture (time left to right, 30 Hz to 20 kHz bottom to top, log scale)
// with a marker line at each of `marks` seconds.
bool writeSpectrogram(const std::string& path, const BandFrames& f, const std::vector<double>& marks,
                      int pixelsPerSecond);

} // namespace analysis
