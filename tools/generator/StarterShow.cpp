#include "StarterShow.h"

#include "Artwork.h"
#include "FontAtlas.h"
#include "ImageFiles.h"
#include "Meshes.h"
#include "Music.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace startershow {
namespace {

// Its own tune: the show's arrangement played with another seed, faded out over the last bars.
constexpr std::uint64_t kMusicSeed = 0x5717A87Eu;
constexpr double kFadeSeconds = 3.0;

bool writePicture(const std::string& outDir, const char* path, const Canvas& canvas, bool opaque, bool progress,
                  std::string& error)
{
    const std::string full = outDir + "/" + path;
    const bool ok = opaque ? imagefiles::writeJpeg(full, canvas.width(), canvas.height(), canvas.rgb8(), 90, error)
                           : imagefiles::writePng(full, canvas.width(), canvas.height(), canvas.rgba8(), error);
    if (ok && progress)
        std::printf("  %-26s %4d x %-4d %7ju bytes\n", path, canvas.width(), canvas.height(),
                    imagefiles::fileSize(full));
    return ok;
}

bool writePictures(const std::string& outDir, bool progress, std::string& error)
{
    Canvas title(512, 128);
    if (!artwork::drawStarterTitle(title, error) ||
        !writePicture(outDir, "data/art/first-light-title.png", title, false, progress, error))
        return false;
    Canvas card(512, 512);
    artwork::drawStarterCard(card);
    if (!writePicture(outDir, "data/art/valley-card.jpg", card, true, progress, error))
        return false;
    Canvas lining(256, 256);
    artwork::drawStarterLining(lining);
    if (!writePicture(outDir, "data/art/tunnel-lining.jpg", lining, true, progress, error))
        return false;
    Canvas spark(64, 64);
    artwork::drawGlow(spark);
    return writePicture(outDir, "data/art/spark.png", spark, false, progress, error);
}

bool writeMusic(const std::string& outDir, bool progress, std::string& error)
{
    music::RenderOptions options;
    options.seconds = kMusicSeconds;
    options.seed = kMusicSeed;
    music::RenderResult result = music::render(options);
    synth::Stereo& audio = result.audio;
    const std::size_t fade = std::min(audio.frames(), std::size_t(kFadeSeconds * synth::kRate));
    for (std::size_t i = 0; i < fade; ++i) {
        const std::size_t at = audio.frames() - fade + i;
        const float gain = 1.0f - float(i) / float(fade);
        audio.left[at] *= gain * gain;
        audio.right[at] *= gain * gain;
    }
    const std::vector<unsigned char> bytes = music::encodeMp3(audio, kMusicBitRate, false, error);
    if (bytes.empty()) {
        if (error.empty())
            error = "the MP3 encoder produced nothing";
        return false;
    }
    const std::string path = outDir + "/" + music::kMusicFile;
    if (!imagefiles::makeParent(path, error))
        return false;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    file.close();
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    if (progress)
        std::printf("  %s  %.1f s, %zu bytes\n", music::kMusicFile, kMusicSeconds, bytes.size());
    return true;
}

} // namespace

bool write(const std::string& outDir, bool progress, std::string& error)
{
    return writePictures(outDir, progress, error) && fontatlas::write(outDir, progress, error, "data/fnt/confont.png") &&
           meshes::writeAssets(meshes::starterAssets(), outDir, progress, error) && writeMusic(outDir, progress, error);
}

} // namespace startershow
