#include "GLFixture.h"
#include "core/ExtensionRegistry.h"
#include "scenes/WaterSurface.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int kSize = 60;
constexpr float kDt = 1.0f / 60.0f;
const Vector3 kEye{1.0f, 6.0f, 2.0f};

class WaterSurfaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(water.init(kSize, kSize, 1.0f, 4.1f));
        water.damping = 0.75f;
    }
    float height(int c, int r) const { return water.vertices[water.index(c, r)].position.y; }
    const Vector3& normal(int c, int r) const { return water.vertices[water.index(c, r)].normal; }
    const MeshTexCoord& uv(int c, int r) const { return water.texCoords[0][water.index(c, r)]; }
    int shade(int c, int r) const { return water.vertices[water.index(c, r)].colour[0]; }

    WaterSurface water;
};

TEST_F(WaterSurfaceTest, GridFacesAndCoordinates)
{
    EXPECT_EQ(water.vertices.size(), 3600);
    EXPECT_EQ(water.faces.size(), 59 * 59 * 2);
    EXPECT_EQ(water.flags, Mesh::kNormals | Mesh::kColours | Mesh::texCoordFlag(0));
    EXPECT_FLOAT_EQ(water.vertices[0].position.x, -4.1f);
    EXPECT_FLOAT_EQ(water.vertices[water.index(59, 59)].position.z, 4.1f);
    EXPECT_FLOAT_EQ(uv(30, 15).u, 0.5f);
    EXPECT_FLOAT_EQ(uv(30, 15).v, 0.25f);
    // Cell (c 3, r 7): a = 7·60 + 3, b = a + 60.
    const MeshFace& first = water.faces[(7 * 59 + 3) * 2];
    const MeshFace& second = water.faces[(7 * 59 + 3) * 2 + 1];
    EXPECT_EQ(first.indices[0], 423);
    EXPECT_EQ(first.indices[1], 483);
    EXPECT_EQ(first.indices[2], 424);
    EXPECT_EQ(second.indices[0], 483);
    EXPECT_EQ(second.indices[1], 484);
    EXPECT_EQ(second.indices[2], 424);

    EXPECT_FALSE(water.init(kSize, kSize, 1.0f, 4.1f)) << "a second init";
    WaterSurface line;
    EXPECT_FALSE(line.init(1, 10, 1.0f, 1.0f));
}

TEST_F(WaterSurfaceTest, StaysFlatWithoutDrops)
{
    for (int i = 0; i < 100; ++i)
        water.step(kDt, kEye);
    for (const MeshVertex& v : water.vertices) {
        ASSERT_EQ(v.position.y, 0.0f);
        ASSERT_EQ(v.normal, (Vector3{0, 1, 0}));
    }
}

// The outermost ring receives no force, so it keeps whatever height it has; the second ring is
// pulled only by its interior neighbours, never by the outer ring.
TEST_F(WaterSurfaceTest, OuterRingStillSecondRingMovedOnlyFromInside)
{
    water.addDrop(0, 20, -0.125f);
    water.addDrop(59, 40, -0.125f);
    for (int i = 0; i < 50; ++i)
        water.step(kDt, kEye);
    for (int r = 0; r < kSize; ++r)
        for (int c = 0; c < kSize; ++c) {
            const float expected = (c == 0 && r == 20) || (c == 59 && r == 40) ? -0.125f : 0.0f;
            ASSERT_EQ(height(c, r), expected) << c << ", " << r;
        }

    // A drop on the second ring: its force comes from the three interior points next to it
    // (below it, below-left and below-right).
    water.addDrop(5, 1, -0.125f);
    water.step(kDt, kEye);
    const float force = 0.125f * (1.0f + 2.0f * 0.70710677f);
    EXPECT_NEAR(water.forces()[water.index(5, 1)], force, 1e-6f);
    const float velocity = kDt * force * (1.0f - kDt * 0.75f);
    EXPECT_NEAR(height(5, 1), -0.125f + velocity, 1e-6f);
    // The interior point below it is pulled once (only from its own side of the pair).
    EXPECT_NEAR(water.forces()[water.index(5, 2)], -0.125f, 1e-6f);
    EXPECT_EQ(water.forces()[water.index(5, 0)], 0.0f);
    EXPECT_EQ(water.forces()[water.index(4, 1)], 0.0f) << "second-ring neighbours do not pull";
}

// Each pull is added to one point and taken from the other, so the forces sum to zero and the
// waves spread the same way in all four directions.
TEST_F(WaterSurfaceTest, DropSpreadsSymmetricallyAndConservesMomentum)
{
    water.addDrop(30, 30, -0.125f);
    for (int i = 0; i < 20; ++i) {
        water.step(kDt, kEye);
        double sum = 0;
        for (float f : water.forces())
            sum += f;
        ASSERT_NEAR(sum, 0.0, 1e-5);
    }
    EXPECT_NE(height(30, 33), 0.0f);
    EXPECT_FLOAT_EQ(height(30, 33), height(30, 27));
    EXPECT_FLOAT_EQ(height(33, 30), height(27, 30));
    EXPECT_FLOAT_EQ(height(33, 30), height(30, 33));
    EXPECT_FLOAT_EQ(height(32, 32), height(28, 28));
    EXPECT_FLOAT_EQ(normal(33, 30).x, -normal(27, 30).x);
}

// The normal's x slope is taken across rows and its z slope across columns. On the first row
// the missing row above counts as the vertex's own height three times; columns are clamped.
TEST_F(WaterSurfaceTest, NormalsAtTheFirstRowAndTheEdgeColumns)
{
    const float h = 0.1f;
    water.addDrop(5, 0, h);
    water.addDrop(59, 10, h);
    water.addDrop(0, 20, h);
    water.step(0.0f, kEye);
    auto expectNormal = [](const Vector3& n, float nx, float nz) {
        const float len = std::sqrt(nx * nx + 1.0f + nz * nz);
        EXPECT_NEAR(n.x, nx / len, 1e-6f);
        EXPECT_NEAR(n.y, 1.0f / len, 1e-6f);
        EXPECT_NEAR(n.z, nz / len, 1e-6f);
    };
    expectNormal(normal(4, 0), 0.0f, 2 * h);   // clamping the row instead would give (-h, 3h)
    expectNormal(normal(5, 0), -4 * h, 0.0f);
    expectNormal(normal(5, 1), -2 * h, 0.0f);
    expectNormal(normal(59, 11), -3 * h, h);
    expectNormal(normal(59, 9), 3 * h, h);
    expectNormal(normal(58, 10), 0.0f, 2 * h);
    expectNormal(normal(0, 21), -3 * h, -h);
    expectNormal(normal(1, 20), 0.0f, -2 * h);
}

TEST_F(WaterSurfaceTest, RayStraightDownLandsOnTheFloor)
{
    for (auto [c, r] : {std::pair{30, 30}, std::pair{10, 45}, std::pair{0, 0}}) {
        const Vector3 p = water.vertices[water.index(c, r)].position;
        water.step(0.0f, Vector3{p.x, 5.0f, p.z});
        const float tx = float(c) / 59.0f * 0.998f + 0.001f;
        const float tz = float(r) / 59.0f * 0.998f + 0.001f;
        EXPECT_NEAR(uv(c, r).u, tx * 0.5f + 0.25f, 1e-6f) << c << ", " << r;
        EXPECT_NEAR(uv(c, r).v, tz * 0.5f + 0.25f, 1e-6f) << c << ", " << r;
        EXPECT_EQ(shade(c, r), 25) << "looking straight down";
    }
}

// Seen from far out along +x and just above the surface, every ray bends down towards -x and
// meets the x = 0 wall before the floor: the picture's left band, further in for points
// further from that wall.
TEST_F(WaterSurfaceTest, GrazingViewSeesTheWallBandsAndShades229)
{
    water.step(0.0f, Vector3{1e5f, 1.0f, 0.0f});
    EXPECT_EQ(shade(30, 30), 229);
    EXPECT_EQ(shade(0, 59), 229);
    const MeshTexCoord nearWall = uv(0, 30), farWall = uv(59, 30);
    EXPECT_GT(nearWall.u, 0.0f);
    EXPECT_LT(nearWall.u, 0.001f);
    EXPECT_GT(farWall.u, 0.2f);
    EXPECT_LT(farWall.u, 0.25f);
    // The rays run along x, so they meet the wall at the vertex's own z.
    const float tz = 30.0f / 59.0f * 0.998f + 0.001f;
    for (const MeshTexCoord& w : {nearWall, farWall})
        EXPECT_NEAR(w.v, w.u + tz * (1.0f - 2.0f * w.u), 1e-5f);

    water.fresnelColour = false;
    water.step(0.0f, Vector3{1e5f, 1.0f, 0.0f});
    EXPECT_EQ(shade(30, 30), 200);
}

// An eye below the surface would give a shade past a byte; it stays at 255.
TEST_F(WaterSurfaceTest, ShadeFromBelowStaysInAByte)
{
    water.step(0.0f, Vector3{0.0f, -5.0f, 0.0f});
    EXPECT_EQ(shade(30, 30), 255);
}

TEST_F(WaterSurfaceTest, DropsOutsideTheGridAreIgnored)
{
    water.addDrop(-1, 5, 1.0f);
    water.addDrop(60, 5, 1.0f);
    water.addDrop(5, 60, 1.0f);
    water.step(kDt, kEye);
    for (const MeshVertex& v : water.vertices)
        ASSERT_EQ(v.position.y, 0.0f);
}

// The projective matrix worked out one factor at a time: inverse model-view, then F (negate x
// and y, z + s), P (w = z), B (x, y halved and moved by half of w), S (x, y, w times s).
Vector3 projectStepwise(const Matrix4x4& modelView, const Vector3& p, float s, float& w)
{
    const Vector3 q = modelView.inverse().transformPoint(p);
    float x = -q.x, y = -q.y, z = q.z + s;
    w = z;
    x = 0.5f * x + 0.5f * w;
    y = 0.5f * y + 0.5f * w;
    w *= s;
    return {x * s, y * s, z};
}

TEST(WaterSurfaceMatrix, ProjectiveMatrixFactors)
{
    const Matrix4x4 modelView = Matrix4x4::translation(1.0f, -2.0f, -7.0f) *
                                Matrix4x4::rotationY(0.4f) * Matrix4x4::rotationX(-0.3f);
    for (float s : {1.0f, 0.5f}) {
        const Matrix4x4 m = WaterSurface::projectiveTextureMatrix(modelView, s);
        for (const Vector3& p : {Vector3{0, 0, 0}, Vector3{3, -1, 2}, Vector3{-4, 4, -6}}) {
            float w = 0;
            const Vector3 expected = projectStepwise(modelView, p, s, w);
            const Vector3 got = m.transformPoint(p);
            const float gotW = m[12] * p.x + m[13] * p.y + m[14] * p.z + m[15];
            EXPECT_NEAR(got.x, expected.x, 1e-4f);
            EXPECT_NEAR(got.y, expected.y, 1e-4f);
            EXPECT_NEAR(got.z, expected.z, 1e-4f);
            EXPECT_NEAR(gotW, w, 1e-4f);
        }
    }
}

class WaterSurfaceGLTest : public GLTest {};

// begin loads the matrix for the GL's model-view on unit 0 and leaves unit 1 active; end puts
// identity on both units and unit 0 back.
TEST_F(WaterSurfaceGLTest, BeginAndEndSetAndResetTheTextureMatrices)
{
    ASSERT_TRUE(ext::glActiveTextureARB);
    WaterSurface water;
    ASSERT_TRUE(water.init(8, 8, 1.0f, 4.1f));
    water.textureUnit[0] = GL_TEXTURE1_ARB;

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.5f, -1.0f, -9.0f);
    glRotatef(35.0f, 1.0f, 0.0f, 0.0f);
    const Matrix4x4 modelView = Matrix4x4::translation(0.5f, -1.0f, -9.0f) *
                                Matrix4x4::rotationX(35.0f * 0.017453292f).transposed();

    water.begin();
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
    EXPECT_EQ(active, GLint(GL_TEXTURE1_ARB));
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    float gl[16];
    glGetFloatv(GL_TEXTURE_MATRIX, gl);
    ext::glActiveTextureARB(GL_TEXTURE1_ARB);
    const Matrix4x4 expected = WaterSurface::projectiveTextureMatrix(modelView);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(gl[c * 4 + r], expected.at(r, c), 1e-4f) << r << ", " << c;
    water.draw(true);
    water.end();

    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
    EXPECT_EQ(active, GLint(GL_TEXTURE0_ARB));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GLint(GL_MODELVIEW));
    for (GLenum unit : {GL_TEXTURE0_ARB, GL_TEXTURE1_ARB}) {
        ext::glActiveTextureARB(unit);
        glGetFloatv(GL_TEXTURE_MATRIX, gl);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(gl[i], i % 5 == 0 ? 1.0f : 0.0f) << "unit " << unit - GL_TEXTURE0_ARB;
    }
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    glPopMatrix();
}

} // namespace
