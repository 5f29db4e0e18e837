// The mode picker's built-in bitmap font: metrics and 8-bit coverage of printable ASCII, so the
// picker draws text without a font file.
#pragma once
#include <string>
#include <vector>

namespace platform {

struct PickerGlyph {
    short advance; // pen advance in pixels
    short left;    // left bearing: first column relative to the pen
    short top;     // rows above the baseline
    short width;
    short height;
    int offset; // first coverage byte (rows of `width` bytes)
};

class PickerFont {
public:
    static constexpr int kFirst = 32;
    static constexpr int kLast = 126;

    // The glyph for a character; anything outside 32..126 is drawn as '?'.
    static const PickerGlyph& glyph(char c);
    // Coverage row `y` of a glyph (`width` bytes, 0 transparent .. 255 opaque).
    static const unsigned char* row(const PickerGlyph& g, int y);
    static int ascent();
    static int lineHeight();
    // Rows above the baseline of a capital letter: for centring a line of text vertically.
    static int capHeight();
    static int textWidth(const std::string& text);
    // The text itself when it fits into maxWidth pixels, else its longest prefix that fits with
    // "..." appended ("" when not even "..." fits).
    static std::string fit(const std::string& text, int maxWidth);
    // The text broken at spaces into lines of at most maxWidth pixels, like a static text
    // control; a word wider than a whole line is cut with `fit`. An empty text is one empty line.
    static std::vector<std::string> wrap(const std::string& text, int maxWidth);
};

} // namespace platform
