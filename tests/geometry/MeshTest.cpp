#include "geometry/Mesh.h"
#include "material/MaterialLibrary.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(MeshRecord, AllocationIsOnceAndAppendingPastCapacityIsIgnored)
{
    Mesh mesh;
    EXPECT_FALSE(mesh.allocate(0, 1));
    EXPECT_FALSE(mesh.allocate(1, 0));
    mesh.flags = Mesh::kNormals | Mesh::texCoordFlag(0) | Mesh::texCoordFlag(2);
    ASSERT_TRUE(mesh.allocate(2, 1));
    EXPECT_FALSE(mesh.allocate(2, 1));
    EXPECT_TRUE(mesh.texCoords[0].allocated());
    EXPECT_FALSE(mesh.texCoords[1].allocated());
    EXPECT_TRUE(mesh.texCoords[2].allocated());

    MeshTexCoord pairs[3] = {{0.1f, 0.2f}, {0.3f, 0.4f}, {0.5f, 0.6f}};
    EXPECT_EQ(mesh.addVertex(MeshVertex{{1, 2, 3}, {}, {}}, pairs), 0);
    EXPECT_EQ(mesh.addVertex(MeshVertex{{4, 5, 6}, {}, {}}, std::span(pairs, 1)), 1);
    EXPECT_EQ(mesh.addVertex(MeshVertex{}, pairs), -1);
    EXPECT_EQ(mesh.vertices.size(), 2);
    EXPECT_FLOAT_EQ(mesh.texCoords[0][1].u, 0.1f);
    EXPECT_FLOAT_EQ(mesh.texCoords[2][0].u, 0.5f);  // pair k goes to set k
    EXPECT_EQ(mesh.texCoords[2].size(), 1);         // the second vertex gave one pair only

    EXPECT_EQ(mesh.addFace(MeshFace()), 0);
    EXPECT_EQ(mesh.addFace(MeshFace()), -1);
    EXPECT_EQ(mesh.faces.size(), 1);
}

TEST(MeshRecord, BoundsPlanesAndNormals)
{
    Mesh mesh;
    ASSERT_TRUE(mesh.allocate(5, 2));
    for (Vector3 p : {Vector3(0, 0, 0), Vector3(2, 0, 0), Vector3(0, 3, 0), Vector3(0, 0, -4),
                      Vector3(-1, 5, 7)})
        mesh.addVertex(MeshVertex{p, {9, 9, 9}, {}});
    MeshFace a;
    a.indices[0] = 0, a.indices[1] = 1, a.indices[2] = 2;  // z = 0, facing +z
    MeshFace b;
    b.indices[0] = 0, b.indices[1] = 3, b.indices[2] = 2;  // x = 0, facing +x
    mesh.addFace(a);
    mesh.addFace(b);

    mesh.computeBounds();
    EXPECT_EQ(mesh.boundsMin, Vector3(-1, 0, -4));
    EXPECT_EQ(mesh.boundsMax, Vector3(2, 5, 7));

    mesh.computeFacePlanes();
    EXPECT_EQ(mesh.faces[0].plane.normal(), Vector3(0, 0, 1));
    EXPECT_EQ(mesh.faces[1].plane.normal(), Vector3(1, 0, 0));
    EXPECT_FLOAT_EQ(mesh.faces[0].plane.d, 0.0f);

    mesh.computeVertexNormals();
    const float h = 1.0f / std::sqrt(2.0f);
    EXPECT_NEAR(mesh.vertices[0].normal.x, h, 1e-6f);
    EXPECT_NEAR(mesh.vertices[0].normal.z, h, 1e-6f);
    EXPECT_EQ(mesh.vertices[1].normal, Vector3(0, 0, 1));
    EXPECT_EQ(mesh.vertices[4].normal, Vector3(0, 0, 0));  // in no face: stays zero
}

TEST(MeshRecord, FacesCountTheirMaterialReferences)
{
    MaterialLibrary library;
    library.add(new Material("stone"));
    Material* stone = library.find("stone");
    ASSERT_NE(stone, nullptr);
    EXPECT_EQ(stone->references(), 2);
    {
        MeshFace face;
        face.setMaterial(stone);  // takes find's reference
        MeshFace copy = face;
        EXPECT_EQ(stone->references(), 3);
        MeshFace moved = std::move(copy);
        EXPECT_EQ(stone->references(), 3);
        EXPECT_EQ(copy.material(), nullptr);
        copy = face;
        EXPECT_EQ(stone->references(), 4);
        MeshFace& same = copy;
        copy = same;
        EXPECT_EQ(stone->references(), 4);
        moved.setMaterial(nullptr);
        EXPECT_EQ(stone->references(), 3);
    }
    // The last face gave the last reference but the library's back, and the library let go.
    EXPECT_EQ(library.find("stone"), nullptr);
}
