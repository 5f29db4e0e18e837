// The pictures the 3D scenes put on their geometry: a fiery city backdrop, a noise field, pool
// tiles, tunnel panels, cellar stone and a glossy sheen for sphere-mapped surfaces, all in the
// show's palette.
#pragma once
#include "Canvas.h"

#include <functional>
#include <string>
#include <vector>

namespace scenetextures {

struct ScenePicture {
    std::string path;  // under the data folder
    int size;          // the width, a power of two
    std::function<void(Canvas&)> draw;
    int height = 0;    // a power of two; 0: square
};
std::vector<ScenePicture> pictures();

// Smooth value noise in 0..1 with `octaves` octaves, tiling every `period` units.
float fractalNoise(float x, float y, int octaves, int period, std::uint32_t seed);

bool write(const std::string& outDir, bool progress, std::string& error);

} // namespace scenetextures
