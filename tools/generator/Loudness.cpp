#include "Loudness.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace loudness {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Direct-form biquad run over a whole channel, in double precision.
struct Biquad {
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double process(double x)
    {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// The two K-weighting stages (high shelf for the head, then the RLB high pass) designed for
// any sample rate from their analogue prototypes.
std::pair<Biquad, Biquad> kWeighting(int rate)
{
    double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
    double k = std::tan(kPi * f0 / rate);
    const double vh = std::pow(10.0, gainDb / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    double a0 = 1.0 + k / q + k * k;
    Biquad shelf{(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
                 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
    f0 = 38.13547087602444;
    q = 0.5003270373238773;
    k = std::tan(kPi * f0 / rate);
    a0 = 1.0 + k / q + k * k;
    Biquad highPass{1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
    return {shelf, highPass};
}

// Mean square of the K-weighted, channel-summed signal over 400 ms blocks every 100 ms.
std::vector<double> blockPowers(const Planar& audio)
{
    const size_t step = static_cast<size_t>(audio.rate) / 10;
    const size_t block = step * 4;
    if (audio.frames < block || step == 0)
        return {};
    const size_t steps = audio.frames / step;
    std::vector<double> stepEnergy(steps, 0.0);
    for (const float* channel : audio.channels) {
        auto [shelf, highPass] = kWeighting(audio.rate);
        for (size_t i = 0; i < steps * step; ++i) {
            const double y = highPass.process(shelf.process(channel[i]));
            stepEnergy[i / step] += y * y;
        }
    }
    std::vector<double> powers;
    for (size_t s = 0; s + 4 <= steps; ++s)
        powers.push_back((stepEnergy[s] + stepEnergy[s + 1] + stepEnergy[s + 2] + stepEnergy[s + 3]) / double(block));
    return powers;
}

double powerToLufs(double power)
{
    return power > 0.0 ? -0.691 + 10.0 * std::log10(power) : -std::numeric_limits<double>::infinity();
}

double lufsToPower(double lufs) { return std::pow(10.0, (lufs + 0.691) / 10.0); }

// Windowed-sinc interpolation filter for 4x oversampling: phase p of output sample n is
// sum over j of x[n - j] * taps[4 j + p]; phase 0 returns the input samples unchanged.
constexpr int kFactor = 4;
constexpr int kTapsPerPhase = 16;

std::vector<double> interpolationTaps()
{
    const int length = kFactor * kTapsPerPhase;
    const double centre = length / 2;
    std::vector<double> taps(static_cast<size_t>(length));
    for (int m = 0; m < length; ++m) {
        const double x = (m - centre) / kFactor;
        const double sinc = x == 0.0 ? 1.0 : std::sin(kPi * x) / (kPi * x);
        const double w = 0.42 + 0.5 * std::cos(kPi * (m - centre) / centre) + 0.08 * std::cos(2.0 * kPi * (m - centre) / centre);
        taps[static_cast<size_t>(m)] = sinc * w;
    }
    return taps;
}

} // namespace

double toDb(double gain) { return gain > 0.0 ? 20.0 * std::log10(gain) : -std::numeric_limits<double>::infinity(); }

std::vector<double> momentary(const Planar& audio)
{
    std::vector<double> out = blockPowers(audio);
    for (double& p : out)
        p = powerToLufs(p);
    return out;
}

double integrated(const Planar& audio)
{
    const std::vector<double> powers = blockPowers(audio);
    const double absoluteGate = lufsToPower(-70.0);
    double sum = 0.0;
    size_t count = 0;
    for (double p : powers)
        if (p > absoluteGate) {
            sum += p;
            ++count;
        }
    if (count == 0)
        return -std::numeric_limits<double>::infinity();
    const double relativeGate = lufsToPower(powerToLufs(sum / double(count)) - 10.0);
    sum = 0.0;
    count = 0;
    for (double p : powers)
        if (p > absoluteGate && p > relativeGate) {
            sum += p;
            ++count;
        }
    return count ? powerToLufs(sum / double(count)) : -std::numeric_limits<double>::infinity();
}

float samplePeak(const Planar& audio)
{
    float peak = 0.0f;
    for (const float* channel : audio.channels)
        for (size_t i = 0; i < audio.frames; ++i)
            peak = std::max(peak, std::fabs(channel[i]));
    return peak;
}

float truePeak(const Planar& audio)
{
    static const std::vector<double> taps = interpolationTaps();
    double peak = samplePeak(audio);
    // Band-limited music only peaks between two samples where they are loud themselves, so the
    // gaps between two samples below half the peak so far are skipped, which keeps this fast.
    for (const float* channel : audio.channels) {
        for (size_t n = 0; n < audio.frames; ++n) {
            const float next = n + 1 < audio.frames ? std::fabs(channel[n + 1]) : 0.0f;
            if (std::max(std::fabs(channel[n]), next) < 0.5 * peak)
                continue;
            for (int p = 1; p < kFactor; ++p) {
                double y = 0.0;
                for (int j = 0; j < kTapsPerPhase; ++j) {
                    // Output n at phase p lies between inputs around n; centre the window on it.
                    const long index = long(n) + kTapsPerPhase / 2 - j;
                    if (index >= 0 && index < long(audio.frames))
                        y += channel[index] * taps[static_cast<size_t>(kFactor * j + p)];
                }
                peak = std::max(peak, std::fabs(y));
            }
        }
    }
    return float(peak);
}

} // namespace loudness
