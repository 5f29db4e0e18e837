#include "platform/PickerFont.h"

#include <algorithm>

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

std::vector<std::string> PickerFont::wrap(const std::string& text, int maxWidth)
{
    std::vector<std::string> lines;
    std::string line;
    size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == ' ') {
            ++pos;
            continue;
        }
        const size_t end = std::min(text.find(' ', pos), text.size());
        const std::string word = text.substr(pos, end - pos);
        pos = end;
        const std::string joined = line.empty() ? word : line + ' ' + word;
        if (textWidth(joined) <= maxWidth) {
            line = joined;
            continue;
        }
        if (!line.empty())
            lines.push_back(line);
        line = fit(word, maxWidth);
    }
    if (!line.empty() || lines.empty())
        lines.push_back(line);
    return lines;
}

} // namespace platform
