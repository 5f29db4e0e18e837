// A floating-point RGBA picture (premultiplied alpha) with the drawing operations the show's
// artwork is made of: gradients, glows, anti-aliased strokes, coverage masks and blurs.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

struct Colour {
    float r = 0, g = 0, b = 0;
};

// Mixes two colours: t = 0 gives a, t = 1 gives b.
Colour mix(const Colour& a, const Colour& b, float t);
// A colour from 0xRRGGBB.
Colour hexColour(std::uint32_t rgb);

// One float per pixel, rows top first: text coverage, masks, glows before they are coloured.
struct Coverage {
    int width = 0, height = 0;
    std::vector<float> value;

    Coverage() = default;
    Coverage(int w, int h) : width(w), height(h), value(std::size_t(w) * std::size_t(h), 0.0f) {}
    float& at(int x, int y) { return value[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
    float at(int x, int y) const { return value[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
    // A soft copy: three box passes of `radius` pixels each way (close to a Gaussian).
    Coverage blurred(int radius) const;
};

class Canvas {
public:
    Canvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }

    // Opaque vertical gradient through `stops` (positions 0 = top .. 1 = bottom, ascending).
    void fillVertical(const std::vector<std::pair<float, Colour>>& stops);
    // Light added where `shape` is positive: rgb += colour × strength × shape(x, y). The shape is
    // evaluated at pixel centres inside the box only.
    void addLight(int x0, int y0, int x1, int y1, const Colour& colour, float strength,
                  const std::function<float(float, float)>& shape);
    // A round glow: exp(-(d / radius)²) light around (cx, cy), also raising alpha by the same amount
    // so it stays visible on a transparent picture.
    void glow(float cx, float cy, float radius, const Colour& colour, float strength);
    // Paints `colour` over the picture with the given coverage (0..1) per pixel ("over").
    void paint(int x0, int y0, int x1, int y1, const Colour& colour, float opacity,
               const std::function<float(float, float)>& coverage);
    // A line of `width` pixels from (x0, y0) to (x1, y1), anti-aliased.
    void line(float x0, float y0, float x1, float y1, float width, const Colour& colour, float opacity);
    // A circle outline of radius r; `keep` (may be empty) masks it point by point.
    void ring(float cx, float cy, float r, float width, const Colour& colour, float opacity,
              const std::function<bool(float, float)>& keep = {});
    // A filled disc.
    void disc(float cx, float cy, float r, const Colour& colour, float opacity);
    // A coverage map placed with its top-left corner at (x, y), painted in `colour`.
    void stamp(const Coverage& mask, int x, int y, const Colour& colour, float opacity);
    // Like stamp but added as light (rgb and alpha rise), for glows around lettering.
    void stampLight(const Coverage& mask, int x, int y, const Colour& colour, float strength);
    // A soft copy: every channel blurred with three box passes of `radius` pixels.
    Canvas blurred(int radius) const;
    // Another canvas placed with its top-left corner at (x, y), composited over this one.
    void draw(const Canvas& source, int x, int y, float opacity = 1.0f);
    // Darkens towards the corners: multiplies rgb by 1 - amount × smooth(distance from centre).
    void vignette(float amount);
    // Fine deterministic grain, ±amount in 0..1 units, to keep gradients from banding.
    void grain(float amount, std::uint32_t seed);

    // 8-bit rows, top first: RGB (composited over black) or RGBA (straight alpha). Values are
    // rounded with a fixed dither pattern so smooth ramps do not band.
    std::vector<std::uint8_t> rgb8() const;
    std::vector<std::uint8_t> rgba8() const;

    // Premultiplied r, g, b, a of a pixel.
    float* pixel(int x, int y) { return &pixels_[(std::size_t(y) * std::size_t(width_) + std::size_t(x)) * 4]; }
    const float* pixel(int x, int y) const
    {
        return &pixels_[(std::size_t(y) * std::size_t(width_) + std::size_t(x)) * 4];
    }

private:
    // Clips a box to the picture; false when nothing is left.
    bool clip(int& x0, int& y0, int& x1, int& y1) const;

    int width_, height_;
    std::vector<float> pixels_;
};

// Smooth Hermite step between e0 and e1.
float smoothstep(float e0, float e1, float x);
