#include "VideoTool.h"

#include "ProgramRun.h"

#include <cstdlib>
#include <sstream>

namespace {

const char* const kProbe = "/usr/bin/ffprobe";
const char* const kDecoder = "/usr/bin/ffmpeg";

} // namespace

bool probeVideo(const std::string& path, ProbedVideo& video, std::string& error)
{
    const ProgramResult run = runProgram(kProbe, {"-v", "error", "-select_streams", "v:0", "-count_frames",
                                                  "-show_entries",
                                                  "stream=codec_name,width,height,r_frame_rate,nb_read_frames",
                                                  "-of", "default=noprint_wrappers=1", path});
    if (run.exitCode != 0) {
        error = std::string(kProbe) + " failed (" + std::to_string(run.exitCode) + "): " + run.err;
        return false;
    }
    video = {};
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "codec_name")
            video.codec = value;
        else if (key == "r_frame_rate")
            video.frameRate = value;
        else if (key == "width")
            video.width = std::atoi(value.c_str());
        else if (key == "height")
            video.height = std::atoi(value.c_str());
        else if (key == "nb_read_frames")
            video.frames = std::atoi(value.c_str());
    }
    if (video.codec.empty()) {
        error = "no video stream in " + path;
        return false;
    }
    return true;
}

bool decodeVideo(const std::string& path, int width, int height,
                 std::vector<std::vector<std::uint8_t>>& frames, std::string& error)
{
    const ProgramResult run =
        runProgram(kDecoder, {"-v", "error", "-i", path, "-f", "rawvideo", "-pix_fmt", "rgb24", "-"});
    if (run.exitCode != 0) {
        error = std::string(kDecoder) + " failed (" + std::to_string(run.exitCode) + "): " + run.err;
        return false;
    }
    const std::size_t frameBytes = std::size_t(width) * std::size_t(height) * 3;
    if (frameBytes == 0 || run.out.size() % frameBytes != 0) {
        error = "decoded " + std::to_string(run.out.size()) + " bytes, not whole frames of " +
                std::to_string(width) + " x " + std::to_string(height);
        return false;
    }
    frames.clear();
    for (std::size_t at = 0; at < run.out.size(); at += frameBytes)
        frames.emplace_back(run.out.begin() + std::ptrdiff_t(at), run.out.begin() + std::ptrdiff_t(at + frameBytes));
    return true;
}

double meanDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b)
{
    if (a.size() != b.size() || a.empty())
        return 255.0;
    double sum = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += std::abs(int(a[i]) - int(b[i]));
    return sum / double(a.size());
}
