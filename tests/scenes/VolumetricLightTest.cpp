#include "GLFixture.h"
#include "SceneTestSupport.h"
#include "geometry/Mesh.h"
#include "scenes/VolumetricLight.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr float kHalfPi = 1.5707964f;

TEST(VolumetricLight, ShellCountIntensityAndScaleFollowTheAngle)
{
    EXPECT_EQ(volumetricShells(-kHalfPi).count, 0);
    EXPECT_EQ(volumetricShells(0.0f).count, 12);
    const VolumetricShells full = volumetricShells(kHalfPi);
    ASSERT_EQ(full.count, 25);
    EXPECT_FLOAT_EQ(full[0].intensity, 1.0f);
    EXPECT_FLOAT_EQ(full[0].scale, 1.0f);
    EXPECT_NEAR(full[24].intensity, 0.04f, 1e-6f);
    EXPECT_NEAR(full[24].scale, 2.2f, 1e-6f);
    // The shells fade and grow steadily outwards.
    for (int k = 1; k < full.count; ++k) {
        EXPECT_LT(full[k].intensity, full[k - 1].intensity);
        EXPECT_NEAR(full[k].scale - full[k - 1].scale, 0.05f, 1e-6f);
    }
    EXPECT_EQ(volumetricShells(2.0f * kHalfPi + kHalfPi).count, 0) << "sin 3π/2 = -1";
}

// Notes every draw: with or without materials, the current colour and the model-view's scale.
class RecordingMesh : public Mesh {
public:
    struct Draw {
        bool useMaterials;
        float colour[4];
        float scale;
    };
    void draw(bool useMaterials) override
    {
        Draw d{useMaterials, {}, 0.0f};
        glGetFloatv(GL_CURRENT_COLOR, d.colour);
        float m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        d.scale = std::sqrt(m[0] * m[0] + m[1] * m[1] + m[2] * m[2]);
        draws.push_back(d);
        Mesh::draw(useMaterials);
    }
    std::vector<Draw> draws;
};

class VolumetricLightGLTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        scenetest::makeTriangle(mesh);
    }
    RecordingMesh mesh;
};

TEST_F(VolumetricLightGLTest, SolidBodyThenFadingShells)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    drawVolumetricLight(mesh, nullptr, {10, 20, 30}, kHalfPi);
    ASSERT_EQ(mesh.draws.size(), 26u);
    EXPECT_TRUE(mesh.draws[0].useMaterials);
    EXPECT_EQ(mesh.draws[0].colour[0], 1.0f);
    EXPECT_NEAR(mesh.draws[0].scale, 1.0f, 1e-5f);
    for (int k = 1; k <= 25; ++k) {
        const auto& d = mesh.draws[std::size_t(k)];
        EXPECT_FALSE(d.useMaterials);
        EXPECT_NEAR(d.colour[1], 1.0f - float(k - 1) / 25.0f, 1e-6f);
        EXPECT_NEAR(d.colour[3], 1.0f - float(k - 1) / 25.0f, 1e-6f);
        EXPECT_NEAR(d.scale, 1.0f + 0.05f * float(k - 1), 1e-5f);
    }
    EXPECT_NEAR(mesh.draws[25].colour[0], 0.04f, 1e-6f);

    // The model-view comes back and the arrays are off again.
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m[i], i % 5 == 0 ? 1.0f : 0.0f);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));

    mesh.draws.clear();
    drawVolumetricLight(mesh, nullptr, {0, 0, 0}, -kHalfPi);
    EXPECT_EQ(mesh.draws.size(), 1u) << "only the solid body at sin a = -1";
}

} // namespace
