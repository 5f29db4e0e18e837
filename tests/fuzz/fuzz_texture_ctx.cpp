// "CTX " containers of arbitrary bytes (read plain through the gzip layer, and gzip-wrapped),
// through all three texture kinds.
#include "texture/CtxReader.h"

#include <zlib.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// One scratch folder per process for the two files each input is written to.
std::string scratchDir()
{
    static const std::string dir = [] {
        char name[] = "/tmp/fuzz-ctx-XXXXXX";
        const char* made = mkdtemp(name);
        return std::string(made ? made : "/tmp");
    }();
    return dir;
}

void readAll(const std::string& path)
{
    CtxReader reader;
    reader.read1D(path, kPixelRGB);
    reader.read2D(path, kPixelRGB);
    reader.read3D(path, kPixelRGB);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string plain = scratchDir() + "/plain.ctx";
    static const std::string packed = scratchDir() + "/packed.ctx";
    if (std::FILE* f = std::fopen(plain.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
        readAll(plain);
    }
    if (gzFile gz = gzopen(packed.c_str(), "wb1")) {
        if (size > 0)
            gzwrite(gz, data, unsigned(size));
        gzclose(gz);
        readAll(packed);
    }
    return 0;
}
