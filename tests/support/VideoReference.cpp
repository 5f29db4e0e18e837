#include "VideoReference.h"

#include <cstdio>
#include <cstdlib>

namespace testvideo {

std::vector<std::uint8_t> referenceFrame(const std::string& path, int index, int width, int height)
{
    const std::string command = "ffmpeg -nostdin -v error -i '" + path + "' -vf 'select=eq(n\\," +
                                std::to_string(index) + "),scale=" + std::to_string(width) + ":" +
                                std::to_string(height) +
                                ":flags=bilinear,vflip' -frames:v 1 -pix_fmt bgr24 -f rawvideo -";
    std::vector<std::uint8_t> bytes(std::size_t(width) * std::size_t(height) * 3);
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return {};
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), pipe);
    const int status = pclose(pipe);
    if (got != bytes.size() || status != 0)
        return {};
    return bytes;
}

double meanDifference(const std::uint8_t* a, const std::uint8_t* b, std::size_t size)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < size; ++i)
        sum += std::abs(int(a[i]) - int(b[i]));
    return size ? sum / double(size) : 0.0;
}

} // namespace testvideo
