// The interlude's meshes as the generator builds them: the eye emblem's almond meets at its two
// corners and stands as tall as drawn, both lie flat facing the viewer, and their faces name
// the materials generic.shader defines.
#include "Meshes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

meshes::Shape shapeOf(const std::string& path)
{
    for (const meshes::MeshAsset& asset : meshes::assets())
        if (asset.path == path)
            return asset.make();
    ADD_FAILURE() << path << " is not among the generator's meshes";
    return {};
}

struct Extent {
    float maxX = 0, maxY = 0, maxZ = 0, minRadius = 1e9f, maxRadius = 0;
};

Extent extentOf(const meshes::Shape& shape)
{
    Extent e;
    for (const Vector3& p : shape.positions) {
        e.maxX = std::max(e.maxX, std::fabs(p.x));
        e.maxY = std::max(e.maxY, std::fabs(p.y));
        e.maxZ = std::max(e.maxZ, std::fabs(p.z));
        const float r = std::hypot(p.x, p.y);
        e.minRadius = std::min(e.minRadius, r);
        e.maxRadius = std::max(e.maxRadius, r);
    }
    return e;
}

} // namespace

TEST(InterludeMeshes, EmblemIsAFlatAlmondRoundAnIrisRing)
{
    const meshes::Shape emblem = shapeOf("data/obj/emblem.msh");
    ASSERT_FALSE(emblem.triangles.empty());
    EXPECT_EQ(emblem.materials, std::vector<std::string>{"EmblemGold"});
    const Extent e = extentOf(emblem);
    // Half-width 8 and half-height 4.4, plus the tube's own radius of 0.22 (at the corners the
    // tube's end is slanted, so it reaches only 0.19 past them).
    EXPECT_NEAR(e.maxX, 8.19f, 0.03f);
    EXPECT_NEAR(e.maxY, 4.62f, 0.05f);
    EXPECT_LT(e.maxZ, 0.25f);
    // The iris ring (radius 2.4) is the innermost part; the arcs pass well outside it.
    EXPECT_NEAR(e.minRadius, 2.4f - 0.16f, 0.05f);
    // Both arcs end at the corners (±8, 0): points of each arc's tube lie there.
    int nearCorners = 0;
    for (const Vector3& p : emblem.positions)
        nearCorners += std::hypot(std::fabs(p.x) - 8.0f, p.y) < 0.3f;
    EXPECT_GE(nearCorners, 16);
}

TEST(InterludeMeshes, HaloIsABeadedRingOfLight)
{
    const meshes::Shape halo = shapeOf("data/obj/halo.msh");
    ASSERT_FALSE(halo.triangles.empty());
    EXPECT_EQ(halo.materials, std::vector<std::string>{"HaloLight"});
    const Extent e = extentOf(halo);
    EXPECT_NEAR(e.maxRadius, 11.45f, 0.05f);  // a bead's outer side
    EXPECT_NEAR(e.minRadius, 10.55f, 0.05f);  // a bead's inner side
    EXPECT_NEAR(e.maxZ, 0.45f, 0.05f);
}
