// Reading the drawn picture back from the framebuffer (screenshots, video export).
#pragma once
#include <vector>

namespace frame {

// The current read buffer's width × height RGBA pixels, bottom row first (as GL keeps them).
// `pixels` is resized to fit.
void readPixels(int width, int height, std::vector<unsigned char>& pixels);
// Bottom-up RGBA rows as picture files store them: top row first, every pixel opaque.
void toPictureRows(const std::vector<unsigned char>& bottomUp, int width, int height,
                   std::vector<unsigned char>& picture);

} // namespace frame
