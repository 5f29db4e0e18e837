// The framework's loop in-process: headless frames on the fixed-step clock, GL errors drained
// into the log after every frame, close requests honoured before the next frame.
#include "app/Application.h"
#include "core/GL.h"
#include "core/Log.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class ProbeApplication : public Application {
public:
    int frames = 0;
    std::vector<double> times;
    bool shutDown = false;

protected:
    bool init() override { return true; }
    bool shutdown() override
    {
        shutDown = true;
        return true;
    }
    void update(float) override
    {
        times.push_back(showTime);
        if (++frames == 3)
            requestClose();
    }
    void render() override
    {
        // One error a frame: drivers may keep only the first error until it is read.
        if (frames == 2)
            glEnable(0x7FFF); // not a capability: GL_INVALID_ENUM
        if (frames == 3) {
            glMatrixMode(GL_TEXTURE);
            glPopMatrix(); // the texture stack holds one matrix: GL_STACK_UNDERFLOW
            glMatrixMode(GL_MODELVIEW);
        }
    }
    void resize(int, int) override {}
};

} // namespace

TEST(MainLoop, FixedStepFramesAndGLErrorsInTheLog)
{
    const auto previous = std::filesystem::current_path();
    const std::string dir = testfiles::tempDir("loop");
    std::filesystem::current_path(dir);
    int status = -1;
    ProbeApplication app;
    {
        Log log;
        RunOptions options;
        options.headless = true;
        options.fps = 4;
        app.windowSettings().width = 64;
        app.windowSettings().height = 48;
        status = app.run(options);
    }
    std::filesystem::current_path(previous);

    EXPECT_EQ(status, 0);
    EXPECT_TRUE(app.shutDown);
    // The third frame asked to close and was still drawn; no fourth frame ran.
    ASSERT_EQ(app.times.size(), 3u);
    EXPECT_DOUBLE_EQ(app.times[0], 0.0);
    EXPECT_DOUBLE_EQ(app.times[1], 0.25);
    EXPECT_DOUBLE_EQ(app.times[2], 0.5);

    const std::string log = testfiles::readFile(dir + "/application.log");
    EXPECT_NE(log.find("\nGL_INVALID_ENUM - An unacceptable value is specified for an enumerated argument."),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("\nGL_STACK_UNDERFLOW - This function would cause a stack underflow."),
              std::string::npos);
    EXPECT_NE(log.find("Frames: 3,"), std::string::npos);
}
