// The console font texture "confont": printable ASCII set in a monospaced face, white glyphs on
// clear, 16 cells of 16 × 24 texels per row starting at '!', in a 256 × 256 picture.
#pragma once
#include "Canvas.h"

#include <string>

namespace fontatlas {

inline constexpr int kSize = 256;
inline constexpr int kCellWidth = 16;
inline constexpr int kCellHeight = 24;
inline constexpr int kColumns = 16;
inline constexpr int kFirst = 33;  // '!'
inline constexpr int kLast = 126;  // '~'
// Glyph pixels stay this far inside their cell, so neighbouring cells never bleed into a quad
// and characters outside the grid (the blank) sample nothing but clear texels.
inline constexpr int kInset = 1;
// The file the material script names (under data/fnt/).
inline constexpr const char* kFile = "data/fnt/confont.tga";

// Top-left texel of the cell of character `c`.
inline int cellX(int c) { return ((c - kFirst) % kColumns) * kCellWidth; }
inline int cellY(int c) { return ((c - kFirst) / kColumns) * kCellHeight; }

// The glyph coverage of the whole atlas; false with `error` when the font cannot be read.
bool render(Coverage& atlas, std::string& error);
// Renders and writes the atlas under `outDir` as `file`: a 32-bit TGA, or a PNG when the name
// ends in ".png".
bool write(const std::string& outDir, bool progress, std::string& error, const std::string& file = kFile);

} // namespace fontatlas
