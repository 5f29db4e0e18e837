// A watched headless show receives a stream of edits while it plays: half of them valid, half
// broken, written in one go, truncated and then written in pieces, or renamed over the old file,
// as editors save. Afterwards the program is still running, the picture equals a fresh start's at
// the time of the last reload, and the managers' counts and the process's memory are back to
// their level after the first load.
//
// 50 edits by default; OCULITH_SOAK_EDITS=1000 runs the long soak, and OCULITH_SOAK_PROGRAM runs
// another build of the program (a sanitizer build, say) through it.
#include "geometry/Mesh.h"
#include "geometry/MeshFile.h"
#include "texture/PngReader.h"
#include "ProgramRun.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const char* const kShader =
    "Image {\n\tType 2D\n\tFormat RGBA\n\tName \"sprite.png\"\n\tAlias \"sprite\"\n"
    "\tState {\n\t\tFilter LINEAR\n\t\tMipmap LINEAR\n\t}\n}\n"
    "Shader {\n\tName \"glow\"\n\tBlend {\n\t\tEnable yes\n\t\tSrc SRC_ALPHA\n\t\tDst ONE\n\t}\n"
    "\tTexture {\n\t\tImage \"sprite\"\n\t\tTexUnit UNIT0\n\t}\n}\n";

// The valid timelines: a rising flash of some colour, a picture, a mesh; the second adds sparks.
std::string timeline(int variant)
{
    static const char* const kColours[] = {"0.9 0.3 0.1 1", "0.1 0.8 0.4 1", "0.3 0.3 0.9 1"};
    std::string text = std::string("Flash {\n\tName \"wash\"\n\tStart 0\n\tEnd 1000\n\tLayer 0\n\tColor ") +
                       kColours[variant % 3] +
                       "\n\tKeyframer {\n\t\tScale {\n\t\t\tNumKeys 2\n\t\t\tKey 0 0.2\n\t\t\tKey 1000 1\n"
                       "\t\t}\n\t}\n}\n"
                       "Image {\n\tName \"card\"\n\tStart 0\n\tEnd 1000\n\tLayer 150\n\tImage \"sprite\"\n"
                       "\tRect 100 100 200 200\n}\n"
                       "Mesh {\n\tName \"shape\"\n\tStart 0\n\tEnd 1000\n\tLayer 120\n\tMesh \"tri.msh\"\n}\n";
    if (variant % 3 == 1)
        text += "Particle {\n\tName \"sparks\"\n\tStart 0\n\tEnd 1000\n\tLayer 130\n\tParticleSystem {\n"
                "\t\tMax 60\n\t\tSpawnRate 30\n\t\tGenerator {\n\t\t\tType \"Sphere\"\n\t\t\tFlags Respawn\n"
                "\t\t\tLifespan 1\n\t\t\tParticleSize 0.4\n\t\t\tRadius 1\n\t\t\tSpeed 2\n\t\t}\n"
                "\t\tRenderer {\n\t\t\tType \"Quads\"\n\t\t\tShader \"glow\"\n\t\t}\n\t}\n}\n";
    return text;
}

// Broken versions of either script.
std::string brokenTimeline(int variant)
{
    switch (variant % 3) {
    case 0: return "Flash {\n\tName \"wash\"\n\tStart 0\n\tSparkle 4\n\tEnd 1000\n}\n";
    case 1: return timeline(0) + "Scene {\n\tScene \"data\\\\scr\\\\nowhere.scene\"\n}\n";
    default: return "Camera {\n\tFov {\n\t\tBogus\n\t}\n}\n" + timeline(2);
    }
}
std::string brokenShader() { return std::string(kShader) + "Shader {\n\tName \"x\"\n\tShininess 4\n}\n"; }

// The three ways editors save.
void saveWhole(const std::string& path, const std::string& text) { testfiles::writeFile(path, text); }

void saveInPieces(const std::string& path, const std::string& text)
{
    const int fd = open(path.c_str(), O_WRONLY | O_TRUNC);
    ASSERT_GE(fd, 0) << path;
    const std::size_t piece = text.size() / 3 + 1;
    for (std::size_t at = 0; at < text.size(); at += piece) {
        std::this_thread::sleep_for(15ms);
        const std::size_t n = std::min(piece, text.size() - at);
        ASSERT_EQ(write(fd, text.data() + at, n), ssize_t(n));
    }
    close(fd);
}

void saveByRename(const std::string& path, const std::string& text)
{
    testfiles::writeFile(path + ".swp", text);
    fs::rename(path + ".swp", path);
}

long residentKiB(int pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

// Every "Show loaded: ..." line of the log, in order.
std::vector<std::string> loadedLines(const std::string& log)
{
    std::vector<std::string> lines;
    for (std::size_t at = log.find("Show loaded: "); at != std::string::npos; at = log.find("Show loaded: ", at + 1))
        lines.push_back(log.substr(at, log.find('\n', at) - at));
    return lines;
}

// Waits until the log holds more than `count` "Show loaded" lines.
bool waitForLoads(const std::string& logPath, std::size_t count, std::chrono::seconds limit)
{
    for (auto until = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < until;) {
        std::error_code ec;
        if (fs::exists(logPath, ec) && loadedLines(testfiles::readFile(logPath)).size() > count)
            return true;
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

bool running(int pid) { return fs::exists("/proc/" + std::to_string(pid)); }

DecodedImage readShot(const std::string& path)
{
    DecodedImage image;
    const std::string bytes = testfiles::readFile(path);
    EXPECT_TRUE(decodePng(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), image)) << path;
    return image;
}

} // namespace

TEST(ReloadSoak, EditsWhilePlayingLeaveNoTraceAfterTheLastGoodShow)
{
    const char* editsVariable = std::getenv("OCULITH_SOAK_EDITS");
    const int edits = editsVariable ? std::max(2, std::atoi(editsVariable)) : 50;
    const char* programVariable = std::getenv("OCULITH_SOAK_PROGRAM");
    const std::string program = programVariable ? programVariable : OCULITH_EXECUTABLE;

    const std::string show = testfiles::tempDir("soak");
    const std::string effect = show + "/data/scr/generic.effect", shader = show + "/data/scr/generic.shader";
    const std::string logPath = show + "/application.log";
    fs::create_directories(show + "/data/art");
    fs::create_directories(show + "/data/obj");
    fs::copy_file(testfiles::corpus("png/basn6a08.png"), show + "/data/art/sprite.png");
    Mesh triangle;
    triangle.allocate(3, 1);
    for (const Vector3& p : {Vector3{-1, -1, 0}, Vector3{1, -1, 0}, Vector3{0, 1, 0}})
        triangle.addVertex(MeshVertex{p, {0, 0, 1}, {255, 255, 255, 255}});
    MeshFace face;
    for (int i = 0; i < 3; ++i)
        face.indices[i] = i;
    triangle.addFace(face);
    ASSERT_TRUE(meshfile::write(show + "/data/obj/tri.msh", triangle));
    testfiles::writeFile(shader, kShader);
    testfiles::writeFile(effect, timeline(0));

    // The shot comes well after the last edit; the program ends after it.
    const double shotTime = 8.0 + 0.35 * edits;
    const std::string shot = show + "/final.png";
    char shotArg[64];
    std::snprintf(shotArg, sizeof shotArg, "%.3f:", shotTime);
    const RunningProgram run = startProgram(
        program, {"--headless", "--watch", "--data", show, "--until", std::to_string(shotTime + 1.0),
                  "--shot", shotArg + shot});
    ASSERT_TRUE(waitForLoads(logPath, 0, 60s)) << "the show never loaded";
    std::this_thread::sleep_for(1s);
    const long firstResident = residentKiB(run.pid);
    const std::string firstCounts = loadedLines(testfiles::readFile(logPath)).front();

    // Odd edits break the timeline or the shaders; the even edit after one mends the file it
    // broke (the timeline in a new variant), so the show is whole after every even edit.
    bool shaderBroken = false;
    for (int i = 0; i < edits && running(run.pid); ++i) {
        const bool valid = i % 2 == 0;
        const bool onShader = valid ? shaderBroken : i % 4 == 3;
        shaderBroken = onShader && !valid;
        const std::string& path = onShader ? shader : effect;
        const std::string text = onShader ? (valid ? std::string(kShader) : brokenShader())
                                          : (valid ? timeline(i / 2) : brokenTimeline(i / 2));
        switch (i % 3) {
        case 0: saveWhole(path, text); break;
        case 1: saveInPieces(path, text); break;
        default: saveByRename(path, text); break;
        }
        // Some edits follow each other faster than the watcher settles, most do not.
        std::this_thread::sleep_for(i % 5 == 4 ? 30ms : 180ms);
    }
    ASSERT_TRUE(running(run.pid)) << "the program ended during the edits\n"
                                  << finishProgram(run).err.substr(0, 4000);
    // Back to the first show, then let the last reload finish.
    const std::size_t loadsBefore = loadedLines(testfiles::readFile(logPath)).size();
    saveByRename(shader, kShader);
    saveByRename(effect, timeline(0));
    ASSERT_TRUE(waitForLoads(logPath, loadsBefore, 60s)) << "the last edit never reloaded";
    std::this_thread::sleep_for(1s);
    const long lastResident = residentKiB(run.pid);
    const std::string log = testfiles::readFile(logPath);
    const std::vector<std::string> loads = loadedLines(log);

    const ProgramResult result = finishProgram(run);
    ASSERT_EQ(result.exitCode, 0) << result.err.substr(0, 4000);
    EXPECT_EQ(result.err.find("ERROR: AddressSanitizer"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("runtime error:"), std::string::npos) << result.err;

    std::size_t failed = 0;
    for (std::size_t at = log.find("failed; the last good show"); at != std::string::npos;
         at = log.find("failed; the last good show", at + 1))
        ++failed;
    std::printf("soak: %d edits, %zu good and %zu failed reloads; resident %ld KiB after the first load, %ld KiB after the "
                "last; %s / %s\n",
                edits, loads.size() - 1, failed, firstResident, lastResident, firstCounts.c_str(), loads.back().c_str());
    EXPECT_EQ(loads.back(), firstCounts);
    // Allocator caches and the rasteriser's compiled state settle at some level; what a reload
    // leaked would grow with every edit.
    EXPECT_LT(lastResident - firstResident, 16 * 1024 + 16 * edits)
        << "resident memory grew from " << firstResident << " KiB to " << lastResident << " KiB";

    // The frame after the edits equals a fresh start's at the last reload's time.
    const auto at = log.rfind("Reloaded at ");
    ASSERT_NE(at, std::string::npos) << log;
    const std::string time = log.substr(at + 12, log.find(' ', at + 12) - at - 12);
    const std::string fresh = show + "/fresh.png";
    const ProgramResult f = runProgram(program, {"--headless", "--data", show, "--start", time, "--shot",
                                                 shotArg + fresh});
    ASSERT_EQ(f.exitCode, 0) << f.err;
    const DecodedImage a = readShot(shot), b = readShot(fresh);
    ASSERT_EQ(a.samples.size(), b.samples.size());
    EXPECT_TRUE(a.samples == b.samples) << "the watched show after the edits differs from a fresh start at " << time;
}
