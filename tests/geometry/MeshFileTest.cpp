#include "TestFiles.h"
#include "geometry/Mesh.h"
#include "geometry/MeshFile.h"
#include "material/MaterialLibrary.h"
#include "script/ProblemSink.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Three vertices with distinct values in every field, two faces: one with material "rock", one
// without.
void fill(Mesh& mesh, std::uint16_t flags)
{
    mesh.flags = flags;
    ASSERT_TRUE(mesh.allocate(3, 2));
    for (int i = 0; i < 3; ++i) {
        float f = float(i);
        MeshVertex v{{f, f + 0.5f, -f}, {0.25f * f, 1, -0.5f}, {std::uint8_t(10 * i), 20, 30, std::uint8_t(200 + i)}};
        MeshTexCoord pairs[4] = {{f, 0.1f}, {f, 0.2f}, {f, 0.3f}, {f, 0.4f}};
        mesh.addVertex(v, pairs);
    }
    MeshFace a;
    a.indices[0] = 0, a.indices[1] = 1, a.indices[2] = 2;
    a.plane = PlaneEq(0.1f, 0.2f, 0.3f, 0.4f);
    a.setMaterial(MaterialLibrary::instance->find("rock"));
    MeshFace b = a;
    b.indices[0] = 2;
    b.plane.d = -7;
    b.setMaterial(nullptr);
    mesh.addFace(a);
    mesh.addFace(b);
}

void expectSame(const Mesh& a, const Mesh& b)
{
    ASSERT_EQ(a.flags, b.flags);
    ASSERT_EQ(a.vertices.size(), b.vertices.size());
    ASSERT_EQ(a.faces.size(), b.faces.size());
    for (int i = 0; i < a.vertices.size(); ++i) {
        EXPECT_EQ(a.vertices[i].position, b.vertices[i].position);
        EXPECT_EQ(a.vertices[i].normal, b.vertices[i].normal);
        EXPECT_EQ(std::memcmp(a.vertices[i].colour, b.vertices[i].colour, 4), 0);
        for (int set = 0; set < Mesh::kTexCoordSets; ++set) {
            ASSERT_EQ(a.hasTexCoords(set), b.texCoords[set].allocated());
            if (a.hasTexCoords(set)) {
                EXPECT_EQ(a.texCoords[set][i].u, b.texCoords[set][i].u);
                EXPECT_EQ(a.texCoords[set][i].v, b.texCoords[set][i].v);
            }
        }
    }
    for (int f = 0; f < a.faces.size(); ++f) {
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(a.faces[f].indices[k], b.faces[f].indices[k]);
        EXPECT_EQ(std::memcmp(&a.faces[f].plane, &b.faces[f].plane, sizeof(PlaneEq)), 0);
        EXPECT_EQ(a.faces[f].material(), b.faces[f].material());
    }
}

void putU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        bytes[at + std::size_t(k)] = std::uint8_t(v >> (8 * k));
}

class MeshFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        library.add(new Material("rock"));
        rock = library.find("rock");  // kept so the material outlives the meshes
        dir = testfiles::tempDir("msh");
    }
    void TearDown() override { library.release(rock); }

    // The content of the sample mesh, for corrupting.
    std::vector<std::uint8_t> sample(std::uint16_t flags = Mesh::kNormals)
    {
        Mesh mesh;
        fill(mesh, flags);
        std::vector<std::uint8_t> bytes;
        EXPECT_TRUE(meshfile::serialize(mesh, bytes));
        return bytes;
    }
    bool parses(const std::vector<std::uint8_t>& bytes)
    {
        Mesh mesh;
        return meshfile::parse(bytes.data(), bytes.size(), mesh);
    }

    MaterialLibrary library;
    Material* rock = nullptr;
    std::string dir;
};

} // namespace

TEST_F(MeshFileTest, RoundTripKeepsEveryFieldForEveryFlagCombination)
{
    const std::uint16_t bits[] = {0x01, 0x02, 0x10, 0x20, 0x40, 0x80};
    for (unsigned combo = 0; combo < 64; ++combo) {
        std::uint16_t flags = 0;
        for (int b = 0; b < 6; ++b)
            if (combo & (1u << b))
                flags |= bits[b];
        SCOPED_TRACE(flags);
        Mesh written;
        fill(written, flags);
        const std::string path = dir + "/m" + std::to_string(flags) + ".msh";
        ASSERT_TRUE(meshfile::write(path, written));
        Mesh read;
        ASSERT_TRUE(meshfile::read(path, read));
        expectSame(written, read);
        EXPECT_EQ(read.boundsMin, Vector3(0, 0.5f, -2));
        EXPECT_EQ(read.boundsMax, Vector3(2, 2.5f, 0));
    }
    // A gzip stream at level 9; the stored content as it stands reads the same.
    std::string file = testfiles::readFile(dir + "/m49.msh");
    ASSERT_GE(file.size(), 2u);
    EXPECT_EQ(std::uint8_t(file[0]), 0x1F);
    EXPECT_EQ(std::uint8_t(file[1]), 0x8B);
    auto raw = sample(0x31);
    testfiles::writeFile(dir + "/raw.msh", std::string(raw.begin(), raw.end()));
    Mesh fromRaw, expected;
    fill(expected, 0x31);
    ASSERT_TRUE(meshfile::read(dir + "/raw.msh", fromRaw));
    expectSame(expected, fromRaw);
}

TEST_F(MeshFileTest, HeaderAndCountsAreChecked)
{
    auto bytes = sample();
    EXPECT_TRUE(parses(bytes));
    for (std::uint16_t version : {256, 258}) {
        auto v = bytes;
        v[4] = std::uint8_t(version), v[5] = std::uint8_t(version >> 8);
        EXPECT_FALSE(parses(v)) << version;
    }
    auto magic = bytes;
    magic[0] = 'm';
    EXPECT_FALSE(parses(magic));
    // Counts the content cannot hold are refused before anything is allocated.
    for (std::uint32_t count : {0u, 0xFFFFFFFFu, 0x7FFFFFFFu, 4u}) {
        auto v = bytes, f = bytes;
        putU32(v, 8, count);
        putU32(f, 12, count);
        EXPECT_FALSE(parses(v)) << count;
        EXPECT_FALSE(parses(f)) << count;
    }
    for (std::size_t cut : {std::size_t(0), std::size_t(10), bytes.size() - 1})
        EXPECT_FALSE(parses(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + std::ptrdiff_t(cut))));
    Mesh missing;
    EXPECT_FALSE(meshfile::read(dir + "/none.msh", missing));
}

TEST_F(MeshFileTest, FacesAreChecked)
{
    const auto bytes = sample();
    const std::size_t face0 = 16 + 3 * 28;
    for (std::int32_t bad : {-1, 3, 1 << 30}) {
        auto v = bytes;
        putU32(v, face0 + 4, std::uint32_t(bad));
        EXPECT_FALSE(parses(v)) << bad;
    }
    // Material name length: negative, past the content.
    auto negative = bytes, longer = bytes;
    putU32(negative, face0 + 28, 0xFFFFFFFFu);
    putU32(longer, face0 + 28, 1000);
    EXPECT_FALSE(parses(negative));
    EXPECT_FALSE(parses(longer));

    // Names up to 259 bytes; longer ones are refused on reading and on writing.
    for (std::size_t length : {259u, 260u}) {
        Material* named = new Material(std::string(length, 'n'));
        library.add(named);
        Mesh mesh;
        fill(mesh, Mesh::kNormals);
        mesh.faces[1].setMaterial(library.find(named->name));
        std::vector<std::uint8_t> content;
        EXPECT_EQ(meshfile::serialize(mesh, content), length == 259);
        EXPECT_EQ(meshfile::write(dir + "/long.msh", mesh), length == 259);
        if (length == 259) {
            Mesh back;
            ASSERT_TRUE(meshfile::parse(content.data(), content.size(), back));
            EXPECT_EQ(back.faces[1].material(), named);
            // The same file with the name grown by one byte does not read.
            const std::size_t at = content.size() - 4 - 259;
            putU32(content, at, 260);
            content.push_back('n');
            EXPECT_FALSE(parses(content));
        }
    }
}

TEST_F(MeshFileTest, UnknownMaterialsLeaveFacesWithout)
{
    Mesh mesh;
    fill(mesh, Mesh::kNormals);
    std::vector<std::uint8_t> content;
    ASSERT_TRUE(meshfile::serialize(mesh, content));
    std::vector<std::string> names;
    ASSERT_TRUE(meshfile::write(dir + "/names.msh", mesh));
    ASSERT_TRUE(meshfile::materialNames(dir + "/names.msh", names));
    EXPECT_EQ(names, std::vector<std::string>{"rock"});

    content[content.size() - 32 - 1] = 'X';  // "rock" of the first face becomes "rocX"
    Mesh back;
    ProblemCollector check(true);
    ASSERT_TRUE(meshfile::parse(content.data(), content.size(), back));
    EXPECT_EQ(back.faces[0].material(), nullptr);
    // A check names the material no script defines, once.
    ASSERT_EQ(check.problems().size(), 1u);
    EXPECT_NE(check.problems()[0].message.find("\"rocX\", which no script defines"), std::string::npos)
        << check.problems()[0].message;
}
