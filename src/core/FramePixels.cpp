#include "core/FramePixels.h"

#include "core/GL.h"

#include <cstring>

namespace frame {

void readPixels(int width, int height, std::vector<unsigned char>& pixels)
{
    pixels.resize(size_t(width) * size_t(height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
}

void toPictureRows(const std::vector<unsigned char>& bottomUp, int width, int height,
                   std::vector<unsigned char>& picture)
{
    const size_t stride = size_t(width) * 4;
    picture.resize(stride * size_t(height));
    for (int y = 0; y < height; ++y) {
        unsigned char* row = picture.data() + size_t(y) * stride;
        std::memcpy(row, bottomUp.data() + size_t(height - 1 - y) * stride, stride);
        for (size_t x = 3; x < stride; x += 4)
            row[x] = 255;
    }
}

} // namespace frame
