#include "LwoBuilder.h"
#include "LwoWalk.h"
#include "TestFiles.h"
#include "lwo/LwoReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

std::unique_ptr<LwoObject> read(const LwoBytes& chunks, std::string* printed = nullptr)
{
    auto bytes = chunks.form();
    testing::internal::CaptureStdout();
    auto object = readLwoMemory(bytes.data(), bytes.size(), "test.lwo");
    std::string out = testing::internal::GetCapturedStdout();
    if (printed)
        *printed = out;
    return object;
}

std::string failure(const LwoBytes& chunks)
{
    std::string printed;
    EXPECT_EQ(read(chunks, &printed), nullptr);
    return printed;
}

// A layer with the points of a unit square in the z = 0 plane.
LwoBytes squareLayer()
{
    LwoBytes c;
    c.chunk("LAYR", LwoBytes().u2(0).u2(0).vec(0, 0, 0).s0("").u2(0xFFFF));
    c.chunk("PNTS", LwoBytes().vec(0, 0, 0).vec(1, 0, 0).vec(1, 1, 0).vec(0, 1, 0));
    return c;
}

LwoBytes facePolygons(std::initializer_list<std::initializer_list<unsigned>> polygons)
{
    LwoBytes body;
    body.id("FACE");
    for (auto polygon : polygons) {
        body.u2(unsigned(polygon.size()));
        for (unsigned index : polygon)
            body.vx(index);
    }
    return body;
}

} // namespace

TEST(LwoCorpus, EveryLwo2FileReadsAndMatchesAChunkWalk)
{
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(testfiles::corpus("lwo"))) {
        const std::string path = entry.path().string();
        if (entry.path().extension() != ".lwo" || path.find("LWOB_") != std::string::npos)
            continue;
        SCOPED_TRACE(path);
        ++files;
        testing::internal::CaptureStdout();
        auto object = readLwo(path);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        ASSERT_NE(object, nullptr);
        ASSERT_FALSE(object->layers.empty());
        const LwoLayer& layer = object->layers.front();
        WalkedLayer walked = lwowalk::walkFirstLayer(path);
        EXPECT_EQ(layer.points.count(), walked.points());
        EXPECT_EQ(layer.polygons.size(), walked.polygons);
        std::size_t triangles = 0;
        for (const LwoPolygon& polygon : layer.polygons)
            triangles += polygon.vertexCount() >= 3 ? polygon.vertexCount() - 2 : 0;
        EXPECT_EQ(triangles, walked.triangles);
        for (int a = 0; a < 3; ++a) {
            EXPECT_FLOAT_EQ(layer.boundsMin[a], walked.min[a]);
            EXPECT_FLOAT_EQ(layer.boundsMax[a], walked.max[a]);
        }
    }
    EXPECT_GE(files, 30);
}

TEST(LwoCorpus, KnownContents)
{
    testing::internal::CaptureStdout();
    auto uv = readLwo(testfiles::corpus("lwo/uvtest.lwo"));
    auto hierarchy = readLwo(testfiles::corpus("lwo/hierarchy.lwo"));
    auto colours = readLwo(testfiles::corpus("lwo/UglyVertexColors.lwo"));
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(uv && hierarchy && colours);

    EXPECT_EQ(uv->surfaces.size(), 16u);
    const LwoLayer& uvLayer = uv->layers.front();
    const LwoVertexMap* map = uvLayer.points.map(LwoMapSlot::uv);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(findVertexMap(uvLayer, map->name), map);
    EXPECT_EQ(map->dimension, 2);
    // Every polygon has a surface whose image map names that UV map.
    for (const LwoPolygon& polygon : uvLayer.polygons) {
        ASSERT_NE(polygon.surface, nullptr);
        ASSERT_FALSE(polygon.surface->blocks.empty());
        EXPECT_EQ(polygon.surface->blocks.front().type, lwoId("IMAP"));
        EXPECT_EQ(polygon.surface->blocks.front().imageMap.vertexMapName, map->name);
    }
    ASSERT_EQ(uvLayer.clips.size(), 1u);
    EXPECT_EQ(uvLayer.clips.front().fileName.find('/'), std::string::npos);

    EXPECT_EQ(hierarchy->layers.size(), 4u);
    EXPECT_EQ(hierarchy->surfaces.size(), 3u);

    const LwoLayer& colourLayer = colours->layers.front();
    EXPECT_TRUE(colourLayer.points.map(LwoMapSlot::rgb) || colourLayer.points.map(LwoMapSlot::rgba));
}

TEST(LwoCorpus, OlderLwobFormIsRefused)
{
    std::string printed;
    testing::internal::CaptureStdout();
    auto object = readLwo(testfiles::corpus("lwo/LWOB_ConcavePolygon.lwo"));
    printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(printed, "ERROR! THIS ISN'T A LWO2 FILE\n");
}

TEST(LwoEncoding, PaddedStringsVariableIndicesAndOddChunks)
{
    LwoBytes c;
    c.chunk("TAGS", LwoBytes().s0("AB").s0("C").s0("DEF"));
    ASSERT_EQ(LwoBytes().s0("AB").bytes.size(), 4u);
    c.raw(squareLayer());
    c.chunk("VMAP", LwoBytes().id("WGHT").u2(1).s0("w").vx(70000).f4(0.5f).vx(2).f4(0.25f));
    ASSERT_EQ(LwoBytes().vx(70000).bytes, (std::vector<std::uint8_t>{0xFF, 0x01, 0x11, 0x70}));
    c.chunk("ODDX", LwoBytes().u1(7));  // odd size: one pad byte follows
    c.chunk("POLS", LwoBytes().id("PTCH").u2(3).u2(0).u2(1).u2(2));
    c.chunk("POLS", facePolygons({{0, 1, 2, 3}}));
    auto object = read(c);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->tags, (std::vector<std::string>{"AB", "C", "DEF"}));
    ASSERT_EQ(object->layers.size(), 1u);  // the layer TAGS made is the one LAYR fills
    const LwoLayer& layer = object->layers.front();
    EXPECT_EQ(layer.name, "test.lwo");
    EXPECT_EQ(layer.parent, 0xFFFF);
    ASSERT_EQ(layer.vertexMaps.size(), 1u);
    EXPECT_EQ(layer.vertexMaps[0].points, (std::vector<std::uint32_t>{70000, 2}));
    EXPECT_EQ(layer.points.map(LwoMapSlot::weight), &layer.vertexMaps[0]);
    ASSERT_EQ(layer.polygons.size(), 1u);  // the patch chunk was skipped whole
    EXPECT_EQ(layer.polygons[0].vertices, (std::vector<std::uint32_t>{0, 1, 2, 3}));
}

TEST(LwoPostProcessing, NormalsTagsBoundsAndDrawingOrder)
{
    LwoBytes c;
    c.chunk("TAGS", LwoBytes().s0("solid").s0("glass").s0("missing"));
    c.raw(squareLayer());
    c.chunk("BBOX", LwoBytes().vec(-9, -9, -9).vec(9, 9, 9));
    // A (quad), T1, B, T2, and a polygon with no vertices.
    c.chunk("POLS", facePolygons({{0, 1, 2, 3}, {0, 1, 2}, {0, 2, 3}, {1, 2, 3}, {}}));
    c.chunk("PTAG", LwoBytes().id("SURF").vx(0).u2(0).vx(1).u2(1).vx(2).u2(2).vx(3).u2(1).vx(99).u2(0).vx(0).u2(77));
    c.chunk("PTAG", LwoBytes().id("SMGP").vx(2).u2(1));
    c.chunk("SURF", LwoBytes().s0("solid").s0("").sub("DIFF", LwoBytes().f4(1).vx(0)));
    c.chunk("SURF", LwoBytes().s0("glass").s0("").sub("TRAN", LwoBytes().f4(0.5f).vx(0)));
    auto object = read(c);
    ASSERT_NE(object, nullptr);
    const LwoLayer& layer = object->layers.front();
    ASSERT_EQ(layer.polygons.size(), 5u);
    // Opaque in reverse file order (empty, B, A), then transparent (T2, T1).
    const auto& p = layer.polygons;
    EXPECT_TRUE(p[0].vertices.empty());
    EXPECT_EQ(p[1].vertices, (std::vector<std::uint32_t>{0, 2, 3}));
    EXPECT_EQ(p[1].surface, nullptr);  // "missing" names no surface
    EXPECT_EQ(p[1].smoothingGroup, 1u);
    EXPECT_EQ(p[2].vertices, (std::vector<std::uint32_t>{0, 1, 2, 3}));
    ASSERT_NE(p[2].surface, nullptr);
    EXPECT_EQ(p[2].surface->name, "solid");
    EXPECT_EQ(p[3].vertices, (std::vector<std::uint32_t>{1, 2, 3}));
    EXPECT_EQ(p[4].vertices, (std::vector<std::uint32_t>{0, 1, 2}));
    EXPECT_EQ(p[4].surface->name, "glass");
    // The quad's normal comes from (p1 - p0) x (p3 - p0).
    EXPECT_FLOAT_EQ(p[2].normal[2], 1.0f);
    EXPECT_FLOAT_EQ(p[2].planeD, 0.0f);
    EXPECT_EQ(p[0].normal, (LwoVec3{0, 0, 0}));
    // BBOX is replaced by the points' bounds.
    EXPECT_EQ(layer.boundsMin, (LwoVec3{0, 0, 0}));
    EXPECT_EQ(layer.boundsMax, (LwoVec3{1, 1, 0}));
}

TEST(LwoPostProcessing, CornerMapsKeepTheFirstEntryAndIgnoreMissingTargets)
{
    LwoBytes c = squareLayer();
    c.chunk("POLS", facePolygons({{0, 1, 2}, {0, 2, 3}}));
    c.chunk("VMAD", LwoBytes().id("TXUV").u2(2).s0("uv").vx(2).vx(1).f4(0.1f).f4(0.2f).vx(2).vx(1).f4(0.3f).f4(0.4f)
                        .vx(1).vx(1).f4(9).f4(9)       // point 1 is no corner of polygon 1
                        .vx(0).vx(50).f4(9).f4(9));    // polygon 50 does not exist
    c.chunk("VMAD", LwoBytes().id("TXUV").u2(2).s0("later").vx(2).vx(1).f4(0.7f).f4(0.8f));
    auto object = read(c);
    ASSERT_NE(object, nullptr);
    const LwoLayer& layer = object->layers.front();
    ASSERT_EQ(layer.cornerMaps.size(), 2u);
    EXPECT_EQ(layer.cornerMaps.front().name, "later");  // reverse file order
    EXPECT_EQ(layer.cornerMaps.back().points.front(), 0u);
    // Drawing order reversed the polygons: file polygon 1 is now first.
    const LwoPolygon& polygon = layer.polygons[0];
    ASSERT_EQ(polygon.vertices, (std::vector<std::uint32_t>{0, 2, 3}));
    ASSERT_EQ(polygon.corners.size(), 3u);
    ASSERT_NE(polygon.corners[1].map, nullptr);
    EXPECT_FLOAT_EQ(polygon.corners[1].map->entry(polygon.corners[1].entry)[0], 0.1f);
    EXPECT_EQ(polygon.corners[0].map, nullptr);
}

TEST(LwoFailures, MessagesForBrokenFiles)
{
    {
        std::vector<std::uint8_t> notIff = {'R', 'I', 'F', 'F', 0, 0, 0, 4, 'L', 'W', 'O', '2'};
        testing::internal::CaptureStdout();
        EXPECT_EQ(readLwoMemory(notIff.data(), notIff.size(), "x"), nullptr);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR! THIS ISN'T A IFF FILE\n");
    }
    LwoBytes beforeLayer;
    beforeLayer.chunk("PNTS", LwoBytes().vec(0, 0, 0));
    EXPECT_EQ(failure(beforeLayer), "ERROR: GENERIC FAILURE\n");

    LwoBytes pastPoints = squareLayer();
    pastPoints.chunk("POLS", facePolygons({{0, 1, 4}}));
    EXPECT_EQ(failure(pastPoints), "ERROR: WRONG LWO CHUNK\n");

    LwoBytes pastFile = squareLayer();
    pastFile.id("PNTS").u4(1200).vec(1, 2, 3);
    EXPECT_EQ(failure(pastFile), "ERROR: END OF FILE\n");

    LwoBytes truncatedPolygon = squareLayer();
    truncatedPolygon.chunk("POLS", LwoBytes().id("FACE").u2(3).u2(0).u2(1));
    EXPECT_EQ(failure(truncatedPolygon), "ERROR: END OF FILE\n");

    LwoBytes unterminated;
    unterminated.chunk("TAGS", LwoBytes().id("ABCD"));
    EXPECT_EQ(failure(unterminated), "ERROR: END OF FILE\n");

    LwoBytes badSubChunk;
    badSubChunk.chunk("SURF", LwoBytes().s0("s").s0("").id("COLR").u2(400).f4(1));
    EXPECT_EQ(failure(badSubChunk), "ERROR: END OF FILE\n");

    testing::internal::CaptureStdout();
    EXPECT_EQ(readLwo("/nonexistent/file.lwo"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(LwoLookups, ByIndexAndName)
{
    LwoBytes c;
    c.chunk("TAGS", LwoBytes().s0("a").s0("b"));
    c.raw(squareLayer());
    c.chunk("POLS", facePolygons({{0, 1, 2}}));
    c.chunk("VMAP", LwoBytes().id("TXUV").u2(2).s0("m").vx(0).f4(0).f4(0));
    c.chunk("VMAP", LwoBytes().id("RGB ").u2(3).s0("m").vx(0).f4(1).f4(1).f4(1));
    c.chunk("SURF", LwoBytes().s0("b").s0(""));
    auto object = read(c);
    ASSERT_NE(object, nullptr);
    const LwoLayer& layer = object->layers.front();
    EXPECT_EQ(findVertexMap(layer, "m")->type, lwoId("TXUV"));
    EXPECT_EQ(findVertexMap(layer, "m", lwoId("RGB "))->dimension, 3);
    EXPECT_EQ(findVertexMap(layer, "M"), nullptr);
    EXPECT_NE(findPolygon(layer, 0), nullptr);
    EXPECT_EQ(findPolygon(layer, 1), nullptr);
    EXPECT_EQ(*findTag(*object, 1), "b");
    EXPECT_EQ(findTag(*object, 2), nullptr);
    EXPECT_EQ(findSurface(*object, "b"), &object->surfaces[0]);
    EXPECT_EQ(findSurface(*object, "a"), nullptr);
    freeLwo(object);
    EXPECT_EQ(object, nullptr);
}
