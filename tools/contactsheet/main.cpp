// oculith-contact-sheet: renders the show headless at chosen times in one run and lays the
// frames out in a labelled grid, one picture to look the whole show over at a glance.
#include "Artwork.h"
#include "Canvas.h"
#include "ImageFiles.h"
#include "TypeSetter.h"
#include "texture/PngReader.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Moments that show every part of the show: the opening title over the introduction, the
// flock and the head morph, the bars on the cut into the water, the water with its drops and
// distortion passage, the interlude (its cue, the eye under the emblem, the tunnel and its
// caption), the tunnel, the cellar's monitor, the geometric world, the wipe into the panorama
// and its embers, the bars into the metaballs, the eye creature, the title's tiles over the
// closing text, the credits and the end.
const std::vector<double> kDefaultTimes = {3.0,   15.0,  35.0,  43.9,  70.0,  90.0,  120.0, 128.6,
                                           130.8, 133.8, 140.0, 160.0, 180.0, 200.0, 215.0, 225.0,
                                           229.2, 245.0, 255.0, 262.0, 275.0, 285.0, 297.0, 305.0,
                                           320.0, 340.0, 356.4, 357.6};

constexpr int kThumbW = 320, kThumbH = 240, kColumns = 4, kMargin = 24, kLabelH = 26, kHeaderH = 56;

int usage(const char* message)
{
    if (message)
        std::fprintf(stderr, "oculith-contact-sheet: %s\n", message);
    std::fprintf(stderr,
                 "usage: oculith-contact-sheet --oculith PROGRAM --out SHEET.png [--data DIR] [SECONDS...]\n");
    return 2;
}

// Runs the program with `args`; its exit status (127 when it could not be started).
int run(const std::string& program, const std::vector<std::string>& args)
{
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) < 0)
        return 127;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string label(double seconds)
{
    char text[32];
    const int minutes = int(seconds / 60.0);
    std::snprintf(text, sizeof text, "%d:%06.3f  (%.3f s)", minutes, seconds - minutes * 60.0, seconds);
    return text;
}

// A frame shrunk by whole-pixel box averaging to the thumbnail size, drawn at (x, y).
void placeFrame(Canvas& sheet, const DecodedImage& frame, int x, int y)
{
    const int fx = std::max(1, frame.width / kThumbW), fy = std::max(1, frame.height / kThumbH);
    for (int ty = 0; ty < kThumbH; ++ty) {
        for (int tx = 0; tx < kThumbW; ++tx) {
            float sum[3] = {0, 0, 0};
            int n = 0;
            for (int sy = ty * fy; sy < (ty + 1) * fy && sy < frame.height; ++sy) {
                const std::uint8_t* row = frame.row(sy);
                for (int sx = tx * fx; sx < (tx + 1) * fx && sx < frame.width; ++sx, ++n)
                    for (int c = 0; c < 3; ++c)
                        sum[c] += float(row[sx * frame.channels + c]);
            }
            float* p = sheet.pixel(x + tx, y + ty);
            for (int c = 0; c < 3; ++c)
                p[c] = n ? sum[c] / (255.0f * float(n)) : 0.0f;
            p[3] = 1.0f;
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::string program, out, data;
    std::vector<double> times;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--oculith" || arg == "--out" || arg == "--data") && i + 1 < argc) {
            (arg == "--oculith" ? program : arg == "--out" ? out : data) = argv[++i];
        } else {
            char* end = nullptr;
            const double t = std::strtod(arg.c_str(), &end);
            if (end == arg.c_str() || *end != '\0' || t < 0)
                return usage(("not a time: " + arg).c_str());
            times.push_back(t);
        }
    }
    if (program.empty() || out.empty())
        return usage(nullptr);
    if (times.empty())
        times = kDefaultTimes;

    const fs::path work = fs::temp_directory_path() / ("oculith-contact-" + std::to_string(getpid()));
    fs::create_directories(work);
    std::vector<std::string> args = {"--headless"};
    if (!data.empty())
        args.insert(args.end(), {"--data", data});
    for (std::size_t i = 0; i < times.size(); ++i)
        args.insert(args.end(), {"--shot", std::to_string(times[i]) + ":" + (work / ("f" + std::to_string(i) + ".png")).string()});
    std::printf("rendering %zu frames with %s\n", times.size(), program.c_str());
    if (const int status = run(program, args); status != 0) {
        std::fprintf(stderr, "oculith-contact-sheet: %s ended with status %d\n", program.c_str(), status);
        return 1;
    }

    using namespace artwork::palette;
    const int rows = int((times.size() + kColumns - 1) / kColumns);
    const int width = kMargin + kColumns * (kThumbW + kMargin);
    const int height = kHeaderH + rows * (kThumbH + kLabelH + kMargin / 2) + kMargin;
    Canvas sheet(width, height);
    sheet.fillVertical({{0.0f, kDeep}, {1.0f, kNight}});
    const TypeSetter heading(fonts::kSerif, 24), small(fonts::kMonoBold, 13);
    if (!heading.ok() || !small.ok()) {
        std::fprintf(stderr, "oculith-contact-sheet: %s\n", (heading.ok() ? small : heading).error().c_str());
        return 1;
    }
    sheet.stamp(heading.setLine("OCULITH", 8.0f), kMargin, 16, kPaper, 1.0f);
    sheet.stamp(small.setLine("contact sheet: headless frames at 640 x 480, times in show seconds"), kMargin + 190,
                24, kGold, 0.9f);
    for (std::size_t i = 0; i < times.size(); ++i) {
        const int x = kMargin + int(i % kColumns) * (kThumbW + kMargin);
        const int y = kHeaderH + int(i / kColumns) * (kThumbH + kLabelH + kMargin / 2);
        DecodedImage frame;
        std::vector<std::uint8_t> bytes;
        const std::string file = (work / ("f" + std::to_string(i) + ".png")).string();
        if (!readWholeFile(file, bytes) || !decodePng(bytes.data(), bytes.size(), frame)) {
            std::fprintf(stderr, "oculith-contact-sheet: no frame for %.3f s\n", times[i]);
            return 1;
        }
        placeFrame(sheet, frame, x, y);
        sheet.paint(x - 1, y - 1, x + kThumbW + 1, y + kThumbH + 1, kGold, 0.35f, [&](float px, float py) {
            return (px < x || px > x + kThumbW || py < y || py > y + kThumbH) ? 1.0f : 0.0f;
        });
        sheet.stamp(small.setLine(label(times[i])), x, y + kThumbH + 4, kPaper, 0.9f);
    }
    fs::remove_all(work);
    std::string error;
    if (!imagefiles::writePng(out, width, height, sheet.rgba8(), error)) {
        std::fprintf(stderr, "oculith-contact-sheet: %s\n", error.c_str());
        return 1;
    }
    std::printf("wrote %s (%d x %d, %ju bytes)\n", out.c_str(), width, height, imagefiles::fileSize(out));
    return 0;
}
