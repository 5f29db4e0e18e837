#include "EyeClip.h"

#include "Artwork.h"
#include "ImageFiles.h"
#include "platform/AviWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace eyeclip {

using namespace artwork::palette;

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kTwoPi = 2.0f * kPi;
// Radii in units of half the picture: the iris's outer edge and the ring of marks.
constexpr float kIris = 0.70f;
constexpr float kMarks = 0.86f;
// The fibres repeat every twelfth of a turn and turn by exactly that much over the clip; the
// darker crypts under them repeat every sixth and turn the other way by one period.
constexpr int kFibreSymmetry = 12;
constexpr int kCryptSymmetry = 6;
constexpr int kTicks = 48;

// One angular wave of the fibres: its frequency (a multiple of the symmetry), strength and how
// far it twists from the pupil to the rim.
struct Wave {
    int frequency;
    float amplitude, twist, offset;
};
const Wave kFibres[] = {
    {24, 0.5f, 0.9f, 0.0f},
    {36, 0.3f, -1.4f, 1.3f},
    {60, 0.15f, 2.2f, 2.1f},
};
const Wave kCrypts[] = {
    {6, 0.6f, 0.5f, 0.4f},
    {18, 0.4f, -0.8f, 2.5f},
};

// How much of a wave of `frequency` survives at `radiusPx` pixels from the centre: fades out
// before it would alias (more than about a third of a cycle per pixel).
float bandLimit(int frequency, float radiusPx)
{
    const float cyclesPerPixel = float(frequency) / (kTwoPi * std::max(radiusPx, 1.0f));
    return 1.0f - smoothstep(0.12f, 0.3f, cyclesPerPixel);
}

// Sum of the waves at angle `a`, radial position u (0 pupil .. 1 rim), in -1 .. 1.
float waves(const Wave* list, int count, float a, float u, float radiusPx)
{
    float sum = 0.0f, weight = 0.0f;
    for (int i = 0; i < count; ++i) {
        const Wave& w = list[i];
        sum += w.amplitude * bandLimit(w.frequency, radiusPx) *
               std::cos(float(w.frequency) * a + w.twist * u + w.offset);
        weight += w.amplitude;
    }
    return sum / weight;
}

void addScaled(float* px, const Colour& c, float k)
{
    px[0] += c.r * k;
    px[1] += c.g * k;
    px[2] += c.b * k;
}

// The picture's base: the night backdrop with its haze, the iris with pupil, fibres, crypts,
// collarette and running light, pixel by pixel.
void shadeIris(Canvas& canvas, float phase)
{
    const float half = float(kSize) * 0.5f;
    const float pixel = 1.0f / half;
    const float breath = std::sin(kTwoPi * phase);
    const float pupil = 0.19f + 0.035f * breath + 0.01f * std::sin(2.0f * kTwoPi * phase + 1.0f);
    const float fibreTurn = kTwoPi / float(kFibreSymmetry) * phase;
    const float cryptTurn = -kTwoPi / float(kCryptSymmetry) * phase;
    // The light ring runs out twice per loop and is dark when it restarts.
    const float run = std::fmod(phase * 2.0f, 1.0f);
    const float runStrength = std::pow(std::sin(kPi * run), 2.0f);
    const Colour collarette = mix(kEmber, kGold, 0.45f);

    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float dx = (float(x) + 0.5f - half) * pixel, dy = (float(y) + 0.5f - half) * pixel;
            const float r = std::sqrt(dx * dx + dy * dy);
            const float a = std::atan2(dy, dx);
            float* px = canvas.pixel(x, y);
            px[0] = px[1] = px[2] = 0.0f;
            px[3] = 1.0f;
            // Backdrop: deep blue at the centre falling to night, a violet halo round the iris.
            addScaled(px, mix(kDeep, kNight, smoothstep(0.2f, 1.35f, r)), 1.0f);
            addScaled(px, kViolet, 0.35f * std::exp(-std::pow((r - kIris) / 0.2f, 2.0f)));
            addScaled(px, kIndigo, 0.35f * std::exp(-r * r * 1.5f));

            const float inIris = smoothstep(kIris + pixel, kIris - pixel, r) * smoothstep(pupil - pixel, pupil + pixel, r);
            if (inIris > 0.0f) {
                const float u = std::clamp((r - pupil) / (kIris - pupil), 0.0f, 1.0f);
                const float radiusPx = r * half;
                const float fibres = waves(kFibres, 3, a - fibreTurn, u, radiusPx);
                const float crypts = waves(kCrypts, 2, a - cryptTurn, u * 3.0f, radiusPx);
                // Warm near the pupil, violet through the middle, frost towards the rim.
                Colour base = mix(collarette, kViolet, smoothstep(0.12f, 0.55f, u));
                base = mix(base, kFrost, 0.55f * smoothstep(0.6f, 0.95f, u));
                float light = 0.55f + 0.45f * fibres + 0.25f * std::max(0.0f, fibres) * (1.0f - u);
                light *= 0.8f + 0.2f * crypts;
                // The rim darkens into the limbal ring.
                light *= 1.0f - 0.75f * smoothstep(0.82f, 1.0f, u);
                // Collarette: a zigzag of light turning with the fibres.
                const float zig = 0.3f + 0.035f * std::cos(float(kFibreSymmetry) * (a - fibreTurn));
                const float rim = std::exp(-std::pow((u - zig) / 0.045f, 2.0f));
                const float runLight = runStrength * std::exp(-std::pow((u - run) / 0.07f, 2.0f));
                float* const p = px;
                const float keep = 1.0f - inIris;
                p[0] *= keep, p[1] *= keep, p[2] *= keep;
                addScaled(p, base, inIris * light);
                addScaled(p, kGold, inIris * 0.55f * rim * (0.7f + 0.3f * fibres));
                addScaled(p, kPaper, inIris * 0.5f * runLight * (0.6f + 0.4f * fibres));
            }
            // The pupil: near black, lit at its edge by the collarette.
            const float inPupil = smoothstep(pupil + pixel, pupil - pixel, r);
            if (inPupil > 0.0f) {
                const float keep = 1.0f - inPupil;
                px[0] *= keep, px[1] *= keep, px[2] *= keep;
                addScaled(px, kNight, inPupil);
                addScaled(px, kEmber, inPupil * 0.35f * std::exp(-std::pow((pupil - r) / 0.03f, 2.0f)));
            }
        }
    }
}

// What turns round the iris: the ring of marks (one mark's spacing per loop), a thin circle,
// and motes on whole-number orbits.
void drawSurround(Canvas& canvas, float phase)
{
    const float half = float(kSize) * 0.5f;
    const float turn = -kTwoPi / float(kTicks) * phase;
    for (int i = 0; i < kTicks; ++i) {
        const float a = float(i) * kTwoPi / float(kTicks) + turn;
        const bool major = i % 4 == 0;
        const float inner = (kMarks - (major ? 0.05f : 0.025f)) * half, outer = kMarks * half;
        canvas.line(half + std::cos(a) * inner, half + std::sin(a) * inner, half + std::cos(a) * outer,
                    half + std::sin(a) * outer, major ? 1.2f : 0.8f, kGold, major ? 0.7f : 0.4f);
    }
    canvas.ring(half, half, (kMarks + 0.035f) * half, 0.8f, kGold, 0.3f);
    canvas.ring(half, half, (kIris + 0.012f) * half, 1.0f, kGold, 0.35f);
    // Motes: (starting angle, orbit radius, whole turns per loop, colour).
    struct Mote {
        float angle, radius;
        int turns;
        const Colour* colour;
    };
    const Mote motes[] = {
        {0.3f, 0.95f, 1, &kGold},  {2.4f, 0.95f, 1, &kEmber}, {4.2f, 0.95f, 1, &kGold},
        {1.1f, 0.78f, -1, &kFrost}, {3.9f, 0.78f, -1, &kFrost}, {5.5f, 1.02f, 2, &kPaper},
    };
    for (const Mote& m : motes) {
        const float a = m.angle + kTwoPi * float(m.turns) * phase;
        const float x = half + std::cos(a) * m.radius * half, y = half + std::sin(a) * m.radius * half;
        canvas.glow(x, y, 5.0f, *m.colour, 0.6f);
        canvas.disc(x, y, 1.1f, kPaper, 0.8f);
    }
}

// The reflection of a window on the cornea: fixed while the iris turns under it.
void drawHighlight(Canvas& canvas)
{
    const float half = float(kSize) * 0.5f;
    canvas.glow(half - 0.2f * half, half - 0.22f * half, 9.0f, kPaper, 0.35f);
    canvas.disc(half - 0.2f * half, half - 0.22f * half, 3.2f, kPaper, 0.85f);
    canvas.disc(half + 0.13f * half, half + 0.16f * half, 1.4f, kPaper, 0.5f);
}

} // namespace

std::vector<std::uint8_t> renderFrame(int index)
{
    const int wrapped = ((index % kFrameCount) + kFrameCount) % kFrameCount;
    const float phase = float(wrapped) / float(kFrameCount);
    Canvas canvas(kSize, kSize);
    shadeIris(canvas, phase);
    drawSurround(canvas, phase);
    drawHighlight(canvas);
    canvas.vignette(0.5f);
    return canvas.rgb8();
}

bool write(const std::string& outDir, bool progress, std::string& error)
{
    const std::string path = outDir + "/" + kFile;
    if (!imagefiles::makeParent(path, error))
        return false;
    platform::AviWriter writer;
    if (!writer.open(path, kSize, kSize, kFps, kQuality)) {
        error = writer.error();
        return false;
    }
    for (int i = 0; i < kFrameCount; ++i) {
        if (!writer.addFrame(renderFrame(i).data())) {
            error = writer.error();
            return false;
        }
    }
    if (!writer.close()) {
        error = writer.error();
        return false;
    }
    if (progress)
        std::printf("  %-24s %4d x %-4d %d frames at %d fps %7ju bytes\n", kFile, kSize, kSize, kFrameCount,
                    kFps, imagefiles::fileSize(path));
    return true;
}

} // namespace eyeclip
