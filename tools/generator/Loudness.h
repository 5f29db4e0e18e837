// Loudness and peak measures for mastering and for checking rendered audio: ITU-R BS.1770
// K-weighted, gated integrated loudness and 4x oversampled true peak.
#pragma once
#include <cstddef>
#include <vector>

namespace loudness {

// A view of planar audio: `channels` pointers to `frames` samples each (at most 2 weighted as
// left and right; more channels are weighted 1 too).
struct Planar {
    std::vector<const float*> channels;
    size_t frames = 0;
    int rate = 44100;
};

// Integrated loudness in LUFS (absolute gate -70 LUFS, relative gate -10 LU); -inf when every
// block is gated out or the audio is shorter than one 400 ms block.
double integrated(const Planar& audio);
// Loudness of each 400 ms block, one per 100 ms step (momentary loudness), in LUFS.
std::vector<double> momentary(const Planar& audio);
// Highest absolute sample value and highest value of the 4x oversampled signal, as linear gains.
float samplePeak(const Planar& audio);
float truePeak(const Planar& audio);

double toDb(double gain);

} // namespace loudness
