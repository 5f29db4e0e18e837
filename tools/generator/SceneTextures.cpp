#include "SceneTextures.h"

#include "Artwork.h"
#include "ImageFiles.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace scenetextures {

using namespace artwork::palette;

namespace {

std::uint32_t hash(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = std::uint32_t(x) * 374761393u + std::uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

float lattice(int x, int y, int period, std::uint32_t seed)
{
    x = ((x % period) + period) % period;
    y = ((y % period) + period) % period;
    return float(hash(x, y, seed) & 0xFFFF) / 65535.0f;
}

float valueNoise(float x, float y, int period, std::uint32_t seed)
{
    const int xi = int(std::floor(x)), yi = int(std::floor(y));
    const float fx = x - float(xi), fy = y - float(yi);
    const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const float a = lattice(xi, yi, period, seed), b = lattice(xi + 1, yi, period, seed);
    const float c = lattice(xi, yi + 1, period, seed), d = lattice(xi + 1, yi + 1, period, seed);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

// Every pixel from a colour function of (u, v) in 0..1.
void shade(Canvas& canvas, const std::function<Colour(float, float)>& f)
{
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const Colour c = f((float(x) + 0.5f) / float(canvas.width()), (float(y) + 0.5f) / float(canvas.height()));
            float* p = canvas.pixel(x, y);
            p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = 1.0f;
        }
}

Colour scaled(const Colour& c, float s) { return {c.r * s, c.g * s, c.b * s}; }
Colour added(const Colour& a, const Colour& b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }

// Grain: mostly dark with bright flecks, so laid additively over a frame it sparkles rather than
// washing the picture out (the geometric world adds it to its kept picture every frame).
void drawNoise(Canvas& canvas)
{
    shade(canvas, [](float u, float v) {
        const float n = std::pow(fractalNoise(u * 8, v * 8, 5, 8, 7), 2.4f);
        return Colour{n, n, n};
    });
}

// A sphere map: a dark studio with a warm key light high left, a cold rim low right and a
// violet horizon band, so round shapes read as polished.
void drawSheen(Canvas& canvas)
{
    shade(canvas, [](float u, float v) {
        const float x = u * 2 - 1, y = v * 2 - 1;
        const float r = std::sqrt(x * x + y * y);
        Colour c = mix(kDeep, kIndigo, smoothstep(1.0f, 0.0f, r));
        c = added(c, scaled(kViolet, 0.8f * std::exp(-(y - 0.05f) * (y - 0.05f) * 30.0f)));
        const float key = std::exp(-((x + 0.38f) * (x + 0.38f) + (y + 0.42f) * (y + 0.42f)) * 18.0f);
        c = added(c, scaled(kGold, 1.4f * key));
        c = added(c, scaled(kPaper, 2.0f * std::exp(-((x + 0.4f) * (x + 0.4f) + (y + 0.45f) * (y + 0.45f)) * 160.0f)));
        const float rim = smoothstep(0.7f, 0.98f, r) * smoothstep(-0.2f, 0.6f, x + y);
        c = added(c, scaled(kFrost, 0.7f * rim));
        return c;
    });
}

// The pool unfolded: the floor fills the centre square (0.25..0.75) and each wall the band
// between it and the picture's edge, the edge being the water line. Tiles run across floor and
// walls alike; the floor carries a dark lane cross and caustics, the walls darken with depth and
// a frost band marks the water line, so the refracted picture reads as a basin.
void drawPool(Canvas& canvas)
{
    shade(canvas, [](float u, float v) {
        const float du = std::fabs(u - 0.5f), dv = std::fabs(v - 0.5f);
        const float ring = std::fmax(du, dv);  // 0.25 at the floor's edge, 0.5 at the water line
        const float tu = std::fmod(u * 16, 1.0f), tv = std::fmod(v * 16, 1.0f);
        const float grout = 1 - smoothstep(0.0f, 0.08f, std::fmin(std::fmin(tu, 1 - tu), std::fmin(tv, 1 - tv)));
        const float n = fractalNoise(u * 4, v * 4, 4, 4, 31);
        Colour tile = mix(hexColour(0x1B4F7A), hexColour(0x2A7FB0), 0.5f + 0.5f * n);
        tile = mix(tile, kFrost, 0.45f * grout);
        if (ring < 0.25f) {
            // Floor: a lane cross and rippled light.
            const float lane = std::fmax(1 - smoothstep(0.012f, 0.02f, du), 1 - smoothstep(0.012f, 0.02f, dv));
            tile = mix(tile, kDeep, 0.8f * lane * smoothstep(0.24f, 0.2f, ring));
            const float caustic = std::pow(1 - std::fabs(std::sin((n * 6 + u * 5) * 3.14159f)), 10.0f);
            return added(tile, scaled(kFrost, 0.5f * caustic));
        }
        // Walls: the deeper (nearer the floor), the darker; the water line glows frost.
        const float height = (ring - 0.25f) * 4.0f;  // 0 at the floor, 1 at the water line
        tile = mix(scaled(tile, 0.55f), tile, height);
        const float line = smoothstep(0.85f, 0.97f, height);
        return mix(tile, kFrost, 0.6f * line);
    });
}

// What the water mirrors, tileable both ways (the surface repeats it as the camera moves): a
// night sky of indigo cloud banks with violet breaks, lamp light broken into amber and copper
// streaks along the ripples, and a scatter of cream stars.
void drawWaterSky(Canvas& canvas)
{
    shade(canvas, [](float u, float v) {
        const float cloud = fractalNoise(u * 4, v * 4, 5, 4, 101);
        Colour c = mix(kNight, kIndigo, smoothstep(0.25f, 0.7f, cloud));
        c = mix(c, kViolet, 0.7f * smoothstep(0.55f, 0.8f, cloud));
        // Streaks: noise stretched along u, kept only at its crests.
        const float streak = fractalNoise(u * 3, v * 12, 3, 3, 211);
        const float lamp = smoothstep(0.58f, 0.78f, streak);
        const float warmth = fractalNoise(u * 2, v * 2, 2, 2, 307);
        c = added(c, scaled(mix(kEmber, kGold, warmth), 0.85f * lamp * lamp));
        // Stars: one candidate per cell of a 48 × 48 lattice, a few of them lit.
        const float gu = u * 48, gv = v * 48;
        const int cu = int(gu), cv = int(gv);
        const std::uint32_t h = hash(cu, cv, 401);
        if ((h & 15) == 0) {
            const float su = float((h >> 8) & 255) / 255.0f * 0.6f + 0.2f;
            const float sv = float((h >> 16) & 255) / 255.0f * 0.6f + 0.2f;
            const float du = gu - float(cu) - su, dv = gv - float(cv) - sv;
            const float star = std::exp(-(du * du + dv * dv) * 60.0f);
            c = added(c, scaled(kPaper, 0.9f * star));
        }
        return c;
    });
}

// Tunnel panels, repeated along and around the tube (u along it, v around): violet plates
// between dark ribs, a frost seam glowing in each rib and an amber strip lamp down the middle
// of every panel, so the rings rush past and the strips lead the eye down the tube.
void drawTunnel(Canvas& canvas)
{
    shade(canvas, [](float u, float v) {
        const float ru = std::fmod(u * 2, 1.0f);  // two ribs per picture along the tube
        const float rib = smoothstep(0.08f, 0.0f, std::fmin(ru, 1 - ru));
        const float seam = std::exp(-std::pow(ru - 0.5f, 2.0f) * 1600.0f);
        const float grit = fractalNoise(u * 16, v * 16, 3, 16, 5);
        const float plate = 0.75f + 0.25f * smoothstep(0.0f, 0.5f, std::fmin(std::fmin(ru, 1 - ru), std::fmin(v, 1 - v)) * 8.0f);
        Colour c = mix(kIndigo, kViolet, 0.35f + 0.4f * grit);
        c = scaled(c, plate);
        c = mix(c, kNight, 0.85f * rib);
        c = added(c, scaled(kFrost, 0.8f * seam));
        const float strip = std::exp(-std::pow(v - 0.5f, 2.0f) * 900.0f) * (1 - rib);
        return added(c, scaled(mix(kEmber, kGold, 0.4f), 0.9f * strip));
    });
}

// A light's beam (u around the cone, v from its body to its open end): warm amber glow fading
// towards the open end. Two dozen shells add up over each other, so one shell stays faint.
void drawBeam(Canvas& canvas)
{
    shade(canvas, [](float u, float v) {
        const float along = 1 - smoothstep(0.0f, 1.0f, v);
        const float flicker = 0.8f + 0.2f * fractalNoise(u * 8, v * 2, 2, 8, 47);
        return scaled(mix(kEmber, kGold, 0.6f * along), 0.3f * (0.25f + 0.75f * along) * flicker);
    });
}

// A light's body: a cream-white core burning into amber at its open end.
void drawLightCore(Canvas& canvas)
{
    shade(canvas, [](float, float v) {
        const float heat = 1 - smoothstep(0.0f, 1.0f, v);
        return scaled(mix(kEmber, kPaper, heat), 0.12f + 0.33f * heat);
    });
}

// The tunnel's way out (v from the centre of the disc to its rim): a cream-white glare that
// cools through gold into amber at the tube's wall.
void drawTunnelExit(Canvas& canvas)
{
    shade(canvas, [](float, float v) {
        const Colour c = v < 0.5f ? mix(kPaper, kGold, v * 2) : mix(kGold, kEmber, v * 2 - 1);
        return scaled(c, 1.0f - 0.45f * smoothstep(0.3f, 1.0f, v));
    });
}

// Cellar stone: irregular blocks with soft mortar, stained violet and ember.
void drawStone(Canvas& canvas)
{
    shade(canvas, [](float u, float v) {
        const float row = std::floor(v * 6);
        const float bu = std::fmod(u * 4 + 0.5f * std::fmod(row, 2.0f), 1.0f), bv = std::fmod(v * 6, 1.0f);
        const float mortar = 1 - smoothstep(0.0f, 0.08f, std::fmin(std::fmin(bu, 1 - bu), std::fmin(bv, 1 - bv)));
        const float n = fractalNoise(u * 16, v * 16, 5, 16, 77);
        Colour c = mix(hexColour(0x2A2436), hexColour(0x5C4A5E), n);
        c = mix(c, kEmber, 0.12f * fractalNoise(u * 3, v * 3, 2, 3, 9));
        return mix(c, kNight, 0.7f * mortar);
    });
}

// A city skyline burning against the night: an ember horizon, violet sky, towers with windows.
void drawFireCity(Canvas& canvas)
{
    shade(canvas, [](float u, float v) {
        // v = 0 is the top row.
        Colour sky = mix(kNight, kViolet, smoothstep(0.0f, 0.62f, v));
        sky = mix(sky, kEmber, smoothstep(0.45f, 0.72f, v) * 0.9f);
        sky = added(sky, scaled(kGold, 0.6f * std::exp(-std::pow(v - 0.7f, 2.0f) * 200.0f)));
        const float smoke = fractalNoise(u * 6, v * 3, 4, 6, 13);
        sky = mix(sky, kIndigo, 0.35f * smoke * (1 - v));
        const int column = int(u * 40);
        const float height = 0.52f + 0.25f * lattice(column, 0, 40, 3) + 0.1f * lattice(column / 3, 1, 40, 4);
        if (v > height) {
            const float wu = std::fmod(u * 160, 1.0f), wv = std::fmod(v * 90, 1.0f);
            const bool window = wu > 0.35f && wv > 0.4f && (hash(int(u * 160), int(v * 90), 11) & 3) == 0;
            return window ? mix(kGold, kEmber, 0.4f) : mix(kNight, kDeep, 0.3f);
        }
        return sky;
    });
}

// The Vizidedar panorama, 2048 x 512, wrapped once around the horizon (u the bearing, v = 0 the top): a
// night sky from deep blue to violet with stars and a pale moon, an amber glow along the
// horizon behind two ranges of hills, and the lights of distant towns on the plain below.
void drawPanorama(Canvas& canvas)
{
    constexpr float horizon = 0.66f;
    shade(canvas, [](float u, float v) {
        // Hills: the far range pale with haze, the near range dark, both periodic in u.
        const float far = horizon - 0.05f - 0.09f * fractalNoise(u * 6, 0.5f, 4, 6, 61);
        const float near = horizon - 0.01f - 0.06f * fractalNoise(u * 11, 2.5f, 4, 11, 67);
        if (v > horizon + 0.02f) {
            // The plain: dark, with clustered warm lights fading into the distance.
            Colour c = mix(kDeep, kNight, smoothstep(horizon, 1.0f, v));
            const float town = smoothstep(0.55f, 0.8f, fractalNoise(u * 9, v * 3, 3, 9, 71));
            const int cx = int(u * 2048), cy = int(v * 512);
            const bool light = (hash(cx / 2, cy / 2, 73) & 255) < std::uint32_t(48.0f * town);
            if (light && v < 0.9f)
                c = mix(kGold, kEmber, float(hash(cx, cy, 79) & 255) / 255.0f);
            return c;
        }
        if (v > near)
            return mix(kNight, kIndigo, 0.25f * smoothstep(near, horizon + 0.02f, v));
        if (v > far) {
            // The far range catches the glow on its upper slopes.
            const float rim = 1 - smoothstep(far, far + 0.02f, v);
            return mix(mix(kIndigo, kViolet, 0.5f), kEmber, 0.35f * rim);
        }
        Colour sky = mix(kNight, kDeep, smoothstep(0.0f, 0.3f, v));
        sky = mix(sky, kViolet, smoothstep(0.3f, horizon, v));
        sky = added(sky, scaled(kEmber, 0.8f * std::exp(-std::pow((v - horizon) / 0.07f, 2.0f))));
        sky = added(sky, scaled(kGold, 0.25f * std::exp(-std::pow((v - horizon) / 0.025f, 2.0f))));
        // Thin violet clouds low in the sky.
        const float cloud = smoothstep(0.5f, 0.75f, fractalNoise(u * 8, v * 14, 4, 8, 83));
        sky = mix(sky, mix(kViolet, kEmber, smoothstep(0.35f, horizon, v) * 0.5f), 0.5f * cloud * smoothstep(0.25f, 0.5f, v));
        // Stars, fewer towards the glow.
        const int sx = int(u * 2048), sy = int(v * 512);
        const std::uint32_t h = hash(sx, sy, 89);
        if ((h & 511) == 0)
            sky = mix(sky, kPaper, (0.4f + 0.6f * float((h >> 9) & 255) / 255.0f) * (1 - smoothstep(0.3f, 0.55f, v)));
        // The moon, with a soft halo.
        // The picture wraps a cylinder whose girth is about ten times its height.
        const float du = (u - 0.31f) * 9.95f, dv = v - 0.22f;
        const float r = std::sqrt(du * du + dv * dv);
        sky = added(sky, scaled(kGold, 0.25f * std::exp(-r * r * 90.0f)));
        if (r < 0.035f)
            sky = mix(kPaper, kGold, 0.25f * smoothstep(0.0f, 0.035f, r));
        return sky;
    });
}

} // namespace

float fractalNoise(float x, float y, int octaves, int period, std::uint32_t seed)
{
    float sum = 0, weight = 0, amplitude = 1;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * valueNoise(x, y, period, seed + std::uint32_t(o));
        weight += amplitude;
        amplitude *= 0.5f;
        x *= 2, y *= 2, period *= 2;
    }
    return sum / weight;
}

std::vector<ScenePicture> pictures()
{
    return {
        {"data/art/noise.jpg", 256, drawNoise},
        {"data/art/sheen.jpg", 256, drawSheen},
        {"data/art/pool.jpg", 256, drawPool},
        {"data/art/water-sky.jpg", 512, drawWaterSky},
        {"data/art/beam.jpg", 64, drawBeam},
        {"data/art/light-core.jpg", 64, drawLightCore},
        {"data/art/tunnel-exit.jpg", 64, drawTunnelExit},
        {"data/art/tunnel-panel.jpg", 256, drawTunnel},
        {"data/art/stone.jpg", 256, drawStone},
        {"data/art/fire-city.jpg", 512, drawFireCity},
        {"data/art/viz_panorama.jpg", 2048, drawPanorama, 512},
    };
}

bool write(const std::string& outDir, bool progress, std::string& error)
{
    for (const ScenePicture& picture : pictures()) {
        const int height = picture.height > 0 ? picture.height : picture.size;
        Canvas canvas(picture.size, height);
        picture.draw(canvas);
        const std::string path = outDir + "/" + picture.path;
        if (!imagefiles::makeParent(path, error) ||
            !imagefiles::writeJpeg(path, picture.size, height, canvas.rgb8(), 92, error))
            return false;
        if (progress)
            std::printf("  %s: %d x %d\n", picture.path.c_str(), picture.size, height);
    }
    return true;
}

} // namespace scenetextures
