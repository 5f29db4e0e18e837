// A video file of arbitrary bytes opened as the Stream effect opens it, and its first frames
// decoded into a 256 x 256 picture, one sought out of order.
#include "platform/VideoDecoder.h"

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/tmp/fuzz_video_" + std::to_string(getpid()) + ".avi";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    platform::VideoDecoder decoder;
    if (decoder.open(path, 256, 256)) {
        std::vector<std::uint8_t> picture(256 * 256 * 3);
        const int frames[] = {0, 1, 2, 0};
        for (int index : frames)
            decoder.decodeFrame(index, picture.data());
    }
    return 0;
}
