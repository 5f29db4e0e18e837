#include "Canvas.h"

#include <algorithm>
#include <cmath>

Colour mix(const Colour& a, const Colour& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour hexColour(std::uint32_t rgb)
{
    return {float((rgb >> 16) & 255) / 255.0f, float((rgb >> 8) & 255) / 255.0f, float(rgb & 255) / 255.0f};
}

float smoothstep(float e0, float e1, float x)
{
    const float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

namespace {

// One box pass along rows (step 1) or columns (step width) of a float map.
void boxPass(std::vector<float>& v, int count, int length, int stride, int lineStep, int radius)
{
    std::vector<float> line(static_cast<std::size_t>(length));
    const float scale = 1.0f / float(2 * radius + 1);
    for (int l = 0; l < count; ++l) {
        float* base = v.data() + std::size_t(l) * std::size_t(lineStep);
        for (int i = 0; i < length; ++i)
            line[std::size_t(i)] = base[std::size_t(i) * std::size_t(stride)];
        // Running sum with zero outside the map.
        float sum = 0.0f;
        for (int i = 0; i <= radius && i < length; ++i)
            sum += line[std::size_t(i)];
        for (int i = 0; i < length; ++i) {
            base[std::size_t(i) * std::size_t(stride)] = sum * scale;
            const int add = i + radius + 1, drop = i - radius;
            if (add < length)
                sum += line[std::size_t(add)];
            if (drop >= 0)
                sum -= line[std::size_t(drop)];
        }
    }
}

// A fixed 4 × 4 ordered-dither offset in -0.5..0.5 steps of one 8-bit level.
float ditherAt(int x, int y)
{
    static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (float(kBayer[y & 3][x & 3]) + 0.5f) / 16.0f - 0.5f;
}

std::uint8_t toByte(float v, float dither)
{
    return std::uint8_t(std::clamp(std::floor(v * 255.0f + 0.5f + dither), 0.0f, 255.0f));
}

} // namespace

Coverage Coverage::blurred(int radius) const
{
    Coverage out = *this;
    if (radius <= 0 || width == 0 || height == 0)
        return out;
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(out.value, height, width, 1, width, radius);
        boxPass(out.value, width, height, width, 1, radius);
    }
    return out;
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(std::size_t(width) * std::size_t(height) * 4, 0.0f)
{
}

bool Canvas::clip(int& x0, int& y0, int& x1, int& y1) const
{
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, width_);
    y1 = std::min(y1, height_);
    return x0 < x1 && y0 < y1;
}

void Canvas::fillVertical(const std::vector<std::pair<float, Colour>>& stops)
{
    for (int y = 0; y < height_; ++y) {
        const float t = (float(y) + 0.5f) / float(height_);
        Colour c = stops.front().second;
        for (std::size_t i = 1; i < stops.size(); ++i) {
            if (t <= stops[i].first) {
                const float span = stops[i].first - stops[i - 1].first;
                const float u = span > 0 ? (t - stops[i - 1].first) / span : 1.0f;
                c = mix(stops[i - 1].second, stops[i].second, smoothstep(0.0f, 1.0f, u));
                break;
            }
            c = stops[i].second;
        }
        for (int x = 0; x < width_; ++x) {
            float* p = pixel(x, y);
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
            p[3] = 1.0f;
        }
    }
}

void Canvas::addLight(int x0, int y0, int x1, int y1, const Colour& colour, float strength,
                      const std::function<float(float, float)>& shape)
{
    if (!clip(x0, y0, x1, y1))
        return;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const float k = shape(float(x) + 0.5f, float(y) + 0.5f) * strength;
            if (k <= 0.0f)
                continue;
            float* p = pixel(x, y);
            p[0] += colour.r * k;
            p[1] += colour.g * k;
            p[2] += colour.b * k;
            p[3] = std::min(1.0f, p[3] + k);
        }
    }
}

void Canvas::glow(float cx, float cy, float radius, const Colour& colour, float strength)
{
    const int reach = int(std::ceil(radius * 3.0f));
    addLight(int(cx) - reach, int(cy) - reach, int(cx) + reach + 1, int(cy) + reach + 1, colour, strength,
             [=](float x, float y) {
                 const float d2 = ((x - cx) * (x - cx) + (y - cy) * (y - cy)) / (radius * radius);
                 return std::exp(-d2);
             });
}

void Canvas::paint(int x0, int y0, int x1, int y1, const Colour& colour, float opacity,
                   const std::function<float(float, float)>& coverage)
{
    if (!clip(x0, y0, x1, y1))
        return;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const float a = std::clamp(coverage(float(x) + 0.5f, float(y) + 0.5f), 0.0f, 1.0f) * opacity;
            if (a <= 0.0f)
                continue;
            float* p = pixel(x, y);
            p[0] = colour.r * a + p[0] * (1.0f - a);
            p[1] = colour.g * a + p[1] * (1.0f - a);
            p[2] = colour.b * a + p[2] * (1.0f - a);
            p[3] = a + p[3] * (1.0f - a);
        }
    }
}

void Canvas::line(float x0, float y0, float x1, float y1, float width, const Colour& colour, float opacity)
{
    const float half = width * 0.5f;
    const float dx = x1 - x0, dy = y1 - y0;
    const float len2 = std::max(dx * dx + dy * dy, 1e-6f);
    const int pad = int(std::ceil(half)) + 2;
    paint(int(std::min(x0, x1)) - pad, int(std::min(y0, y1)) - pad, int(std::max(x0, x1)) + pad,
          int(std::max(y0, y1)) + pad, colour, opacity, [=](float x, float y) {
              const float t = std::clamp(((x - x0) * dx + (y - y0) * dy) / len2, 0.0f, 1.0f);
              const float ex = x0 + t * dx - x, ey = y0 + t * dy - y;
              return half + 0.5f - std::sqrt(ex * ex + ey * ey);
          });
}

void Canvas::ring(float cx, float cy, float r, float width, const Colour& colour, float opacity,
                  const std::function<bool(float, float)>& keep)
{
    const float half = width * 0.5f;
    const int reach = int(std::ceil(r + half)) + 2;
    paint(int(cx) - reach, int(cy) - reach, int(cx) + reach + 1, int(cy) + reach + 1, colour, opacity,
          [=](float x, float y) {
              if (keep && !keep(x, y))
                  return 0.0f;
              const float d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
              return half + 0.5f - std::fabs(d - r);
          });
}

void Canvas::disc(float cx, float cy, float r, const Colour& colour, float opacity)
{
    const int reach = int(std::ceil(r)) + 2;
    paint(int(cx) - reach, int(cy) - reach, int(cx) + reach + 1, int(cy) + reach + 1, colour, opacity,
          [=](float x, float y) {
              return r + 0.5f - std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
          });
}

void Canvas::stamp(const Coverage& mask, int x, int y, const Colour& colour, float opacity)
{
    paint(x, y, x + mask.width, y + mask.height, colour, opacity, [&](float px, float py) {
        return mask.at(int(px) - x, int(py) - y);
    });
}

void Canvas::stampLight(const Coverage& mask, int x, int y, const Colour& colour, float strength)
{
    addLight(x, y, x + mask.width, y + mask.height, colour, strength, [&](float px, float py) {
        return mask.at(int(px) - x, int(py) - y);
    });
}

Canvas Canvas::blurred(int radius) const
{
    Canvas out(width_, height_);
    Coverage channel(width_, height_);
    for (int c = 0; c < 4; ++c) {
        for (std::size_t i = 0; i < channel.value.size(); ++i)
            channel.value[i] = pixels_[i * 4 + std::size_t(c)];
        const Coverage soft = channel.blurred(radius);
        for (std::size_t i = 0; i < soft.value.size(); ++i)
            out.pixels_[i * 4 + std::size_t(c)] = soft.value[i];
    }
    return out;
}

void Canvas::draw(const Canvas& source, int x, int y, float opacity)
{
    int x0 = x, y0 = y, x1 = x + source.width_, y1 = y + source.height_;
    if (!clip(x0, y0, x1, y1))
        return;
    for (int py = y0; py < y1; ++py) {
        for (int px = x0; px < x1; ++px) {
            const float* s = source.pixel(px - x, py - y);
            float* d = pixel(px, py);
            const float keep = 1.0f - std::min(1.0f, s[3] * opacity);
            for (int c = 0; c < 4; ++c)
                d[c] = s[c] * opacity + d[c] * keep;
        }
    }
}

void Canvas::vignette(float amount)
{
    const float cx = float(width_) * 0.5f, cy = float(height_) * 0.5f;
    const float reach = std::sqrt(cx * cx + cy * cy);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const float dx = (float(x) + 0.5f - cx), dy = (float(y) + 0.5f - cy);
            const float k = 1.0f - amount * smoothstep(0.35f, 1.0f, std::sqrt(dx * dx + dy * dy) / reach);
            float* p = pixel(x, y);
            p[0] *= k;
            p[1] *= k;
            p[2] *= k;
        }
    }
}

void Canvas::grain(float amount, std::uint32_t seed)
{
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            std::uint32_t h = std::uint32_t(x) * 374761393u + std::uint32_t(y) * 668265263u + seed * 2246822519u;
            h = (h ^ (h >> 13)) * 1274126177u;
            h ^= h >> 16;
            const float n = (float(h & 0xFFFF) / 65535.0f - 0.5f) * 2.0f * amount;
            float* p = pixel(x, y);
            for (int c = 0; c < 3; ++c)
                p[c] = std::max(0.0f, p[c] + n * p[3]);
        }
    }
}

std::vector<std::uint8_t> Canvas::rgb8() const
{
    std::vector<std::uint8_t> out(std::size_t(width_) * std::size_t(height_) * 3);
    std::size_t o = 0;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const float* p = pixel(x, y);
            const float d = ditherAt(x, y);
            for (int c = 0; c < 3; ++c)
                out[o++] = toByte(p[c], d);
        }
    }
    return out;
}

std::vector<std::uint8_t> Canvas::rgba8() const
{
    std::vector<std::uint8_t> out(std::size_t(width_) * std::size_t(height_) * 4);
    std::size_t o = 0;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const float* p = pixel(x, y);
            const float a = std::clamp(p[3], 0.0f, 1.0f);
            const float d = ditherAt(x, y);
            for (int c = 0; c < 3; ++c)
                out[o++] = a > 0.0f ? toByte(p[c] / a, d) : 0;
            // Fully clear stays exactly clear, so blank cells and margins stay empty.
            out[o++] = a > 0.0f ? toByte(a, 0.0f) : 0;
        }
    }
    return out;
}
