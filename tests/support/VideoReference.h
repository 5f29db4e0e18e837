// FFmpeg's own command-line decoder as the reference for our video frames.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace testvideo {

// Frame `index` of `path` as FFmpeg's program decodes it, scaled bilinearly to width x height,
// as bottom-up BGR rows; empty when the program is missing or fails.
std::vector<std::uint8_t> referenceFrame(const std::string& path, int index, int width, int height);

// Mean absolute difference of two equally long byte buffers.
double meanDifference(const std::uint8_t* a, const std::uint8_t* b, std::size_t size);

} // namespace testvideo
