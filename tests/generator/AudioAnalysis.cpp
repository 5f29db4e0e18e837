#include "AudioAnalysis.h"

#include "platform/PngWriter.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace analysis {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kWindow = 2048;

void fft(std::vector<std::complex<double>>& a)
{
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> w0 = std::polar(1.0, -2.0 * kPi / double(len));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w = 1.0;
            for (size_t k = 0; k < len / 2; ++k) {
                const std::complex<double> u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= w0;
            }
        }
    }
}

} // namespace

BandFrames bandFrames(const std::vector<float>& mono, int rate, int bands, int hop)
{
    BandFrames out;
    out.hop = hop;
    out.rate = rate;
    out.bands = bands;
    // Band b spans bins from 30 Hz to 20 kHz on a log scale.
    std::vector<int> edges(size_t(bands) + 1);
    for (int b = 0; b <= bands; ++b) {
        const double hz = 30.0 * std::pow(20000.0 / 30.0, double(b) / bands);
        edges[size_t(b)] = std::max(1, int(hz * kWindow / rate));
    }
    for (int b = 1; b <= bands; ++b)
        edges[size_t(b)] = std::max(edges[size_t(b)], edges[size_t(b - 1)] + 1);
    std::vector<double> window(kWindow);
    for (int i = 0; i < kWindow; ++i)
        window[size_t(i)] = 0.5 - 0.5 * std::cos(2.0 * kPi * i / kWindow);
    std::vector<std::complex<double>> buffer(kWindow);
    for (size_t start = 0; start + kWindow <= mono.size(); start += size_t(hop)) {
        for (int i = 0; i < kWindow; ++i)
            buffer[size_t(i)] = mono[start + size_t(i)] * window[size_t(i)];
        fft(buffer);
        for (int b = 0; b < bands; ++b) {
            double energy = 0.0;
            for (int k = edges[size_t(b)]; k < edges[size_t(b) + 1] && k < kWindow / 2; ++k)
                energy += std::norm(buffer[size_t(k)]);
            out.db.push_back(float(10.0 * std::log10(energy + 1e-9)));
        }
    }
    return out;
}

double novelty(const BandFrames& f, double time, double window)
{
    // Frame i spans samples i * hop .. i * hop + kWindow; its centre is half a window later.
    const long centre = std::lround((time * f.rate - kWindow / 2) / f.hop);
    const long span = std::max(1L, std::lround(window * f.rate / f.hop));
    const long frames = long(f.frames());
    if (centre - span < 0 || centre + span > frames)
        return 0.0;
    double sum = 0.0;
    for (int b = 0; b < f.bands; ++b) {
        double before = 0.0, after = 0.0;
        for (long i = centre - span; i < centre; ++i)
            before += f.db[size_t(i) * size_t(f.bands) + size_t(b)];
        for (long i = centre; i < centre + span; ++i)
            after += f.db[size_t(i) * size_t(f.bands) + size_t(b)];
        const double d = (after - before) / double(span);
        sum += d * d;
    }
    return std::sqrt(sum / f.bands);
}

double strongestChange(const BandFrames& f, double from, double to, double window)
{
    double best = from, bestValue = -1.0;
    for (double t = from; t <= to; t += double(f.hop) / f.rate) {
        const double n = novelty(f, t, window);
        if (n > bestValue) {
            bestValue = n;
            best = t;
        }
    }
    return best;
}

bool writeSpectrogram(const std::string& path, const BandFrames& f, const std::vector<double>& marks,
                      int pixelsPerSecond)
{
    const double seconds = f.timeOf(f.frames());
    const int width = std::max(1, int(seconds * pixelsPerSecond));
    const int bandHeight = std::max(1, 256 / std::max(1, f.bands));
    const int height = f.bands * bandHeight;
    // Colours span the 70 dB below the loudest band anywhere.
    const double top = f.db.empty() ? 0.0 : *std::max_element(f.db.begin(), f.db.end());
    std::vector<unsigned char> pixels(size_t(width) * size_t(height) * 3, 0);
    for (int x = 0; x < width; ++x) {
        const size_t from = size_t(double(x) / pixelsPerSecond * f.rate / f.hop);
        const size_t to = std::min(f.frames(), size_t(double(x + 1) / pixelsPerSecond * f.rate / f.hop) + 1);
        for (int b = 0; b < f.bands; ++b) {
            double peak = -200.0;
            for (size_t i = from; i < to; ++i)
                peak = std::max(peak, double(f.db[i * size_t(f.bands) + size_t(b)]));
            const double v = std::clamp((peak - top + 70.0) / 70.0, 0.0, 1.0);
            const unsigned char r = (unsigned char)(255 * std::min(1.0, v * 2.0));
            const unsigned char g = (unsigned char)(255 * std::clamp(v * 2.0 - 0.6, 0.0, 1.0));
            const unsigned char bl = (unsigned char)(255 * std::clamp(1.0 - std::fabs(v - 0.3) * 3.0, 0.0, 1.0));
            for (int y = 0; y < bandHeight; ++y) {
                const int row = height - 1 - (b * bandHeight + y);
                unsigned char* p = &pixels[(size_t(row) * size_t(width) + size_t(x)) * 3];
                p[0] = r;
                p[1] = g;
                p[2] = bl;
            }
        }
    }
    for (double m : marks) {
        const int x = int(m * pixelsPerSecond);
        if (x < 0 || x >= width)
            continue;
        for (int y = 0; y < height; y += 2) {
            unsigned char* p = &pixels[(size_t(y) * size_t(width) + size_t(x)) * 3];
            p[0] = 0;
            p[1] = 255;
            p[2] = 255;
        }
    }
    return platform::writePng(path, width, height, 3, pixels.data());
}

} // namespace analysis
