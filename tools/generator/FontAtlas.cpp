#include "FontAtlas.h"

#include "ImageFiles.h"
#include "TypeSetter.h"

#include <cstdio>

namespace fontatlas {

namespace {
// 20 pixels per em: the bold mono advance is 12 texels and ascender plus descender fit the
// 22 texels inside a cell.
constexpr int kPixelSize = 20;
} // namespace

bool render(Coverage& atlas, std::string& error)
{
    TypeSetter face(fonts::kMonoBold, kPixelSize);
    if (!face.ok()) {
        error = face.error();
        return false;
    }
    atlas = Coverage(kSize, kSize);
    // Vertically: the ascender-to-descender box centred in the cell.
    const int spare = kCellHeight - (face.ascender() + face.descender());
    const int baseline = spare / 2 + face.ascender();
    for (int c = kFirst; c <= kLast; ++c) {
        Coverage cell(kCellWidth, kCellHeight);
        const int penX = (kCellWidth - face.advance(static_cast<unsigned char>(c))) / 2;
        if (!face.drawGlyph(static_cast<unsigned char>(c), cell, penX, baseline, kInset)) {
            error = std::string("the font has no glyph for '") + char(c) + "'";
            return false;
        }
        for (int y = 0; y < kCellHeight; ++y)
            for (int x = 0; x < kCellWidth; ++x)
                atlas.at(cellX(c) + x, cellY(c) + y) = cell.at(x, y);
    }
    return true;
}

bool write(const std::string& outDir, bool progress, std::string& error, const std::string& file)
{
    Coverage atlas;
    if (!render(atlas, error))
        return false;
    // White glyphs: the console font takes the current colour through the texture's alpha.
    Canvas canvas(kSize, kSize);
    canvas.stamp(atlas, 0, 0, {1.0f, 1.0f, 1.0f}, 1.0f);
    const std::string path = outDir + "/" + file;
    const bool png = file.ends_with(".png");
    if (!(png ? imagefiles::writePng(path, kSize, kSize, canvas.rgba8(), error)
              : imagefiles::writeTga(path, kSize, kSize, canvas.rgba8(), error)))
        return false;
    if (progress)
        std::printf("  %s  %d x %d, %d glyphs, %ju bytes\n", file.c_str(), kSize, kSize, kLast - kFirst + 1,
                    imagefiles::fileSize(path));
    return true;
}

} // namespace fontatlas
