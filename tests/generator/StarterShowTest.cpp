// The starter show's files as the generator writes them: the same set of files the repository
// keeps in examples/starter, a title whose lettering and glow stay clear of the picture's edges
// (a glow cut at the edge shows as a hard line on screen), and a tunnel lining that tiles.
#include "StarterShow.h"
#include "TestFiles.h"
#include "texture/TextureManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace {

namespace fs = std::filesystem;

std::set<std::string> filesUnder(const std::string& root, const std::string& ignoredExtension)
{
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file() && entry.path().extension() != ignoredExtension)
            names.insert(fs::relative(entry.path(), root).generic_string());
    return names;
}

} // namespace

TEST(StarterShowFiles, MatchTheRepositorysSetAndLookRight)
{
    const std::string dir = testfiles::tempDir("startershow");
    std::string error;
    ASSERT_TRUE(startershow::write(dir, false, error)) << error;

    // Everything written is kept in the repository, and the repository keeps nothing binary
    // the generator does not write (the scripts are hand-written).
    std::set<std::string> kept = filesUnder(std::string(OCULITH_SOURCE_DIR) + "/examples/starter", ".log");
    std::erase_if(kept, [](const std::string& name) { return name.starts_with("data/scr/"); });
    EXPECT_EQ(filesUnder(dir, ".log"), kept);
    EXPECT_GT(fs::file_size(dir + "/data/snd/oculith - edit 2 (64k).mp3"), 100000u);

    TextureManager textures;
    textures.createDefaults();
    textures.addSearchPath(dir + "/data/art/");
    auto* title = dynamic_cast<ImageTexture*>(textures.load("first-light-title.png", 9, GL_TEXTURE_2D));
    ASSERT_NE(title, nullptr);
    const auto alpha = [&](int x, int y) {
        return int(title->pixels[(std::size_t(y) * std::size_t(title->width) + std::size_t(x)) * std::size_t(title->bytesPerPixel) + 3]);
    };
    int edge = 0, middle = 0;
    for (int y = 0; y < title->height; ++y) {
        edge = std::max({edge, alpha(0, y), alpha(title->width - 1, y)});
        for (int x = title->width / 4; x < title->width * 3 / 4; ++x)
            middle = std::max(middle, alpha(x, y));
    }
    for (int x = 0; x < title->width; ++x)
        edge = std::max({edge, alpha(x, 0), alpha(x, title->height - 1)});
    EXPECT_EQ(edge, 0);
    EXPECT_GT(middle, 150);

    // The lining repeats round and along the tunnel: opposite edges meet without a step.
    auto* lining = dynamic_cast<ImageTexture*>(textures.load("tunnel-lining.jpg", 8, GL_TEXTURE_2D));
    ASSERT_NE(lining, nullptr);
    const int n = lining->width;
    const auto at = [&](int x, int y, int c) {
        return int(lining->pixels[(std::size_t(y) * std::size_t(n) + std::size_t(x)) * std::size_t(lining->bytesPerPixel) + std::size_t(c)]);
    };
    long seam = 0, inside = 0;
    for (int i = 0; i < n; ++i)
        for (int c = 0; c < 3; ++c) {
            seam += std::abs(at(n - 1, i, c) - at(0, i, c)) + std::abs(at(i, n - 1, c) - at(i, 0, c));
            inside += std::abs(at(i, 40, c) - at((i + 53) % n, 150, c)) * 2;
        }
    EXPECT_LT(seam * 4, inside);
}
