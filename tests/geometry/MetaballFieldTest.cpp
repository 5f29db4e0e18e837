// The metaball field: grid layout, charges, the marching-cubes surface and its drawing.
#include "GLFixture.h"
#include "geometry/MarchingCubesTables.h"
#include "geometry/MetaballField.h"

#include <cmath>
#include <map>
#include <tuple>
#include <vector>

namespace {

// The grid edge a surface vertex lies on: the indices of its two grid-exact coordinates, the lower
// index along the third and that axis. Shared edges of neighbouring cubes get the same key even
// when the two cubes interpolate from opposite ends.
using EdgeKey = std::tuple<int, int, int, int>;
EdgeKey edgeKey(const Vector3& v, int n)
{
    int index[3] = {0, 0, 0}, axis = -1;
    const float c[3] = {v.x, v.y, v.z};
    for (int a = 0; a < 3; ++a) {
        const float t = (c[a] + 10.0f) * float(n) / 20.0f;
        const int r = int(std::lround(t));
        if (float(r) * 20.0f / float(n) - 10.0f == c[a]) {
            index[a] = r;
        } else {
            index[a] = int(std::floor(t));
            axis = a;
        }
    }
    return {index[0], index[1], index[2], axis};
}

} // namespace

TEST(MetaballField, GridSpansTheCubeWithTheCornerNumberingOfTheTables)
{
    MetaballField field;
    EXPECT_FALSE(field.init(0));
    ASSERT_TRUE(field.init(4));
    EXPECT_EQ(field.pointCount(), 125);
    EXPECT_EQ(field.cubeCount(), 64);
    EXPECT_EQ(field.pointIndex(1, 2, 3), (1 * 5 + 2) * 5 + 3);
    const Vector3 p = field.position(field.pointIndex(1, 2, 3));
    EXPECT_FLOAT_EQ(p.x, -5.0f);
    EXPECT_FLOAT_EQ(p.y, 0.0f);
    EXPECT_FLOAT_EQ(p.z, 5.0f);
    EXPECT_FLOAT_EQ(field.position(field.pointCount() - 1).x, 10.0f);

    const int cube = field.cubeIndex(1, 2, 3);
    const int corners[8][3] = {{1, 2, 3}, {1, 2, 4}, {1, 3, 4}, {1, 3, 3},
                               {2, 2, 3}, {2, 2, 4}, {2, 3, 4}, {2, 3, 3}};
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(field.cubeCorner(cube, c), field.pointIndex(corners[c][0], corners[c][1], corners[c][2]))
            << "corner " << c;
}

TEST(MetaballField, ChargesAddUpAndABallOnAGridPointStaysFinite)
{
    MetaballField field;
    ASSERT_TRUE(field.init(2));  // points at -10, 0, 10
    const Metaball balls[2] = {{0, 0, 0, 2.0f}, {10, 0, 0, 1.0f}};
    field.setBalls(balls, 2);

    // The centre holds the first ball exactly: 2 / 0.0001 plus the second at distance 10.
    const int centre = field.pointIndex(1, 1, 1);
    EXPECT_NEAR(field.values()[centre], 2.0f / 0.0001f + 1.0f / 100.0f, 0.01f);
    EXPECT_NEAR(field.gradient(centre).x, -10.0f * 1.0f / 10000.0f, 1e-7f);

    // Point (0, 1, 1) at (-10, 0, 0): 2/100 + 1/400, gradient along -x from both balls.
    const int left = field.pointIndex(0, 1, 1);
    EXPECT_FLOAT_EQ(field.values()[left], 2.0f / 100.0f + 1.0f / 400.0f);
    EXPECT_FLOAT_EQ(field.gradient(left).x, -10.0f * 2.0f / 10000.0f - 20.0f * 1.0f / 160000.0f);
    EXPECT_FLOAT_EQ(field.gradient(left).y, 0.0f);

    // A second call starts again from zero.
    field.setBalls(balls, 1);
    EXPECT_FLOAT_EQ(field.values()[left], 2.0f / 100.0f);
}

TEST(MetaballField, AlternatingCornersGiveFourTrianglesThroughTheEdgeMidpoints)
{
    for (int cube : {85, 170}) {
        MetaballField field;
        ASSERT_TRUE(field.init(1));
        for (int c = 0; c < 8; ++c)
            field.values()[field.cubeCorner(0, c)] = (cube >> c) & 1 ? 0.0f : 1.0f;
        EXPECT_EQ(marchingcubes::kEdgeTable[cube], 0xFF);

        std::vector<MetaballVertex> out;
        field.polygonise(0.5f, out);
        ASSERT_EQ(out.size(), 12u) << "cube " << cube;
        std::map<EdgeKey, int> uses;
        for (const auto& v : out) {
            const EdgeKey key = edgeKey(v.position, 1);
            ++uses[key];
            EXPECT_GE(std::get<3>(key), 0) << "a vertex on a corner";
            // Values 0 and 1 around 0.5: every vertex sits halfway along its edge.
            const float along = std::get<3>(key) == 0 ? v.position.x : std::get<3>(key) == 1 ? v.position.y : v.position.z;
            EXPECT_NEAR(along, 0.0f, 1e-5f);
        }
        // The eight cut edges are the four sides of the k = 0 and k = 1 faces (corners 0-3 and 4-7).
        EXPECT_EQ(uses.size(), 8u);
    }
}

TEST(MetaballField, SingleBallGivesAClosedSphereFacingOutwards)
{
    const int n = 32;
    MetaballField field;
    ASSERT_TRUE(field.init(n));
    const Vector3 centre{0.13f, -0.21f, 0.07f};
    const Metaball ball{centre.x, centre.y, centre.z, 1.5f};
    field.setBalls(&ball, 1);
    const float iso = 0.25f;
    const float radius = std::sqrt(1.5f / iso);  // s / r² = iso
    const float cell = 20.0f / n;

    std::vector<MetaballVertex> out;
    field.polygonise(iso, out);
    ASSERT_GT(out.size(), 300u);
    ASSERT_EQ(out.size() % 3, 0u);

    std::map<std::pair<EdgeKey, EdgeKey>, int> sides;
    int facingOut = 0;
    for (std::size_t t = 0; t < out.size(); t += 3) {
        for (int v = 0; v < 3; ++v) {
            const MetaballVertex& m = out[t + v];
            const Vector3 d = m.position - centre;
            EXPECT_NEAR(d.length(), radius, cell) << "vertex off the sphere";
            EXPECT_NEAR(m.normal.length(), 1.0f, 1e-4f);
            EXPECT_GT(dot(m.normal, d) / d.length(), 0.95f) << "normal not pointing away from the ball";
            ++sides[{edgeKey(m.position, n), edgeKey(out[t + (v + 1) % 3].position, n)}];
        }
        const Vector3 face = cross(out[t + 1].position - out[t].position, out[t + 2].position - out[t].position);
        facingOut += dot(face, out[t].position - centre) > 0.0f ? 1 : 0;
    }
    // Counter-clockwise seen from outside: the front faces look away from the ball.
    EXPECT_EQ(facingOut, int(out.size() / 3));
    // Closed and consistently wound: every side is used once in each direction.
    for (const auto& [side, count] : sides) {
        EXPECT_EQ(count, 1);
        EXPECT_EQ(sides.count({side.second, side.first}), 1u) << "open or flipped edge";
    }
}

class MetaballDrawTest : public GLTest {};

TEST_F(MetaballDrawTest, DrawsTheSurfaceAndLeavesTheArraysOff)
{
    MetaballField field;
    ASSERT_TRUE(field.init(32));
    const Metaball ball{0, 0, 0, 1.0f};
    field.setBalls(&ball, 1);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-10, 10, -7.5, 7.5, -20, 20);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(0.0f, 1.0f, 0.0f);
    field.render(0.25f);  // radius 2

    EXPECT_PIXEL_NEAR(testgl::readPixel(320, 240), 0, 255, 0, 8);
    EXPECT_PIXEL_NEAR(testgl::readPixel(320 + 51, 240), 0, 255, 0, 8);  // 1.6 units out
    EXPECT_PIXEL_NEAR(testgl::readPixel(320 + 80, 240), 0, 0, 0, 8);    // 2.5 units out
    EXPECT_PIXEL_NEAR(testgl::readPixel(20, 20), 0, 0, 0, 8);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
}
