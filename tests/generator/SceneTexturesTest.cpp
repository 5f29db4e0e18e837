// The scene pictures that the show repeats across a surface (the water's mirrored sky, the
// tunnel's panels) must tile: the step across the wrap-around edge is of the size of
// the steps between neighbouring pixels inside the picture, where a picture that does not tile
// jumps by about the whole range of its noise.
#include "Canvas.h"
#include "SceneTextures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// The mean colour difference between column (or row) a and b.
double meanStep(const Canvas& c, int a, int b, bool columns)
{
    double sum = 0;
    const int n = columns ? c.height() : c.width();
    for (int i = 0; i < n; ++i) {
        const float* p = columns ? c.pixel(a, i) : c.pixel(i, a);
        const float* q = columns ? c.pixel(b, i) : c.pixel(i, b);
        for (int k = 0; k < 3; ++k)
            sum += std::fabs(p[k] - q[k]);
    }
    return sum / n;
}

TEST(SceneTextures, RepeatedPicturesTileSeamlessly)
{
    int checked = 0;
    for (const scenetextures::ScenePicture& picture : scenetextures::pictures()) {
        const std::string& path = picture.path;
        if (path != "data/art/water-sky.jpg" && path != "data/art/tunnel-panel.jpg")
            continue;
        ++checked;
        Canvas canvas(picture.size, picture.size);
        picture.draw(canvas);
        const int last = picture.size - 1;
        for (bool columns : {true, false}) {
            // The mean step between neighbours inside, and the step across the edge.
            double inside = 0;
            for (int a = 0; a < last; ++a)
                inside += meanStep(canvas, a, a + 1, columns) / last;
            const double seam = meanStep(canvas, last, 0, columns);
            EXPECT_LE(seam, 3.0 * inside) << path << (columns ? " left/right" : " top/bottom");
        }
    }
    EXPECT_EQ(checked, 2);
}

// The sky the water mirrors is mostly night with a little warm light and a few stars: dark on
// average, with highlights well above the average.
TEST(SceneTextures, WaterSkyIsANightSkyWithHighlights)
{
    for (const scenetextures::ScenePicture& picture : scenetextures::pictures()) {
        if (picture.path != "data/art/water-sky.jpg")
            continue;
        Canvas canvas(picture.size, picture.size);
        picture.draw(canvas);
        double sum = 0, brightest = 0;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x) {
                const float* p = canvas.pixel(x, y);
                const double v = (p[0] + p[1] + p[2]) / 3.0;
                sum += v;
                brightest = std::max(brightest, v);
            }
        const double mean = sum / (double(canvas.width()) * canvas.height());
        EXPECT_LT(mean, 0.3);
        EXPECT_GT(brightest, mean + 0.4);
        return;
    }
    FAIL() << "no water sky";
}

} // namespace
