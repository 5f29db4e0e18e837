// The alien scene's generated meshes, read back through the show's own ".msh" reader: their
// materials, their facing (the surfaces are culled, so a flipped triangle would vanish) and the
// eye's colours where the camera looks at it.
#include "AlienContent.h"
#include "TestFiles.h"
#include "geometry/Mesh.h"
#include "geometry/MeshFile.h"
#include "material/Material.h"
#include "material/MaterialLibrary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

class AlienContent : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Held for the whole test: a mesh giving back its faces' references must not destroy them.
        for (const char* name : {"EyeBall", "EyeCornea", "EyeFlesh"}) {
            library.add(new Material(name));
            held.push_back(library.find(name));
        }
    }
    void TearDown() override
    {
        for (Material* m : held)
            library.release(m);
    }

    // The kind is written once, before any test's own library exists (the writer sets up a
    // material library of its own while it runs).
    static void SetUpTestSuite()
    {
        dir = testfiles::tempDir("alien");
        std::string error;
        ASSERT_TRUE(aliencontent::write(dir, false, error)) << error;
    }

    bool readBack(const std::string& file, Mesh& mesh) { return meshfile::read(dir + "/data/obj/" + file, mesh); }

    static std::string dir;
    MaterialLibrary library;
    std::vector<Material*> held;
};

std::string AlienContent::dir;

// Every face's plane looks away from the sphere's centre.
int inwardFaces(const Mesh& mesh)
{
    int inward = 0;
    for (int f = 0; f < mesh.faces.size(); ++f) {
        const MeshFace& face = mesh.faces[f];
        const Vector3 centroid = (mesh.vertices[face.indices[0]].position + mesh.vertices[face.indices[1]].position +
                                  mesh.vertices[face.indices[2]].position) * (1.0f / 3.0f);
        inward += dot(face.plane.normal(), centroid) <= 0.0f ? 1 : 0;
    }
    return inward;
}

} // namespace

TEST_F(AlienContent, WritesEveryFileItLists)
{
    for (const std::string& file : aliencontent::files())
        EXPECT_GT(std::filesystem::file_size(dir + "/" + file), 1000u) << file;
}

TEST_F(AlienContent, SpheresFaceOutwardsWithTheirMaterials)
{
    const struct {
        const char* file;
        const char* material;
    } spheres[] = {{"eye_globe.msh", "EyeBall"}, {"eye_cornea.msh", "EyeCornea"}, {"eye_shell.msh", "EyeFlesh"}};
    for (const auto& s : spheres) {
        Mesh mesh;
        ASSERT_TRUE(readBack(s.file, mesh)) << s.file;
        ASSERT_GT(mesh.faces.size(), 100) << s.file;
        EXPECT_EQ(inwardFaces(mesh), 0) << s.file;
        for (int f = 0; f < mesh.faces.size(); ++f)
            ASSERT_TRUE(mesh.faces[f].material() && mesh.faces[f].material()->name == s.material) << s.file;
    }
}

TEST_F(AlienContent, EyeLooksAtMinusZWithADarkPupilAndAPaleBack)
{
    Mesh eye;
    ASSERT_TRUE(readBack("eye_globe.msh", eye));
    EXPECT_NEAR(eye.boundsMin.z, -3.0f, 0.01f);
    EXPECT_NEAR(eye.boundsMax.z, 3.0f, 0.01f);
    int pupils = 0;
    for (int v = 0; v < eye.vertices.size(); ++v) {
        const MeshVertex& m = eye.vertices[v];
        const int brightness = m.colour[0] + m.colour[1] + m.colour[2];
        if (m.position.z < -2.97f) {
            ++pupils;
            EXPECT_LT(brightness, 60) << "pupil at " << m.position.x << ", " << m.position.y;
        } else if (m.position.z > 2.9f) {
            EXPECT_GT(brightness, 450) << "sclera at the back";
        }
    }
    EXPECT_GT(pupils, 10);
}

TEST_F(AlienContent, TentacleTapersAlongZ)
{
    Mesh tentacle;
    ASSERT_TRUE(readBack("eye_tentacle.msh", tentacle));
    EXPECT_NEAR(tentacle.boundsMin.z, 0.0f, 0.01f);
    EXPECT_NEAR(tentacle.boundsMax.z, 9.0f, 0.01f);
    float baseWidth = 0.0f, tipWidth = 0.0f;
    for (int v = 0; v < tentacle.vertices.size(); ++v) {
        const Vector3& p = tentacle.vertices[v].position;
        if (p.z == 0.0f)
            baseWidth = std::max(baseWidth, std::abs(p.x));
        if (p.z > 8.99f)
            tipWidth = std::max(tipWidth, std::abs(p.y - 0.7f * std::sin(4.0f)));
    }
    EXPECT_GT(baseWidth, 0.8f);
    EXPECT_LT(tipWidth, 0.1f);
}
