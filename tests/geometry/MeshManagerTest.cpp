#include "TestFiles.h"
#include "geometry/Mesh.h"
#include "geometry/MeshFile.h"
#include "geometry/MeshManager.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// A one-triangle ".msh" at `path`.
void writeTriangle(const std::string& path, float x)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    Mesh mesh;
    ASSERT_TRUE(mesh.allocate(3, 1));
    mesh.addVertex(MeshVertex{{x, 0, 0}, {}, {}});
    mesh.addVertex(MeshVertex{{x + 1, 0, 0}, {}, {}});
    mesh.addVertex(MeshVertex{{x, 1, 0}, {}, {}});
    MeshFace face;
    face.indices[0] = 0, face.indices[1] = 1, face.indices[2] = 2;
    mesh.addFace(face);
    ASSERT_TRUE(meshfile::write(path, mesh));
}

} // namespace

TEST(MeshManager, InstanceFollowsTheObject)
{
    {
        MeshManager manager;
        EXPECT_EQ(MeshManager::instance, &manager);
    }
    EXPECT_EQ(MeshManager::instance, nullptr);
}

TEST(MeshManager, LoadsFromTheSearchPathsInOrderAndFindsByAliasOrName)
{
    const std::string root = testfiles::tempDir("meshes");
    writeTriangle(root + "/data/obj/model.msh", 5);
    writeTriangle(root + "/other/model.msh", 7);
    writeTriangle(root + "/other/second.msh", 9);

    MeshManager manager;
    manager.registerDefaultHandlers();
    manager.addSearchPath(root + "\\missing\\");
    manager.addSearchPath(root + "\\data\\obj\\");  // a show path: opened natively
    manager.addSearchPath(root + "/other/");
    EXPECT_EQ(manager.locate("model.msh"), root + "\\data\\obj\\");
    EXPECT_EQ(manager.locate("absent.msh"), "");

    EXPECT_EQ(manager.find("model.msh"), nullptr);
    Mesh* model = manager.load("model.msh", 0);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->name, "model.msh");
    EXPECT_EQ(model->vertices[0].position.x, 5.0f);
    EXPECT_EQ(manager.find("model.msh"), model);
    EXPECT_EQ(manager.load("model.msh"), model);  // no second copy
    EXPECT_EQ(manager.meshes().size(), 1u);

    Mesh* second = manager.load("second.msh");
    ASSERT_NE(second, nullptr);
    second->alias = "model.msh";
    EXPECT_EQ(manager.find("model.msh"), model);  // earlier in load order
    model->alias = "first";
    EXPECT_EQ(manager.find("first"), model);
    EXPECT_EQ(manager.find("second.msh"), second);
    EXPECT_EQ(manager.find("MODEL.MSH"), nullptr);

    // No importer for the extension (matched exactly), a missing file, a broken file.
    writeTriangle(root + "/other/upper.MSH", 1);
    testfiles::writeFile(root + "/other/broken.msh", "MESH\x02\x01");
    EXPECT_EQ(manager.load("upper.MSH"), nullptr);
    EXPECT_EQ(manager.load("noextension"), nullptr);
    EXPECT_EQ(manager.load("absent.msh"), nullptr);
    EXPECT_EQ(manager.load("broken.msh"), nullptr);
    EXPECT_EQ(manager.meshes().size(), 2u);

    manager.releaseAll();
    EXPECT_TRUE(manager.meshes().empty());
    EXPECT_TRUE(manager.searchPaths().empty());
    EXPECT_EQ(manager.load("model.msh"), nullptr);  // the importers are gone too
}

TEST(MeshManager, AddTakesOwnershipOfNewNamesOnly)
{
    MeshManager manager;
    EXPECT_FALSE(manager.add(nullptr));
    auto* a = new Mesh;
    a->name = "a";
    EXPECT_TRUE(manager.add(a));
    Mesh duplicate;
    duplicate.name = "a";
    EXPECT_FALSE(manager.add(&duplicate));
    EXPECT_EQ(manager.find("a"), a);
}

TEST(MeshManager, ImportersAreTriedByExtensionOnlyAndSaveUsesTheExporter)
{
    const std::string dir = testfiles::tempDir("meshes");
    MeshManager manager;
    int calls = 0;
    manager.addImporter("x", [&](const std::string&, Mesh&) { ++calls; return false; });
    manager.addImporter("x", [&](const std::string&, Mesh&) { ++calls; return true; });
    EXPECT_EQ(manager.load("thing.x"), nullptr);  // the first match fails: no other is tried
    EXPECT_EQ(calls, 1);

    manager.registerDefaultHandlers();
    Mesh mesh;
    writeTriangle(dir + "/t.msh", 3);
    ASSERT_TRUE(meshfile::read(dir + "/t.msh", mesh));
    EXPECT_TRUE(manager.save(dir + "/copy.msh", mesh));
    EXPECT_FALSE(manager.save(dir + "/copy.obj", mesh));
    manager.addSearchPath(dir + "/");
    Mesh* copy = manager.load("copy.msh");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->vertices[1].position.x, 4.0f);
}
