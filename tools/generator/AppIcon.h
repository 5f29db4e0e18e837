// The program's desktop icon: a dark stone with a glowing eye, drawn at every usual size.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace appicon {

// The hicolor theme's application icon sizes, in pixels.
inline constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256, 512};

// The icon as RGBA rows (top first, straight alpha), size × size.
std::vector<std::uint8_t> render(int size);
// Writes icons/hicolor/SxS/apps/oculith.png for every size under `outDir`.
bool write(const std::string& outDir, bool verbose, std::string& error);

} // namespace appicon
