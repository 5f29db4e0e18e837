#include "TypeSetter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>

namespace {

FT_Face asFace(void* f) { return static_cast<FT_Face>(f); }

// Adds a rendered 8-bit glyph bitmap into `map` at (x, y) = its top-left corner, keeping the
// stronger coverage where glyphs touch; only pixels inside [x0, x1) × [y0, y1) are written.
void addBitmap(const FT_Bitmap& bitmap, Coverage& map, int x, int y, int x0, int y0, int x1, int y1)
{
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const int py = y + int(row);
        if (py < y0 || py >= y1)
            continue;
        const unsigned char* src = bitmap.buffer + std::ptrdiff_t(row) * bitmap.pitch;
        for (unsigned col = 0; col < bitmap.width; ++col) {
            const int px = x + int(col);
            if (px < x0 || px >= x1)
                continue;
            float& dst = map.at(px, py);
            dst = std::max(dst, float(src[col]) / 255.0f);
        }
    }
}

} // namespace

TypeSetter::TypeSetter(const std::string& fontFile, int pixelSize)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        error_ = "FreeType could not start";
        return;
    }
    library_ = library;
    FT_Face face = nullptr;
    if (FT_New_Face(library, fontFile.c_str(), 0, &face) != 0) {
        error_ = "cannot open the font " + fontFile + " (package fonts-dejavu-core)";
        return;
    }
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize)) != 0) {
        FT_Done_Face(face);
        error_ = "font " + fontFile + " has no size " + std::to_string(pixelSize);
        return;
    }
    face_ = face;
    ascender_ = int(std::ceil(double(face->size->metrics.ascender) / 64.0));
    descender_ = int(std::ceil(double(-face->size->metrics.descender) / 64.0));
}

TypeSetter::~TypeSetter()
{
    if (face_)
        FT_Done_Face(asFace(face_));
    if (library_)
        FT_Done_FreeType(static_cast<FT_Library>(library_));
}

int TypeSetter::advance(unsigned char c) const
{
    if (!face_ || FT_Load_Char(asFace(face_), c, FT_LOAD_DEFAULT) != 0)
        return 0;
    return int(asFace(face_)->glyph->advance.x >> 6);
}

template <class F>
int TypeSetter::layout(const std::string& text, float tracking, F&& place) const
{
    if (!face_)
        return 0;
    FT_Face face = asFace(face_);
    float pen = 0.0f;
    int right = 0;
    FT_UInt previous = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const FT_UInt index = FT_Get_Char_Index(face, static_cast<unsigned char>(text[i]));
        if (previous && index && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            if (FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &kern) == 0)
                pen += float(kern.x) / 64.0f;
        }
        if (FT_Load_Glyph(face, index, FT_LOAD_RENDER) != 0)
            continue;
        const FT_GlyphSlot slot = face->glyph;
        const int x = int(std::lround(pen));
        place(slot->bitmap, x + slot->bitmap_left, ascender_ - slot->bitmap_top);
        right = std::max(right, x + slot->bitmap_left + int(slot->bitmap.width));
        pen += float(slot->advance.x) / 64.0f;
        if (i + 1 < text.size())
            pen += tracking;
        previous = index;
    }
    return std::max(right, int(std::ceil(pen)));
}

int TypeSetter::measure(const std::string& text, float tracking) const
{
    return layout(text, tracking, [](const FT_Bitmap&, int, int) {});
}

Coverage TypeSetter::setLine(const std::string& text, float tracking) const
{
    Coverage map(std::max(1, measure(text, tracking)), ascender_ + descender_);
    layout(text, tracking, [&](const FT_Bitmap& bitmap, int x, int y) {
        addBitmap(bitmap, map, x, y, 0, 0, map.width, map.height);
    });
    return map;
}

bool TypeSetter::drawGlyph(unsigned char c, Coverage& cell, int penX, int baseline, int inset) const
{
    if (!face_)
        return false;
    FT_Face face = asFace(face_);
    const FT_UInt index = FT_Get_Char_Index(face, c);
    if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_RENDER) != 0)
        return false;
    const FT_GlyphSlot slot = face->glyph;
    addBitmap(slot->bitmap, cell, penX + slot->bitmap_left, baseline - slot->bitmap_top, inset, inset,
              cell.width - inset, cell.height - inset);
    return true;
}
