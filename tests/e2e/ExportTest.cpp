// --export end to end on the build's show: the video's streams, pictures and sound checked with
// Debian's ffprobe and ffmpeg, PNG frames against shots, wide pictures with bars, failures that
// leave nothing behind and Ctrl-C that keeps what was drawn.
#include "ProgramRun.h"
#include "TestFiles.h"
#include "texture/DecodedImage.h"
#include "texture/PngReader.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

const std::string kBuildShow = OCULITH_BINARY_DIR;
const std::string kMusic = kBuildShow + "/data/snd/oculith - edit 2 (64k).mp3";

// A program on PATH ("" when missing).
std::string tool(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "/usr/bin");
    for (std::string dir; std::getline(dirs, dir, ':');)
        if (!dir.empty() && access((dir + "/" + name).c_str(), X_OK) == 0)
            return dir + "/" + name;
    return "";
}

// One value of `ffprobe -show_entries`, e.g. probe(file, "v:0", "stream=nb_frames").
std::string probe(const std::string& file, const std::string& streams, const std::string& entry)
{
    std::vector<std::string> args = {"-v", "error", "-show_entries", entry, "-of", "default=nw=1:nk=1"};
    if (!streams.empty())
        args.insert(args.end(), {"-select_streams", streams});
    args.push_back(file);
    const ProgramResult r = runProgram(tool("ffprobe"), args);
    std::string value = r.out.substr(0, r.out.find('\n'));
    return value;
}

// Integrated loudness (LUFS) of the first audio stream of what ffmpeg reads with `input`.
double loudness(const std::vector<std::string>& input)
{
    std::vector<std::string> args = {"-hide_banner", "-nostats"};
    args.insert(args.end(), input.begin(), input.end());
    args.insert(args.end(), {"-map", "0:a:0", "-af", "ebur128", "-f", "null", "-"});
    const ProgramResult r = runProgram(tool("ffmpeg"), args);
    const size_t summary = r.err.rfind("Integrated loudness:");
    const size_t at = summary == std::string::npos ? summary : r.err.find("I:", summary);
    EXPECT_NE(at, std::string::npos) << r.err;
    return at == std::string::npos ? 0.0 : std::atof(r.err.c_str() + at + 2);
}

DecodedImage readPicture(const std::string& path)
{
    DecodedImage image;
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(readWholeFile(path, bytes) && decodePng(bytes.data(), bytes.size(), image)) << path;
    return image;
}

// Peak signal to noise ratio over R, G and B of two pictures of one size (dB; 99 when equal).
double psnr(const DecodedImage& a, const DecodedImage& b)
{
    EXPECT_EQ(a.width, b.width);
    EXPECT_EQ(a.height, b.height);
    if (a.width != b.width || a.height != b.height || a.samples.empty())
        return 0.0;
    double squares = 0.0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            for (int c = 0; c < 3; ++c) {
                const double d = double(a.row(y)[x * a.channels + c]) - b.row(y)[x * b.channels + c];
                squares += d * d;
            }
    const double mse = squares / (double(a.width) * a.height * 3);
    return mse == 0.0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

double meanBrightness(const DecodedImage& image, int x0, int x1)
{
    double sum = 0.0;
    for (int y = 0; y < image.height; ++y)
        for (int x = x0; x < x1; ++x)
            for (int c = 0; c < 3; ++c)
                sum += image.row(y)[x * image.channels + c];
    return sum / (double(x1 - x0) * image.height * 3);
}

class Export : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fs::exists(kMusic)) << "the build generates the show's data";
        ASSERT_FALSE(tool("ffprobe").empty() || tool("ffmpeg").empty())
            << "the export tests need ffprobe and ffmpeg (Debian's ffmpeg package)";
        dir = testfiles::tempDir("export");
    }
    std::string dir;
};

} // namespace

// Three seconds from the interlude: H.264 and AAC that start and end together, the picture of
// the shot at the same time, the music's loudness over the same range.
TEST_F(Export, VideoHoldsTheFramesAndTheMusicOfItsRange)
{
    const std::string video = dir + "/show.mp4";
    const ProgramResult run = runOculith({"--data", kBuildShow, "--export", video, "--start", "130",
                                          "--until", "133"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err.find("ERROR"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("export: frame 180/180"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("180 frames, 3.000 s"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(video + ".part"));

    EXPECT_EQ(probe(video, "v:0", "stream=codec_name"), "h264");
    EXPECT_EQ(probe(video, "v:0", "stream=pix_fmt"), "yuv420p");
    EXPECT_EQ(probe(video, "v:0", "stream=width"), "640");
    EXPECT_EQ(probe(video, "v:0", "stream=height"), "480");
    EXPECT_EQ(probe(video, "a:0", "stream=codec_name"), "aac");
    EXPECT_EQ(probe(video, "v:0", "stream=nb_frames"), "180");
    const double frame = 1.0 / 60.0;
    EXPECT_NEAR(std::atof(probe(video, "", "format=duration").c_str()), 3.0, frame);
    EXPECT_NEAR(std::atof(probe(video, "v:0", "stream=duration").c_str()), 3.0, frame);
    EXPECT_NEAR(std::atof(probe(video, "a:0", "stream=duration").c_str()), 3.0, frame);
    EXPECT_NEAR(std::atof(probe(video, "a:0", "stream=start_time").c_str()),
                std::atof(probe(video, "v:0", "stream=start_time").c_str()), frame);
    // The index comes before the pictures, so the file plays while it downloads.
    const std::string bytes = testfiles::readFile(video);
    ASSERT_NE(bytes.find("moov"), std::string::npos);
    EXPECT_LT(bytes.find("moov"), bytes.find("mdat"));

    // The picture one second in is the show at 131 s. The interlude moves all the time, so the
    // frame before it already differs clearly: the video's frame 60 must match the shot far
    // better than frame 59 does.
    const std::string shot = dir + "/shot.png";
    ASSERT_EQ(runOculith({"--data", kBuildShow, "--headless", "--start", "130", "--shot", "131:" + shot}).exitCode, 0);
    const auto frameOfVideo = [&](int n) {
        const std::string decoded = dir + "/decoded" + std::to_string(n) + ".png";
        const ProgramResult extract = runProgram(
            tool("ffmpeg"), {"-v", "error", "-i", video, "-vf", "select=eq(n\\," + std::to_string(n) + ")",
                             "-frames:v", "1", "-y", decoded});
        EXPECT_EQ(extract.exitCode, 0) << extract.err;
        return readPicture(decoded);
    };
    const DecodedImage fromShot = readPicture(shot), fromVideo = frameOfVideo(60), before = frameOfVideo(59);
    EXPECT_GT(meanBrightness(fromShot, 0, fromShot.width), 10.0); // not two black pictures
    const double same = psnr(fromShot, fromVideo);
    EXPECT_GT(same, 30.0);
    EXPECT_GT(same, psnr(fromShot, before) + 3.0);

    // The sound is the music from 130 s to 133 s.
    EXPECT_NEAR(loudness({"-i", video}), loudness({"-ss", "130", "-t", "3", "-i", kMusic}), 1.0);
}

TEST_F(Export, PngFramesEqualShotsOfTheSameTimes)
{
    const std::string pattern = dir + "/frames/f%03d.png";
    fs::create_directories(dir + "/frames");
    const ProgramResult run = runOculith({"--data", kBuildShow, "--export", pattern, "--start", "131",
                                          "--until", "131.1", "--fps", "30", "--mute"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir + "/frames"))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"f000.png", "f001.png", "f002.png"}));

    // Frame 2 shows 131 + 2/30 s: a shot asked for just before that time takes the same frame.
    const std::string shot = dir + "/shot.png";
    ASSERT_EQ(runOculith({"--data", kBuildShow, "--headless", "--start", "131", "--fps", "30", "--shot",
                          "131.066:" + shot}).exitCode, 0);
    EXPECT_GT(psnr(readPicture(dir + "/frames/f002.png"), readPicture(shot)), 50.0);
}

TEST_F(Export, WidePicturesKeepTheShowInACentredFourByThreeViewport)
{
    const std::string wide = dir + "/wide.png", narrow = dir + "/narrow.png";
    ASSERT_EQ(runOculith({"--data", kBuildShow, "--headless", "--windowed", "1280x720", "--start", "131",
                          "--shot", "131:" + wide}).exitCode, 0);
    ASSERT_EQ(runOculith({"--data", kBuildShow, "--headless", "--start", "131", "--shot", "131:" + narrow}).exitCode, 0);
    const DecodedImage w = readPicture(wide), n = readPicture(narrow);
    ASSERT_EQ(w.width, 1280);
    ASSERT_EQ(w.height, 720);
    // Black bars of 160 pixels either side, the picture between them.
    EXPECT_EQ(meanBrightness(w, 0, 160), 0.0);
    EXPECT_EQ(meanBrightness(w, 1120, 1280), 0.0);
    EXPECT_GT(meanBrightness(w, 160, 162), 5.0);
    EXPECT_GT(meanBrightness(w, 1118, 1120), 5.0);
    // Between the bars, the 640 x 480 layout at 1.5 times its size.
    DecodedImage sampled = n;
    for (int y = 0; y < n.height; ++y)
        for (int x = 0; x < n.width; ++x)
            for (int c = 0; c < 3; ++c)
                sampled.samples[(size_t(y) * n.width + x) * n.channels + c] =
                    w.row(y * 3 / 2 + 1)[(160 + x * 3 / 2 + 1) * w.channels + c];
    EXPECT_GT(psnr(sampled, n), 20.0);
}

TEST_F(Export, UnwritableTargetsFailAndLeaveNothing)
{
    testfiles::writeFile(dir + "/plain", "a file, not a folder\n");
    for (const std::string& target : {dir + "/missing/show.mp4", dir + "/plain/show.mkv", dir + "/missing/f%04d.png"}) {
        const ProgramResult run = runOculith({"--data", kBuildShow, "--export", target, "--until", "0.5"});
        EXPECT_EQ(run.exitCode, 1) << target;
        EXPECT_NE(run.err.find("export failed"), std::string::npos) << run.err;
    }
    std::vector<std::string> left;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        left.push_back(entry.path().string());
    EXPECT_EQ(left, std::vector<std::string>{dir + "/plain"});
}

// Ctrl-C while exporting ends the run normally with a complete file of what was drawn, its
// sound as long as its pictures.
TEST_F(Export, InterruptFinishesAPlayableFile)
{
    const std::string video = dir + "/cut.mp4";
    const std::string program = OCULITH_EXECUTABLE;
    const std::vector<std::string> args = {program, "--data", kBuildShow, "--export", video,
                                           "--start", "130", "--until", "190"};
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        std::freopen("/dev/null", "w", stderr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    // Wait until pictures reach the file, then interrupt.
    std::error_code ec;
    for (int i = 0; i < 1200 && !(fs::exists(video + ".part", ec) && fs::file_size(video + ".part", ec) > 20000); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "the program was killed by the interrupt";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(fs::exists(video + ".part"));
    const int frames = std::atoi(probe(video, "v:0", "stream=nb_frames").c_str());
    EXPECT_GT(frames, 0);
    EXPECT_LT(frames, 3600);
    EXPECT_NEAR(std::atof(probe(video, "a:0", "stream=duration").c_str()), frames / 60.0, 1.0 / 60.0);
}
