#include "../lwo/LwoBuilder.h"
#include "../lwo/LwoWalk.h"
#include "TestFiles.h"
#include "geometry/LwoMeshImporter.h"
#include "geometry/Mesh.h"
#include "geometry/MeshManager.h"
#include "lwo/LwoReader.h"
#include "material/MaterialLibrary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace {

class LwoImportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        manager.registerDefaultHandlers();
        manager.addSearchPath(testfiles::corpus("lwo") + "/");
    }
    Mesh* load(const std::string& name)
    {
        testing::internal::CaptureStdout();
        Mesh* mesh = manager.load(name);
        printed = testing::internal::GetCapturedStdout();
        return mesh;
    }

    MaterialLibrary library;
    MeshManager manager;
    std::string printed;
};

const WalkedMap* lastMapOfType(const WalkedLayer& layer, const std::string& type)
{
    const WalkedMap* found = nullptr;
    for (const WalkedMap& map : layer.maps)
        if (map.type == type)
            found = &map;
    return found;
}

} // namespace

TEST_F(LwoImportTest, CorpusObjectsBecomeMeshes)
{
    int loaded = 0;
    for (const auto& entry : std::filesystem::directory_iterator(testfiles::corpus("lwo"))) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".lwo")
            continue;
        SCOPED_TRACE(name);
        Mesh* mesh = load(name);
        if (name.starts_with("LWOB_")) {
            EXPECT_EQ(mesh, nullptr);
            EXPECT_EQ(printed, "ERROR! THIS ISN'T A LWO2 FILE\n");
            continue;
        }
        WalkedLayer walked = lwowalk::walkFirstLayer(entry.path().string());
        if (walked.triangles == 0) {  // subdivision patches only: nothing to draw
            EXPECT_EQ(mesh, nullptr);
            continue;
        }
        ASSERT_NE(mesh, nullptr);
        ++loaded;
        EXPECT_EQ(mesh->name, name);
        EXPECT_EQ(manager.find(name), mesh);
        EXPECT_EQ(std::size_t(mesh->vertices.size()), walked.points());
        EXPECT_EQ(std::size_t(mesh->faces.size()), walked.triangles);
        EXPECT_EQ(mesh->boundsMin, Vector3(walked.min[0], walked.min[1], walked.min[2]));
        EXPECT_EQ(mesh->boundsMax, Vector3(walked.max[0], walked.max[1], walked.max[2]));
        std::uint16_t flags = Mesh::kNormals;
        if (lastMapOfType(walked, "TXUV"))
            flags |= Mesh::texCoordFlag(0);
        if (lastMapOfType(walked, "RGB ") || lastMapOfType(walked, "RGBA"))
            flags |= Mesh::kColours;
        EXPECT_EQ(mesh->flags, flags);
        for (const MeshFace& face : mesh->faces) {
            for (std::int32_t i : face.indices)
                ASSERT_LT(std::uint32_t(i), std::uint32_t(mesh->vertices.size()));
            ASSERT_NE(face.material(), nullptr);
        }
    }
    EXPECT_GE(loaded, 30);
}

TEST_F(LwoImportTest, UvTestCoordinatesAreFlippedIntoSetOne)
{
    Mesh* mesh = load("uvtest.lwo");
    ASSERT_NE(mesh, nullptr);
    // One material per surface name, created in the library.
    std::set<std::string> names;
    for (const MeshFace& face : mesh->faces)
        names.insert(face.material()->name);
    EXPECT_EQ(names.size(), 16u);
    EXPECT_EQ(library.materials().size(), 16u);

    WalkedLayer walked = lwowalk::walkFirstLayer(testfiles::corpus("lwo/uvtest.lwo"));
    const WalkedMap* uv = lastMapOfType(walked, "TXUV");
    ASSERT_NE(uv, nullptr);
    ASSERT_EQ(uv->points.size(), 64u);
    for (std::size_t e = 0; e < uv->points.size(); ++e) {
        const MeshTexCoord& t = mesh->texCoords[0][int(uv->points[e])];
        EXPECT_FLOAT_EQ(t.u, uv->values[e][0]);
        EXPECT_FLOAT_EQ(t.v, 1.0f - uv->values[e][1]);
    }
}

TEST_F(LwoImportTest, VertexColoursComeFromTheColourMap)
{
    Mesh* mesh = load("UglyVertexColors.lwo");
    ASSERT_NE(mesh, nullptr);
    ASSERT_TRUE(mesh->flags & Mesh::kColours);
    WalkedLayer walked = lwowalk::walkFirstLayer(testfiles::corpus("lwo/UglyVertexColors.lwo"));
    const WalkedMap* rgb = lastMapOfType(walked, "RGB ");
    ASSERT_NE(rgb, nullptr);
    std::vector<bool> coloured(walked.points());
    int nonWhite = 0;
    for (std::size_t e = 0; e < rgb->points.size(); ++e) {
        const MeshVertex& v = mesh->vertices[int(rgb->points[e])];
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(v.colour[k], std::uint8_t(rgb->values[e][std::size_t(k)] * 255.0f));
        EXPECT_EQ(v.colour[3], 255);
        nonWhite += v.colour[0] + v.colour[1] + v.colour[2] < 3 * 255;
        coloured[rgb->points[e]] = true;
    }
    EXPECT_GT(nonWhite, 100);
    for (std::size_t p = 0; p < coloured.size(); ++p) {
        if (!coloured[p]) {
            EXPECT_EQ(mesh->vertices[int(p)].colour[0], 255);
        }
    }
}

TEST_F(LwoImportTest, PolygonsBecomeTriangleFans)
{
    LwoBytes c;
    c.chunk("TAGS", LwoBytes().s0("skin"));
    c.chunk("LAYR", LwoBytes().u2(0).u2(0).vec(0, 0, 0).s0("l"));
    c.chunk("PNTS", LwoBytes().vec(0, 0, 0).vec(1, 0, 0).vec(1, 1, 0).vec(0, 1, 0).vec(2, 2, 2));
    c.chunk("POLS", LwoBytes().id("FACE").u2(4).u2(0).u2(1).u2(2).u2(3).u2(2).u2(0).u2(4).u2(0));
    c.chunk("PTAG", LwoBytes().id("SURF").u2(0).u2(0));
    c.chunk("VMAP", LwoBytes().id("RGBA").u2(4).s0("c").u2(1).f4(1).f4(0.5f).f4(2).f4(-1).u2(9).f4(1).f4(1).f4(1).f4(1));
    c.chunk("SURF", LwoBytes().s0("skin").s0(""));
    auto bytes = c.form();
    auto object = readLwoMemory(bytes.data(), bytes.size(), "fan.lwo");
    ASSERT_NE(object, nullptr);
    library.add(new Material("skin"));
    Mesh mesh;
    ASSERT_TRUE(lwoimport::buildMesh(*object, mesh));
    EXPECT_EQ(library.materials().size(), 1u);  // the existing "skin" is used, not a second one
    ASSERT_EQ(mesh.faces.size(), 2);
    EXPECT_EQ(std::vector<int>(mesh.faces[0].indices, mesh.faces[0].indices + 3), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(std::vector<int>(mesh.faces[1].indices, mesh.faces[1].indices + 3), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(mesh.faces[0].material(), library.materials().front());
    EXPECT_EQ(mesh.faces[1].plane.normal(), Vector3(0, 0, 1));
    EXPECT_EQ(mesh.vertices[0].normal, Vector3(0, 0, 1));
    EXPECT_EQ(mesh.flags, Mesh::kNormals | Mesh::kColours);
    // RGBA entry (1, 0.5, 2, -1): truncated and clamped; the entry for point 9 names no point.
    const std::uint8_t* colour = mesh.vertices[1].colour;
    EXPECT_EQ(std::vector<int>(colour, colour + 4), (std::vector<int>{255, 127, 255, 0}));
    EXPECT_EQ(mesh.vertices[0].colour[1], 255);
}
