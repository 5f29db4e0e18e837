// The show's video clip: a luminous iris turning slowly in the night, its pupil breathing, a
// ring of light running out through its fibres, gold marks and motes circling it. Every motion
// is periodic over the clip, so its last frame flows into its first and the stream effect can
// loop it without a seam. Written as a Motion-JPEG AVI for the stream effect's 256 × 256 texture.
#pragma once
#include "Canvas.h"

#include <cstdint>
#include <string>
#include <vector>

namespace eyeclip {

inline constexpr int kSize = 256;        // width and height
inline constexpr int kFps = 24;          // the rate the stream effect plays any video at
inline constexpr int kFrameCount = 120;  // five seconds
inline constexpr int kQuality = 12;       // JPEG quantiser scale (2 finest .. 31 coarsest)
// The file under the data folder.
inline constexpr const char* kFile = "data/art/oculith-eye.avi";

// Frame `index` (0 .. kFrameCount - 1; other numbers wrap round the loop) as kSize rows of
// kSize RGB pixels, top row first.
std::vector<std::uint8_t> renderFrame(int index);
// Renders every frame and writes the AVI under `outDir`; false with `error` on failure.
bool write(const std::string& outDir, bool progress, std::string& error);

} // namespace eyeclip
