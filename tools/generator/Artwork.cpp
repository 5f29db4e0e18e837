#include "Artwork.h"

#include "ImageFiles.h"
#include "TypeSetter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace artwork {

using namespace palette;

namespace {

constexpr float kPi = 3.14159265f;

// A line of text centred on `centreX` with its baseline at `baselineY`, with an optional glow
// (the lettering blurred and added as light) under it.
struct TextStyle {
    const char* font;
    int size;
    float tracking = 0.0f;
    Colour colour = kPaper;
    float opacity = 1.0f;
    Colour glowColour = kEmber;
    float glow = 0.0f;    // strength of the wide glow
    int glowRadius = 12;  // its blur radius
};

// `align`: 0 centred on x, 1 ending at x, -1 starting at x. `span` (optional) receives the left
// and right edges of the lettering.
bool setText(Canvas& canvas, const std::string& text, const TextStyle& style, float x, int baselineY,
             std::string& error, int align = 0, int* span = nullptr)
{
    TypeSetter face(style.font, style.size);
    if (!face.ok()) {
        error = face.error();
        return false;
    }
    const Coverage lettering = face.setLine(text, style.tracking);
    int left = int(std::lround(x));
    if (align == 0)
        left = int(std::lround(x - float(lettering.width) * 0.5f));
    else if (align > 0)
        left = int(std::lround(x)) - lettering.width;
    const int top = baselineY - face.ascender();
    if (style.glow > 0.0f) {
        // Pad the map so the glow is not cut at the lettering's box.
        const int pad = style.glowRadius * 3;
        Coverage padded(lettering.width + 2 * pad, lettering.height + 2 * pad);
        for (int y = 0; y < lettering.height; ++y)
            for (int x2 = 0; x2 < lettering.width; ++x2)
                padded.at(x2 + pad, y + pad) = lettering.at(x2, y);
        canvas.stampLight(padded.blurred(style.glowRadius), left - pad, top - pad, style.glowColour, style.glow);
        canvas.stampLight(padded.blurred(std::max(1, style.glowRadius / 4)), left - pad, top - pad,
                          style.glowColour, style.glow * 0.6f);
    }
    canvas.stamp(lettering, left, top, style.colour, style.opacity);
    if (span) {
        span[0] = left;
        span[1] = left + lettering.width;
    }
    return true;
}

// Short rules left and right of a line of lettering, `gap` pixels away from it.
void flankingRules(Canvas& canvas, const int* span, float y, float length, float gap, float opacity)
{
    canvas.line(float(span[0]) - gap - length, y, float(span[0]) - gap, y, 1.0f, kGold, opacity);
    canvas.line(float(span[1]) + gap, y, float(span[1]) + gap + length, y, 1.0f, kGold, opacity);
}

// The eye mark: an almond of two circular arcs (half-width w, half-height h), an iris ring with
// radial ticks, a pupil with its own light, a faint outer circle and rules running out to the
// sides.
void drawEye(Canvas& canvas, float cx, float cy, float w, float h, float opacity, float outerCut = 1.0f)
{
    // Two circles through the almond's corners: centres k above and below, radius h + k.
    const float k = (w * w - h * h) / (2.0f * h);
    const float r = h + k;
    const Colour line = kGold;
    auto insideUpper = [=](float x, float y) { return (x - cx) * (x - cx) + (y - (cy - k)) * (y - (cy - k)) <= r * r; };
    auto insideLower = [=](float x, float y) { return (x - cx) * (x - cx) + (y - (cy + k)) * (y - (cy + k)) <= r * r; };
    canvas.glow(cx, cy, h * 1.6f, kViolet, 0.35f * opacity);
    canvas.ring(cx, cy + k, r, 1.6f, line, 0.9f * opacity, insideUpper);
    canvas.ring(cx, cy - k, r, 1.6f, line, 0.9f * opacity, insideLower);
    // A second, finer almond just inside the first.
    const float w2 = w * 0.93f, h2 = h * 0.86f;
    const float k2 = (w2 * w2 - h2 * h2) / (2.0f * h2), r2 = h2 + k2;
    canvas.ring(cx, cy + k2, r2, 0.8f, line, 0.45f * opacity,
                [=](float x, float y) { return (x - cx) * (x - cx) + (y - (cy - k2)) * (y - (cy - k2)) <= r2 * r2; });
    canvas.ring(cx, cy - k2, r2, 0.8f, line, 0.45f * opacity,
                [=](float x, float y) { return (x - cx) * (x - cx) + (y - (cy + k2)) * (y - (cy + k2)) <= r2 * r2; });

    // Iris and its ticks.
    const float iris = h * 0.74f;
    canvas.ring(cx, cy, iris, 1.4f, line, 0.85f * opacity);
    canvas.ring(cx, cy, iris * 0.62f, 0.9f, kFrost, 0.6f * opacity);
    for (int i = 0; i < 36; ++i) {
        const float a = float(i) * 2.0f * kPi / 36.0f;
        const float inner = iris * (i % 3 == 0 ? 0.70f : 0.80f), outer = iris * 0.93f;
        canvas.line(cx + std::cos(a) * inner, cy + std::sin(a) * inner, cx + std::cos(a) * outer,
                    cy + std::sin(a) * outer, 0.9f, line, 0.55f * opacity);
    }
    canvas.glow(cx, cy, iris * 0.45f, kEmber, 0.55f * opacity);
    canvas.disc(cx, cy, iris * 0.22f, kNight, 0.9f * opacity);
    canvas.disc(cx - iris * 0.08f, cy - iris * 0.08f, iris * 0.05f, kPaper, 0.9f * opacity);

    // Outer circle with four small marks, and rules fading out to the sides.
    const float outer = w * 1.12f;
    // The outer circle stops short of whatever sits below the mark (outerCut × radius down).
    const float cutY = cy + outer * outerCut;
    canvas.ring(cx, cy, outer, 0.8f, line, 0.22f * opacity, [=](float, float y) {
        return y < cutY;
    });
    for (int i = 0; i < 4; ++i) {
        if (i == 1 && outerCut < 1.0f)
            continue;
        const float a = float(i) * kPi * 0.5f;
        canvas.line(cx + std::cos(a) * (outer - 6), cy + std::sin(a) * (outer - 6), cx + std::cos(a) * (outer + 6),
                    cy + std::sin(a) * (outer + 6), 1.0f, line, 0.5f * opacity);
    }
    const float reach = float(canvas.width()) * 0.5f - 24.0f;
    canvas.paint(0, int(cy) - 2, canvas.width(), int(cy) + 3, line, 0.55f * opacity, [=](float x, float y) {
        const float d = std::fabs(x - cx);
        if (d < w + 10.0f)
            return 0.0f;
        const float along = 1.0f - smoothstep(w + 10.0f, reach, d) * 1.0f;
        return along * std::max(0.0f, 1.1f - std::fabs(y - cy));
    });
}

// The shared backdrop of the opaque pictures: night at the edges, indigo and violet haze in
// the middle, a fine dot grid and grain.
void drawBackdrop(Canvas& canvas, float focusY)
{
    canvas.fillVertical({{0.0f, hexColour(0x0A0C1C)}, {0.45f, kDeep}, {0.75f, hexColour(0x120F2C)}, {1.0f, kNight}});
    const float cx = float(canvas.width()) * 0.5f;
    canvas.glow(cx, focusY, float(canvas.width()) * 0.42f, kIndigo, 0.55f);
    canvas.glow(cx, focusY, float(canvas.width()) * 0.22f, kViolet, 0.30f);
    // Dot grid, strongest near the focus.
    const float spacing = 32.0f;
    for (float y = spacing * 0.5f; y < float(canvas.height()); y += spacing) {
        for (float x = spacing * 0.5f + 8.0f; x < float(canvas.width()); x += spacing) {
            const float d = std::sqrt((x - cx) * (x - cx) + (y - focusY) * (y - focusY));
            const float a = 0.20f * (1.0f - smoothstep(60.0f, 380.0f, d));
            if (a > 0.01f)
                canvas.disc(x, y, 0.7f, kGold, a);
        }
    }
}

void finishOpaque(Canvas& canvas, std::uint32_t seed)
{
    canvas.vignette(0.55f);
    canvas.grain(0.010f, seed);
}

bool writeOne(const std::string& outDir, const Picture& picture, const std::vector<std::uint8_t>& bytes,
              bool opaque, bool progress, std::string& error)
{
    const std::string path = outDir + "/" + picture.path;
    const std::string ext = path.substr(path.rfind('.') + 1);
    bool ok = false;
    if (ext == "jpg")
        ok = imagefiles::writeJpeg(path, picture.width, picture.height, bytes, 92, error);
    else if (ext == "png")
        ok = imagefiles::writePng(path, picture.width, picture.height, bytes, error);
    else if (ext == "ctx")
        ok = imagefiles::writeCtx(path, picture.width, picture.height, bytes, error);
    else
        error = "no writer for " + path;
    if (ok && progress)
        std::printf("  %-24s %4d x %-4d %s %7ju bytes\n", picture.path.c_str(), picture.width, picture.height,
                    opaque ? "RGB " : "RGBA", imagefiles::fileSize(path));
    return ok;
}

const char* const kCreditRows[][2] = {
    {"CODE", "C++ and fixed-function OpenGL"},
    {"MODELS", "grown from procedures, kept as meshes"},
    {"GRAPHICS", "gradients, glow and type, computed"},
    {"MUSIC", "synthesised, mastered and encoded in software"},
};

} // namespace

std::vector<Picture> pictures()
{
    return {
        {"data/art/loading.jpg", 640, 480},
        {"data/art/title.png", layout::kTitleWidth, layout::kTitleHeight},
        {"data/art/interlude.png", layout::kInterludeWidth, layout::kInterludeHeight},
        {"data/art/credits.png", layout::kCreditsWidth, layout::kCreditsHeight},
        {"data/art/glow.ctx", 256, 256},
        {"data/art/shade.png", 256, 64},
        {"data/art/veil.jpg", layout::kVeilSize, layout::kVeilSize},
    };
}

bool drawLoading(Canvas& canvas, std::string& error)
{
    drawBackdrop(canvas, 196.0f);
    drawEye(canvas, 320.0f, 196.0f, 150.0f, 56.0f, 1.0f, 0.5f);
    TextStyle title{fonts::kSerif, 62, 20.0f};
    title.glow = 0.35f;
    title.glowRadius = 10;
    TextStyle subtitle{fonts::kSans, 12, 5.0f, kGold, 0.85f};
    TextStyle loading{fonts::kSans, 11, 4.0f, kFrost, 0.7f};
    int span[2];
    if (!setText(canvas, "OCULITH", title, 320.0f, 348, error) ||
        !setText(canvas, "A REAL-TIME AUDIOVISUAL SHOW", subtitle, 320.0f, 384, error, 0, span) ||
        !setText(canvas, "LOADING", loading, 320.0f, 446, error))
        return false;
    flankingRules(canvas, span, 379.5f, 40.0f, 14.0f, 0.45f);
    finishOpaque(canvas, 1);
    return true;
}

bool drawTitle(Canvas& canvas, std::string& error)
{
    using namespace layout;
    // The sharp title region first, then a blurred copy of it lower down.
    Canvas region(kTitleRegionW, kTitleRegionH);
    TextStyle title{fonts::kSerif, 84, 22.0f};
    title.glow = 0.45f;
    title.glowRadius = 9;
    if (!setText(region, "OCULITH", title, kTitleRegionW * 0.5f, 116, error))
        return false;
    canvas.draw(region, 0, kSharpY);

    Canvas subtitle(kTitleRegionW, kSubtitleH);
    TextStyle line{fonts::kSans, 14, 6.0f, kGold, 0.95f};
    int span[2];
    if (!setText(subtitle, "A REAL-TIME AUDIOVISUAL SHOW", line, kTitleRegionW * 0.5f, 30, error, 0, span))
        return false;
    flankingRules(subtitle, span, 24.5f, 44.0f, 14.0f, 0.5f);
    canvas.draw(subtitle, 0, kSubtitleY);

    // The blurred copy is brightened so it reads as light, not as a faint smudge.
    Canvas soft = region.blurred(7);
    canvas.draw(soft, 0, kBlurY, 1.0f);
    canvas.draw(soft, 0, kBlurY, 0.8f);
    return true;
}

bool drawInterlude(Canvas& canvas, std::string& error)
{
    using namespace layout;
    // Lettering on clear, one row each: the timeline brings the heading in as tiles and lays
    // the two quieter rows over the moving passage.
    TextStyle heading{fonts::kSerif, 56, 18.0f};
    heading.glow = 0.35f;
    heading.glowRadius = 8;
    TextStyle line{fonts::kSerif, 21, 1.0f, kGold, 0.95f};
    TextStyle mark{fonts::kSans, 12, 5.0f, kFrost, 0.8f};
    int span[2];
    if (!setText(canvas, "INTERLUDE", heading, kTitleRegionW * 0.5f, kHeadingY + 88, error) ||
        !setText(canvas, "the water settles  \xB7  the tunnel opens", line, kTitleRegionW * 0.5f, kLineY + 40,
                 error) ||
        !setText(canvas, "OCULITH  \xB7  PART TWO", mark, kTitleRegionW * 0.5f, kMarkY + 30, error, 0, span))
        return false;
    flankingRules(canvas, span, float(kMarkY) + 25.5f, 36.0f, 14.0f, 0.5f);
    return true;
}

void drawVeil(Canvas& canvas)
{
    // Seamless both ways (every wave has a whole number of periods across the picture): bands
    // run along the tunnel so the flight streams past them, with copper filaments wavering
    // through and a few warm knots of light.
    canvas.fillVertical({{0.0f, kDeep}, {1.0f, kDeep}});
    const float size = float(canvas.width());
    const auto wave = [](float x) { return 0.5f + 0.5f * std::cos(2.0f * kPi * x); };
    canvas.addLight(0, 0, canvas.width(), canvas.height(), kViolet, 0.9f, [=](float x, float y) {
        const float u = x / size, v = y / size;
        return std::pow(wave(3.0f * u + 0.35f * std::sin(2.0f * kPi * v)), 3.0f);
    });
    canvas.addLight(0, 0, canvas.width(), canvas.height(), kIndigo, 0.7f, [=](float x, float y) {
        const float u = x / size, v = y / size;
        return wave(5.0f * u - 2.0f * v) * wave(v + 0.25f);
    });
    constexpr int kFilaments = 6;
    for (int k = 0; k < kFilaments; ++k) {
        const Colour& colour = k % 2 ? kGold : kEmber;
        canvas.addLight(0, 0, canvas.width(), canvas.height(), colour, 0.75f, [=](float x, float y) {
            const float v = y / size;
            const float centre = (float(k) + 0.5f) / float(kFilaments) + 0.035f * std::sin(2.0f * kPi * (2.0f * v + 0.3f * float(k)));
            float d = std::fabs(x / size - centre);
            d = std::min(d, 1.0f - d) * size;
            const float pulse = 0.3f + 0.7f * std::pow(wave(3.0f * v + 0.37f * float(k)), 2.0f);
            return std::exp(-d * d / 1.8f) * pulse;
        });
    }
    canvas.addLight(0, 0, canvas.width(), canvas.height(), kEmber, 0.35f, [=](float x, float y) {
        const float u = x / size, v = y / size;
        return std::pow(wave(2.0f * u) * wave(2.0f * v + 0.5f), 12.0f);
    });
    canvas.grain(0.012f, 7);
}

bool drawCredits(Canvas& canvas, std::string& error)
{
    using namespace layout;
    TextStyle title{fonts::kSerif, 64, 18.0f};
    title.glow = 0.4f;
    title.glowRadius = 8;
    TextStyle year{fonts::kSans, 18, 12.0f, kGold, 0.95f};
    int span[2];
    if (!setText(canvas, "OCULITH", title, 320.0f, 74, error) ||
        !setText(canvas, "2026", year, 320.0f, kCreditTitleH + 32, error, 0, span))
        return false;
    flankingRules(canvas, span, float(kCreditTitleH) + 25.5f, 48.0f, 16.0f, 0.5f);
    TextStyle label{fonts::kSansBold, 12, 4.0f, kEmber, 1.0f};
    TextStyle text{fonts::kSerif, 17, 0.0f, kPaper, 1.0f};
    // Labels right-aligned against a dot, texts left-aligned after it; the widest row centred.
    const TypeSetter labelFace(label.font, label.size), textFace(text.font, text.size);
    int labelWidth = 0, textWidth = 0;
    for (const auto& row : kCreditRows) {
        labelWidth = std::max(labelWidth, labelFace.measure(row[0], label.tracking));
        textWidth = std::max(textWidth, textFace.measure(row[1], text.tracking));
    }
    constexpr int kGap = 9;
    const float dotX = 320.0f + float(labelWidth - textWidth) * 0.5f;
    for (int i = 0; i < 4; ++i) {
        const int baseline = kCreditTitleH + kCreditRowH * (i + 1) + 30;
        if (!setText(canvas, kCreditRows[i][0], label, dotX - kGap, baseline, error, 1) ||
            !setText(canvas, kCreditRows[i][1], text, dotX + kGap, baseline, error, -1))
            return false;
        canvas.disc(dotX, float(baseline) - 5.0f, 1.6f, kGold, 0.8f);
    }
    return true;
}

void drawGlow(Canvas& canvas)
{
    // A warm core inside a violet halo, clear at the edges so the quad never shows.
    const float c = float(canvas.width()) * 0.5f;
    canvas.addLight(0, 0, canvas.width(), canvas.height(), kViolet, 0.9f, [=](float x, float y) {
        const float d = std::sqrt((x - c) * (x - c) + (y - c) * (y - c)) / c;
        return std::exp(-d * d * 4.0f) * (1.0f - smoothstep(0.8f, 1.0f, d));
    });
    canvas.addLight(0, 0, canvas.width(), canvas.height(), kEmber, 0.8f, [=](float x, float y) {
        const float d = std::sqrt((x - c) * (x - c) + (y - c) * (y - c)) / c;
        return std::exp(-d * d * 14.0f);
    });
}

void drawShade(Canvas& canvas)
{
    // A dark band with soft edges all round: laid under text over a busy picture.
    const float w = float(canvas.width()), h = float(canvas.height());
    canvas.paint(0, 0, canvas.width(), canvas.height(), kNight, 0.72f, [=](float x, float y) {
        const float across = smoothstep(0.0f, 0.25f, x / w) * smoothstep(0.0f, 0.25f, 1.0f - x / w);
        const float down = smoothstep(0.0f, 0.35f, y / h) * smoothstep(0.0f, 0.35f, 1.0f - y / h);
        return across * down;
    });
}

bool drawStarterTitle(Canvas& canvas, std::string& error)
{
    // Cream serif with an ember glow over a gold subtitle flanked by rules, on clear.
    // Sized so the lettering and its glow stay well inside the picture: a glow cut at the
    // picture's edge shows as a hard line on screen.
    TextStyle title{fonts::kSerif, 44, 12.0f};
    title.glow = 0.4f;
    title.glowRadius = 6;
    TextStyle line{fonts::kSans, 13, 5.0f, kGold, 0.95f};
    const float centre = float(canvas.width()) * 0.5f;
    int span[2];
    if (!setText(canvas, "FIRST LIGHT", title, centre, 70, error) ||
        !setText(canvas, "A SHOW MADE OF TEXT FILES", line, centre, 104, error, 0, span))
        return false;
    flankingRules(canvas, span, 99.5f, 36.0f, 14.0f, 0.5f);
    return true;
}

void drawStarterCard(Canvas& canvas)
{
    // A night valley under a rising copper moon: violet sky, a haze on the horizon, two
    // ridges of hills and a still lake that mirrors the moon as a broken path of light.
    const float w = float(canvas.width()), h = float(canvas.height());
    const float horizon = h * 0.66f;
    canvas.fillVertical({{0.0f, kNight}, {0.35f, kDeep}, {0.62f, kViolet}, {0.66f, kIndigo}, {1.0f, kNight}});
    canvas.glow(w * 0.5f, horizon - h * 0.2f, w * 0.34f, kViolet, 0.5f);
    canvas.glow(w * 0.5f, horizon - h * 0.2f, w * 0.12f, kEmber, 0.55f);
    canvas.disc(w * 0.5f, horizon - h * 0.2f, w * 0.075f, kGold, 1.0f);
    canvas.ring(w * 0.5f, horizon - h * 0.2f, w * 0.16f, 1.2f, kGold, 0.35f);
    canvas.ring(w * 0.5f, horizon - h * 0.2f, w * 0.24f, 1.0f, kFrost, 0.18f);
    for (int i = 0; i < 90; ++i) {
        // Stars from a small fixed hash: the same sky every build.
        const unsigned hash = unsigned(i) * 2654435761u;
        const float x = float(hash % 509u) / 509.0f * w;
        const float y = float((hash >> 9) % 251u) / 251.0f * (horizon - h * 0.08f);
        canvas.disc(x, y, 0.6f + float((hash >> 17) % 3u) * 0.35f, kPaper, 0.35f + float((hash >> 20) % 5u) * 0.12f);
    }
    const auto ridge = [=](float base, float amplitude, float phase) {
        return [=](float x, float y) {
            const float top = base - amplitude * (0.6f * std::sin(x / w * 2.0f * kPi * 1.5f + phase) +
                                                  0.4f * std::sin(x / w * 2.0f * kPi * 4.0f + phase * 2.0f));
            return smoothstep(top - 1.0f, top + 1.0f, y) * (1.0f - smoothstep(horizon, horizon + 1.0f, y));
        };
    };
    canvas.paint(0, 0, canvas.width(), canvas.height(), kIndigo, 0.9f, ridge(horizon - h * 0.05f, h * 0.05f, 0.7f));
    canvas.paint(0, 0, canvas.width(), canvas.height(), kNight, 1.0f, ridge(horizon - h * 0.01f, h * 0.035f, 2.1f));
    // The lake: the moon's path, broken into ripples that widen towards the viewer.
    canvas.addLight(0, int(horizon), canvas.width(), canvas.height(), kEmber, 0.8f, [=](float x, float y) {
        const float depth = (y - horizon) / (h - horizon);
        const float spread = w * (0.03f + 0.09f * depth);
        const float along = std::exp(-std::pow((x - w * 0.5f) / spread, 2.0f));
        const float ripple = std::pow(0.5f + 0.5f * std::sin(y * (0.9f - 0.5f * depth)), 6.0f);
        return along * ripple * (1.0f - 0.6f * depth);
    });
    canvas.vignette(0.55f);
    canvas.grain(0.01f, 11);
}

void drawStarterLining(Canvas& canvas)
{
    // Seamless both ways: frost ribs round the tube, copper seams along it, deep blue between.
    canvas.fillVertical({{0.0f, kDeep}, {1.0f, kDeep}});
    const float size = float(canvas.width());
    const auto wave = [](float x) { return 0.5f + 0.5f * std::cos(2.0f * kPi * x); };
    canvas.addLight(0, 0, canvas.width(), canvas.height(), kFrost, 0.7f, [=](float, float y) {
        return std::pow(wave(4.0f * y / size), 24.0f);
    });
    canvas.addLight(0, 0, canvas.width(), canvas.height(), kEmber, 0.8f, [=](float x, float y) {
        return std::pow(wave(8.0f * x / size + 0.25f * std::sin(2.0f * kPi * y / size)), 40.0f);
    });
    canvas.addLight(0, 0, canvas.width(), canvas.height(), kViolet, 0.6f, [=](float x, float y) {
        return wave(2.0f * x / size) * wave(2.0f * y / size + 0.5f);
    });
    canvas.grain(0.01f, 13);
}

bool write(const std::string& outDir, bool progress, std::string& error)
{
    using Draw = std::function<bool(Canvas&, std::string&)>;
    const Draw draws[] = {
        drawLoading, drawTitle, drawInterlude, drawCredits,
        [](Canvas& c, std::string&) { drawGlow(c); return true; },
        [](Canvas& c, std::string&) { drawShade(c); return true; },
        [](Canvas& c, std::string&) { drawVeil(c); return true; },
    };
    const std::vector<Picture> list = pictures();
    for (std::size_t i = 0; i < list.size(); ++i) {
        Canvas canvas(list[i].width, list[i].height);
        if (!draws[i](canvas, error))
            return false;
        const bool opaque = list[i].path.ends_with(".jpg");
        if (!writeOne(outDir, list[i], opaque ? canvas.rgb8() : canvas.rgba8(), opaque, progress, error))
            return false;
    }
    return true;
}

} // namespace artwork
