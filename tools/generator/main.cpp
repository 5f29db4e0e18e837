// oculith-generate: renders the show's binary assets (music, artwork, font, meshes, video, ...) into
// a data folder.
#include "AlienContent.h"
#include "AppIcon.h"
#include "Artwork.h"
#include "EyeClip.h"
#include "FontAtlas.h"
#include "Meshes.h"
#include "Music.h"
#include "SceneTextures.h"
#include "StarterShow.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// One entry per asset kind: its name for --only and the function that writes it under a folder.
struct AssetKind {
    const char* name;
    bool (*write)(const std::string& outDir, std::string& error);
    // False for a kind that is not the show's data: written only when --only names it.
    bool ofTheShow = true;
};

bool writeMusicAsset(const std::string& outDir, std::string& error)
{
    music::RenderOptions options;
    options.progress = true;
    return music::writeMusic(outDir, options, error);
}

bool writeArtAsset(const std::string& outDir, std::string& error)
{
    return artwork::write(outDir, true, error);
}

bool writeFontAsset(const std::string& outDir, std::string& error)
{
    return fontatlas::write(outDir, true, error);
}

bool writeMeshAsset(const std::string& outDir, std::string& error)
{
    return meshes::write(outDir, true, error);
}

bool writeSceneTextureAsset(const std::string& outDir, std::string& error)
{
    return scenetextures::write(outDir, true, error);
}

bool writeAlienAsset(const std::string& outDir, std::string& error)
{
    return aliencontent::write(outDir, true, error);
}

bool writeVideoAsset(const std::string& outDir, std::string& error)
{
    return eyeclip::write(outDir, true, error);
}

bool writeStarterShow(const std::string& outDir, std::string& error)
{
    return startershow::write(outDir, true, error);
}

bool writeIconAsset(const std::string& outDir, std::string& error)
{
    return appicon::write(outDir, true, error);
}

const AssetKind kAssetKinds[] = {
    {"music", writeMusicAsset},
    {"art", writeArtAsset},
    {"font", writeFontAsset},
    {"meshes", writeMeshAsset},
    {"textures", writeSceneTextureAsset},
    {"alien", writeAlienAsset},
    {"video", writeVideoAsset},
    {"icon", writeIconAsset},
    // Not part of the show: the starter show's files, written into examples/starter by hand.
    {"starter", writeStarterShow, false},
};

int usage(const char* message)
{
    if (message)
        std::fprintf(stderr, "oculith-generate: %s\n", message);
    std::fprintf(stderr, "usage: oculith-generate --out DIR [--only KIND]\nkinds:");
    for (const AssetKind& kind : kAssetKinds)
        std::fprintf(stderr, " %s", kind.name);
    std::fprintf(stderr, "\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::string outDir, only;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--out" || arg == "--only") && i + 1 < argc)
            (arg == "--out" ? outDir : only) = argv[++i];
        else if (arg == "--help")
            return usage(nullptr), 0;
        else
            return usage(("unknown argument: " + arg).c_str());
    }
    if (outDir.empty())
        return usage("--out DIR is required");
    bool known = only.empty();
    for (const AssetKind& kind : kAssetKinds)
        known = known || only == kind.name;
    if (!known)
        return usage(("unknown kind: " + only).c_str());

    for (const AssetKind& kind : kAssetKinds) {
        if (only.empty() ? !kind.ofTheShow : only != kind.name)
            continue;
        const auto started = std::chrono::steady_clock::now();
        std::string error;
        if (!kind.write(outDir, error)) {
            std::fprintf(stderr, "oculith-generate: %s: %s\n", kind.name, error.c_str());
            return 1;
        }
        std::printf("%s: done in %.1f s\n", kind.name,
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    }
    return 0;
}
