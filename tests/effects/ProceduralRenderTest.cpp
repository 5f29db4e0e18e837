// The procedural and video kinds drawn on the headless context: the tube around the view with
// the depth buffer cleared behind it, tiles that settle into the picture, a video frame upright.
#include "effects/StreamEffect.h"
#include "effects/WaveLinesEffect.h"
#include "scenegraph/Camera.h"
#include "scenegraph/CameraManager.h"
#include "texture/VideoTexture.h"
#include "EffectRenderFixture.h"
#include "TestFiles.h"
#include "VideoReference.h"

#include <vector>

namespace {

using testgl::readPixel;

constexpr int kTolerance = 3;

class ProceduralRenderTest : public EffectRenderTest {
protected:
    template <class E>
    E* first()
    {
        const auto& list = timeline.active().empty() ? timeline.pending() : timeline.active();
        return list.empty() ? nullptr : dynamic_cast<E*>(list.begin()->get());
    }
    // The 3D view a camera would give: 45 degrees, 4:3, near 1, far 1024.
    static void perspective()
    {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45.0, 640.0 / 480.0, 1.0, 1024.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
};

TEST_F(ProceduralRenderTest, TunnelSurroundsTheViewAndLeavesTheDepthBufferClear)
{
    perspective();
    load("Tunnel {\n  Size 32 16\n  Length 1000\n  End 10\n}\n");
    glClearDepth(0.5);  // anything the tunnel leaves would show as a depth below 1
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    frame(1.0f);
    for (auto [x, y] : {std::pair{2, 2}, {637, 2}, {2, 477}, {637, 477}, {320, 60}, {100, 240}}) {
        SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
        EXPECT_PIXEL_NEAR(readPixel(x, y), 255, 255, 255, kTolerance);
    }
    // The far opening: a few pixels of background in the middle.
    EXPECT_PIXEL_NEAR(readPixel(320, 240), 0, 0, 0, kTolerance);
    float depth = 0.0f;
    glReadPixels(100, 100, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_FLOAT_EQ(depth, 1.0f);
}

TEST_F(ProceduralRenderTest, TunnelWithoutAMeshStillClearsTheDepthBuffer)
{
    // No "Size " line, and a tube one vertex around: nothing to draw, but older depth must not
    // hide the layers after it.
    perspective();
    for (const char* size : {"", "  Size 1 8\n"}) {
        SCOPED_TRACE(size);
        timeline.clear();
        load(std::string("Tunnel {\n") + size + "  Length 1000\n  End 10\n}\n");
        glClearDepth(0.5);
        glClear(GL_DEPTH_BUFFER_BIT);
        glClearDepth(1.0);
        frame(1.0f);
        float depth = 0.0f;
        glReadPixels(100, 100, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        EXPECT_FLOAT_EQ(depth, 1.0f);
    }
}

TEST_F(ProceduralRenderTest, LaterLayersDrawOverTheTunnel)
{
    perspective();
    addTexture("red.png", 1, 1, [](int, int) -> std::uint32_t { return 0xFF000080; });
    load("Tunnel {\n  Size 16 8\n  Length 1000\n  End 10\n}\n"
         "Image {\n  Image \"red.png\"\n  Rect 0 0 320 480\n  Layer 1\n  End 10\n}\n");
    frame(1.0f);
    EXPECT_PIXEL_NEAR(readPixel(10, 10), 255, 128, 128, kTolerance);
    EXPECT_PIXEL_NEAR(readPixel(630, 10), 255, 255, 255, kTolerance);
}

TEST_F(ProceduralRenderTest, BlocksSettleIntoThePicture)
{
    addTexture("tiles.png", 2, 2, [](int x, int y) -> std::uint32_t {
        static const std::uint32_t c[2][2] = {{0xFF0000FF, 0x00FF00FF}, {0x0000FFFF, 0xFFFF00FF}};
        return c[y][x];
    });
    load("Blocks {\n  Image \"tiles.png\"\n  Rect -256 -256 512 512\n  Rows 2\n  Cols 2\n"
         "  Position 0 0 -100\n  Distance 100\n  Start 1\n  End 100\n}\n");
    const int probes[4][2] = {{160, 360}, {480, 360}, {160, 120}, {480, 120}};
    const int colours[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
    auto assembled = [&] {
        for (int k = 0; k < 4; ++k) {
            const auto p = readPixel(probes[k][0], probes[k][1]);
            if (std::abs(p.r - colours[k][0]) > kTolerance || std::abs(p.g - colours[k][1]) > kTolerance ||
                std::abs(p.b - colours[k][2]) > kTolerance)
                return false;
        }
        return true;
    };
    frame(1.0f);
    EXPECT_FALSE(assembled());  // scattered and turned at first
    for (float t = 1.1f; t < 4.5f; t += 0.1f)
        frame(t);
    EXPECT_TRUE(assembled());
}

TEST_F(ProceduralRenderTest, WaveLinesFlaresFaceTheCurrentCamera)
{
    CameraManager cameras;
    load("WaveLines {\n  Start 1\n  End 10\n  Color 0 1 0 1\n  FlareColor 1 0 0 1\n}\n");
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-16, 16, -12, 12, -20, 20);
    glMatrixMode(GL_MODELVIEW);
    frame(1.0f);
    auto* waves = first<WaveLinesEffect>();
    ASSERT_NE(waves, nullptr);
    EXPECT_FLOAT_EQ(waves->right.x, 1.0f);
    EXPECT_FLOAT_EQ(waves->up.y, 1.0f);
    // The +x chain's far flares are red over black; its line green.
    EXPECT_PIXEL_NEAR(readPixel(320 + 11 * 20, 240), 255, 0, 0, kTolerance);

    // With a current camera the chains are drawn through its view, and the flares face it:
    // looking along +x, the view's right axis is world +z.
    auto* camera = new Camera;
    camera->name = "view";
    camera->setPositionAndTarget({-30.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f});
    ASSERT_TRUE(cameras.add(camera));
    cameras.setViewport(640, 480);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-16, 16, -12, 12, -20, 20);
    glMatrixMode(GL_MODELVIEW);
    frame(1.0f);
    EXPECT_NEAR(waves->right.x, 0.0f, 1e-5f);
    EXPECT_NEAR(waves->right.z, 1.0f, 1e-5f);
    EXPECT_NEAR(waves->up.y, 1.0f, 1e-5f);
    // The +z chain runs to the right of the screen's centre; the test's matrices are back after.
    const auto lit = [](testgl::Rgba p) { return p.r + p.g + p.b > 60; };
    int right = 0;
    for (int x = 330; x < 630; x += 2)
        right += lit(readPixel(x, 240));
    EXPECT_GT(right, 0);
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_FLOAT_EQ(projection[0], 2.0f / 32.0f);
}

TEST_F(ProceduralRenderTest, StreamShowsTheCurrentFrameUprightAndStepsOneFrameAtATime)
{
    const std::string path = testfiles::corpus("avi/testsrc_160x120_25fps_mjpeg.avi");
    load("Stream {\n  Stream \"" + path + "\"\n  Rect 0 0 256 256\n  Start 1\n  End 100\n}\n");
    auto compare = [&](int index) {
        const auto reference = testvideo::referenceFrame(path, index, 256, 256);
        EXPECT_FALSE(reference.empty());
        const auto shown = testgl::readPixels(640, 480);
        std::vector<std::uint8_t> upright, flipped;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                for (int c : {2, 1, 0}) {
                    upright.push_back(shown[(std::size_t(y) * 640 + x) * 4 + c]);
                    flipped.push_back(shown[(std::size_t(255 - y) * 640 + x) * 4 + c]);
                }
        const double same = testvideo::meanDifference(upright.data(), reference.data(), upright.size());
        EXPECT_LT(same, 2.0) << "frame " << index;
        EXPECT_GT(testvideo::meanDifference(flipped.data(), reference.data(), flipped.size()), same + 10.0);
    };
    frame(1.0f);
    auto* stream = first<StreamEffect>();
    ASSERT_NE(stream, nullptr);
    ASSERT_TRUE(stream->video);
    EXPECT_EQ(stream->video->currentFrame, 0);
    compare(0);
    // 0.1 s would be 2.4 frames at 24 per second: one is taken and the rest carried over.
    frame(1.1f);
    EXPECT_EQ(stream->video->currentFrame, 1);
    EXPECT_NEAR(stream->video->accumulator, (0.1 + 0.001) * 0.96 - 0.04, 1e-5);
    compare(1);
    frame(1.1f);
    EXPECT_EQ(stream->video->currentFrame, 2);
    frame(1.1f);
    EXPECT_EQ(stream->video->currentFrame, 2);
    // Leaving the timeline closes the video.
    VideoTexture* video = stream->video.get();
    stream->release();
    EXPECT_FALSE(video->isOpen());
}

TEST_F(ProceduralRenderTest, StreamEnteredLateShowsTheFrameItWouldHaveReached)
{
    const std::string path = testfiles::corpus("avi/testsrc_160x120_25fps_mjpeg.avi");
    load("Stream {\n  Stream \"" + path + "\"\n  Rect 0 0 256 256\n  Start 0.5\n  End 100\n}\n");
    // 2 s (and the first step's thousandth) at 24 frames per second: frame 48.
    frame(2.5f);
    auto* stream = first<StreamEffect>();
    ASSERT_NE(stream, nullptr);
    ASSERT_TRUE(stream->video);
    EXPECT_EQ(stream->video->currentFrame, 48);
    const auto reference = testvideo::referenceFrame(path, 48, 256, 256);
    ASSERT_FALSE(reference.empty());
    const auto shown = testgl::readPixels(640, 480);
    std::vector<std::uint8_t> picture;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            for (int c : {2, 1, 0})
                picture.push_back(shown[(std::size_t(y) * 640 + x) * 4 + c]);
    EXPECT_LT(testvideo::meanDifference(picture.data(), reference.data(), picture.size()), 2.0);
    // From here it plays on at the show's pace, one frame at a time.
    frame(2.5f + 1.0f / 24.0f);
    EXPECT_EQ(stream->video->currentFrame, 49);
}

TEST_F(ProceduralRenderTest, StreamBlocksWhoseVideoDoesNotOpenStopTheLoader)
{
    std::istringstream script("Flash {\n}\nStream {\n  TexRect 0 0 1 1\n  Stream \"nowhere.avi\"\n}\n"
                              "Flash {\n}\n");
    EXPECT_FALSE(loader.load(script, "stream.effect"));
    EXPECT_EQ(timeline.pending().size(), 1u);
    std::istringstream upright("Stream {\n  TexRect 0.25 0.5 0.75 1\n  Rect 1 2 3 4\n}\n");
    EXPECT_TRUE(loader.load(upright, "stream.effect"));
    auto* stream = dynamic_cast<StreamEffect*>(std::next(timeline.pending().begin())->get());
    ASSERT_NE(stream, nullptr);
    EXPECT_FLOAT_EQ(stream->s0, 0.25f);
    EXPECT_FLOAT_EQ(stream->t1, 0.5f);  // the second number is the bottom edge
    EXPECT_FLOAT_EQ(stream->s1, 0.75f);
    EXPECT_FLOAT_EQ(stream->t0, 1.0f);
    EXPECT_FLOAT_EQ(stream->x, 1.0f);
    EXPECT_FLOAT_EQ(stream->height, 4.0f);
    EXPECT_FALSE(stream->video);
}

} // namespace
