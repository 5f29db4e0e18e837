// Sets lines of text with FreeType from a font file into coverage maps (anti-aliased, kerned,
// with optional letter spacing), and single glyphs into fixed cells.
#pragma once
#include "Canvas.h"

#include <string>

// The Debian fonts the artwork is set in (package fonts-dejavu-core).
namespace fonts {
inline constexpr const char* kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
inline constexpr const char* kSansBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
inline constexpr const char* kSerif = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";
inline constexpr const char* kMonoBold = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";
} // namespace fonts

class TypeSetter {
public:
    // Opens `fontFile` at `pixelSize` pixels per em. Check ok() (error() says why not).
    TypeSetter(const std::string& fontFile, int pixelSize);
    ~TypeSetter();
    TypeSetter(const TypeSetter&) = delete;
    TypeSetter& operator=(const TypeSetter&) = delete;

    bool ok() const { return face_ != nullptr; }
    const std::string& error() const { return error_; }

    // Ascender and descender (positive, below the baseline) in pixels, and the advance of one
    // character (the same for every glyph of a monospaced font).
    int ascender() const { return ascender_; }
    int descender() const { return descender_; }
    int advance(unsigned char c) const;

    // One line of ASCII/Latin-1 text: `tracking` extra pixels after every glyph but the last. The
    // map is as wide as the inked advance and ascender + descender high, baseline at ascender().
    Coverage setLine(const std::string& text, float tracking = 0.0f) const;
    // Width setLine would give.
    int measure(const std::string& text, float tracking = 0.0f) const;
    // The glyph of `c` drawn into `cell` with its pen at (penX, baseline); pixels outside
    // [inset, size - inset) of the cell are left untouched. False when the face lacks it.
    bool drawGlyph(unsigned char c, Coverage& cell, int penX, int baseline, int inset) const;

private:
    // Walks the glyphs of `text`, calling `place(bitmap, left, top)` with pen positions.
    template <class F>
    int layout(const std::string& text, float tracking, F&& place) const;

    void* library_ = nullptr;
    void* face_ = nullptr;
    int ascender_ = 0, descender_ = 0;
    std::string error_;
};
