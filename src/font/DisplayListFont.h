// A font held as 256 GL display lists (one per character code) with per-character metrics;
// a string drawn as unsigned bytes through glCallLists draws the text.
#pragma once
#include "core/GL.h"

#include <array>
#include <string>

class DisplayListFont {
public:
    struct GlyphMetrics {
        float blackBoxWidth = 0, blackBoxHeight = 0;
        float originX = 0, originY = 0;
        float cellIncrementX = 0, cellIncrementY = 0;
    };

    // Takes over the 256 lists starting at `listBase` (deleted with the font).
    DisplayListFont(std::string name, GLuint listBase, const std::array<GlyphMetrics, 256>& metrics);
    ~DisplayListFont();
    DisplayListFont(const DisplayListFont&) = delete;
    DisplayListFont& operator=(const DisplayListFont&) = delete;

    // Calls the lists of the text's bytes in order.
    void drawText(const std::string& text) const;
    // The sum of the characters' cell increments in x.
    float textWidth(const std::string& text) const;

    const std::string name;
    const GLuint listBase;
    const std::array<GlyphMetrics, 256> metrics;
};
