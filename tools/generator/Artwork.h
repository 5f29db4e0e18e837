// The show's 2D artwork: the loading picture, the title (sharp and blurred, for the opening
// fade), the interlude lettering, the credit lines, the glow and shade pictures the overlay
// timeline lays under them, and the veil the interlude's tunnel is lined with. One palette and
// two type faces throughout.
#pragma once
#include "Canvas.h"

#include <string>
#include <vector>

namespace artwork {

// The palette every picture draws from.
namespace palette {
inline const Colour kNight = hexColour(0x06070E);
inline const Colour kDeep = hexColour(0x0E1230);
inline const Colour kIndigo = hexColour(0x1D1A48);
inline const Colour kViolet = hexColour(0x3C2470);
inline const Colour kEmber = hexColour(0xFF9A45);
inline const Colour kGold = hexColour(0xE6C17E);
inline const Colour kPaper = hexColour(0xF5EFE3);
inline const Colour kFrost = hexColour(0x86D5E8);
} // namespace palette

// Where the regions of the two text atlases lie, in texels; the effect script picks them with
// TexRect, TextRect and BlurRect.
namespace layout {
// title.png, 1024 × 512: the sharp title, the subtitle line, the blurred title.
inline constexpr int kTitleWidth = 1024, kTitleHeight = 512;
inline constexpr int kTitleRegionW = 640, kTitleRegionH = 160;
inline constexpr int kSharpY = 0, kSubtitleY = 160, kSubtitleH = 48, kBlurY = 256;
// credits.png, 1024 × 512: 640-wide rows, the title row taller than the rest.
inline constexpr int kCreditsWidth = 1024, kCreditsHeight = 512;
inline constexpr int kCreditTitleH = 96, kCreditRowH = 48;
// interlude.png, 1024 × 256: the heading, its line and the part mark, each 640 wide.
inline constexpr int kInterludeWidth = 1024, kInterludeHeight = 256;
inline constexpr int kHeadingY = 0, kHeadingH = 128, kLineY = 128, kLineH = 64, kMarkY = 192, kMarkH = 48;
// veil.jpg: the tunnel lining, seamless both ways.
inline constexpr int kVeilSize = 256;
} // namespace layout

// One generated picture: its path under the data folder and its size.
struct Picture {
    std::string path;
    int width = 0, height = 0;
};

// Every picture of the kind, in the order they are written.
std::vector<Picture> pictures();
// Draws and writes every picture under `outDir`; false with `error` on the first failure.
bool write(const std::string& outDir, bool progress, std::string& error);

// The pictures themselves (the tests look at them directly).
bool drawLoading(Canvas& canvas, std::string& error);
bool drawTitle(Canvas& canvas, std::string& error);
bool drawInterlude(Canvas& canvas, std::string& error);
void drawVeil(Canvas& canvas);
bool drawCredits(Canvas& canvas, std::string& error);
void drawGlow(Canvas& canvas);
void drawShade(Canvas& canvas);
// The starter show's pictures (examples/starter): its title lettering, its picture card and its
// tunnel lining.
bool drawStarterTitle(Canvas& canvas, std::string& error);
void drawStarterCard(Canvas& canvas);
void drawStarterLining(Canvas& canvas);

} // namespace artwork
