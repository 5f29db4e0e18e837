#include "platform/PickerFont.h"

namespace platform {
namespace {
#include "platform/PickerFont.inc"

constexpr int kGlyphCount = PickerFont::kLast - PickerFont::kFirst + 1;
static_assert(sizeof(kPickerGlyphs) / sizeof(kPickerGlyphs[0]) == kGlyphCount);

// Every glyph's coverage lies inside the table: the bitmaps follow one another without gaps and
// the last one ends where the table does.
constexpr bool coverageIsPacked()
{
    int next = 0;
    for (const PickerGlyph& g : kPickerGlyphs) {
        if (g.offset != next || g.width < 0 || g.height < 0)
            return false;
        next += g.width * g.height;
    }
    return next == int(sizeof(kPickerCoverage));
}
static_assert(coverageIsPacked());
} // namespace

const PickerGlyph& PickerFont::glyph(char c)
{
    const int code = static_cast<unsigned char>(c);
    return kPickerGlyphs[(code >= kFirst && code <= kLast ? code : '?') - kFirst];
}

const unsigned char* PickerFont::row(const PickerGlyph& g, int y)
{
    return kPickerCoverage + g.offset + y * g.width;
}

int PickerFont::ascent() { return kPickerFontAscent; }

int PickerFont::lineHeight() { return kPickerFontLineHeight; }

int PickerFont::capHeight() { return glyph('H').top; }

int PickerFont::textWidth(const std::string& text)
{
    int width = 0;
    for (char c : text)
        width += glyph(c).advance;
    return width;
}

std::string PickerFont::fit(const std::string& text, int maxWidth)
{
    if (textWidth(text) <= maxWidth)
        return text;
    const std::string dots = "...";
    const int room = maxWidth - textWidth(dots);
    if (room < 0)
        return std::string();
    std::string out;
    int width = 0;
    for (char c : text) {
        const int advance = glyph(c).advance;
        if (width + advance > room)
            break;
        out += c;
        width += advance;
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out + dots;
}

} // namespace platform
