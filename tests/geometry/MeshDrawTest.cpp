#include "GLFixture.h"
#include "core/ExtensionRegistry.h"
#include "geometry/Mesh.h"
#include "material/MaterialLibrary.h"
#include "material/RenderState.h"

#include <memory>
#include <string>
#include <vector>

namespace {

// Sets a colour while bound and notes every bind and unbind.
class ColourState : public RenderState {
public:
    ColourState(std::string name, float r, float g, float b, std::vector<std::string>& log)
        : name_(std::move(name)), r_(r), g_(g), b_(b), log_(log)
    {
    }
    void apply() override
    {
        glColor3f(r_, g_, b_);
        log_.push_back("bind " + name_);
    }
    void restore() override
    {
        glColor3f(1, 1, 1);
        log_.push_back("unbind " + name_);
    }

private:
    std::string name_;
    float r_, g_, b_;
    std::vector<std::string>& log_;
};

class MeshDrawTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        for (auto [name, r, g, b] : {std::tuple{"A", 1.0f, 0.0f, 0.0f}, std::tuple{"B", 0.0f, 1.0f, 0.0f}}) {
            auto* material = new Material(name);
            material->addState(std::make_unique<ColourState>(name, r, g, b, log));
            library.add(material);
        }
    }

    // Two quads side by side over the whole screen: faces left 1, left 2, right 1, right 2 with
    // the given materials; u runs from 0 at the left edge to 1 at the right.
    void build(std::uint16_t flags, const char* const materials[4])
    {
        mesh.flags = flags;
        ASSERT_TRUE(mesh.allocate(6, 4));
        const float xs[3] = {0, 320, 640};
        for (float y : {0.0f, 480.0f})
            for (float x : xs) {
                MeshTexCoord uv[1] = {{x / 640.0f, 0.5f}};
                mesh.addVertex(MeshVertex{{x, y, 0}, {0, 0, 1}, {0, 0, 255, 255}}, uv);
            }
        // Vertex i: bottom row 0..2, top row 3..5.
        const int tris[4][3] = {{0, 1, 4}, {0, 4, 3}, {1, 2, 5}, {1, 5, 4}};
        for (int f = 0; f < 4; ++f) {
            MeshFace face;
            std::copy(tris[f], tris[f] + 3, face.indices);
            if (materials[f])
                face.setMaterial(library.find(materials[f]));
            mesh.addFace(face);
        }
    }
    void drawOnce(bool useMaterials)
    {
        mesh.begin();
        mesh.draw(useMaterials);
        mesh.end();
    }

    std::vector<std::string> log;
    MaterialLibrary library;
    Mesh mesh;  // destroyed before the library: its faces give their references back
};

// Pixels inside each face: left 1, left 2, right 1, right 2.
const int probes[4][2] = {{280, 40}, {40, 440}, {600, 40}, {360, 440}};

} // namespace

TEST_F(MeshDrawTest, MaterialsSwitchOnlyWhereConsecutiveFacesDiffer)
{
    const char* const materials[4] = {"A", "A", "B", "A"};
    build(Mesh::kNormals, materials);
    drawOnce(true);
    EXPECT_EQ(log, (std::vector<std::string>{"bind A", "unbind A", "bind B", "unbind B", "bind A", "unbind A"}));
    EXPECT_PIXEL_NEAR(testgl::readPixel(probes[0][0], probes[0][1]), 255, 0, 0, 2);
    EXPECT_PIXEL_NEAR(testgl::readPixel(probes[1][0], probes[1][1]), 255, 0, 0, 2);
    EXPECT_PIXEL_NEAR(testgl::readPixel(probes[2][0], probes[2][1]), 0, 255, 0, 2);
    EXPECT_PIXEL_NEAR(testgl::readPixel(probes[3][0], probes[3][1]), 255, 0, 0, 2);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
}

TEST_F(MeshDrawTest, WithoutMaterialsTheCallersStateHolds)
{
    const char* const materials[4] = {"A", nullptr, "B", "B"};
    build(Mesh::kNormals, materials);
    glColor3f(0.0f, 0.0f, 1.0f);
    drawOnce(false);
    EXPECT_TRUE(log.empty());
    for (const auto& p : probes)
        EXPECT_PIXEL_NEAR(testgl::readPixel(p[0], p[1]), 0, 0, 255, 2);

    // With materials, a face without one draws between an unbind and the next bind.
    testgl::resetState();
    drawOnce(true);
    EXPECT_EQ(log, (std::vector<std::string>{"bind A", "unbind A", "bind B", "unbind B"}));
    EXPECT_PIXEL_NEAR(testgl::readPixel(probes[1][0], probes[1][1]), 255, 255, 255, 2);
}

TEST_F(MeshDrawTest, VertexColoursAndTextureCoordinatesReachGl)
{
    const char* const none[4] = {nullptr, nullptr, nullptr, nullptr};
    build(Mesh::kNormals | Mesh::kColours | Mesh::texCoordFlag(0), none);

    // Colours only where flag 0x02 says so: blue from the vertices.
    drawOnce(false);
    EXPECT_PIXEL_NEAR(testgl::readPixel(probes[2][0], probes[2][1]), 0, 0, 255, 2);
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));

    // Set 1 on unit 0: a two-texel texture, white on the left, yellow on the right, modulated
    // by the white vertex colour.
    mesh.flags = Mesh::kNormals | Mesh::texCoordFlag(0);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const unsigned char texels[8] = {255, 255, 255, 255, 255, 255, 0, 255};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glEnable(GL_TEXTURE_2D);
    testgl::resetState();
    glEnable(GL_TEXTURE_2D);
    drawOnce(false);
    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(1, &texture);
    EXPECT_PIXEL_NEAR(testgl::readPixel(100, 240), 255, 255, 255, 2);
    EXPECT_PIXEL_NEAR(testgl::readPixel(540, 240), 255, 255, 0, 2);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
}

TEST_F(MeshDrawTest, FacesOutsideTheVertexArraysAreNotDrawn)
{
    const char* const none[4] = {nullptr, nullptr, nullptr, nullptr};
    build(Mesh::kNormals, none);
    mesh.faces[2].indices[1] = 6;   // past the six vertices
    mesh.faces[3].indices[0] = -1;  // a fresh face's index
    drawOnce(false);
    EXPECT_PIXEL_NEAR(testgl::readPixel(probes[0][0], probes[0][1]), 255, 255, 255, 2);
    EXPECT_PIXEL_NEAR(testgl::readPixel(probes[2][0], probes[2][1]), 0, 0, 0, 2);
    EXPECT_PIXEL_NEAR(testgl::readPixel(probes[3][0], probes[3][1]), 0, 0, 0, 2);
}
