// The data-folder watcher: changes anywhere in the tree (folders made later too) are noticed
// once the tree is quiet; editors' swap and backup files are not.
#include "platform/FileWatcher.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

// Polls for up to a second; the path of the change when one settled.
bool settles(platform::FileWatcher& watcher, std::string* changed = nullptr)
{
    for (int i = 0; i < 100; ++i) {
        if (watcher.poll(0.02, changed))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

} // namespace

TEST(FileWatcher, ChangesInTheTreeSettleOnceAndLitterIsIgnored)
{
    const std::string root = testfiles::tempDir("watch");
    testfiles::writeFile(root + "/data/scr/generic.effect", "; first\n");
    platform::FileWatcher watcher;
    ASSERT_TRUE(watcher.watch(root + "/data")) << watcher.error();
    EXPECT_FALSE(watcher.poll(0.0));

    // Several writes in a row are one change, reported after the quiet time.
    testfiles::writeFile(root + "/data/scr/generic.effect", "; second\n");
    testfiles::writeFile(root + "/data/scr/generic.effect", "; third\n");
    EXPECT_FALSE(watcher.poll(10.0));
    std::string changed;
    ASSERT_TRUE(settles(watcher, &changed));
    EXPECT_EQ(changed, root + "/data/scr/generic.effect");
    EXPECT_FALSE(settles(watcher));

    testfiles::writeFile(root + "/data/scr/.generic.effect.swp", "x");
    testfiles::writeFile(root + "/data/scr/generic.effect~", "x");
    EXPECT_FALSE(settles(watcher));

    // A folder made while watching is watched as well.
    std::filesystem::create_directories(root + "/data/art");
    ASSERT_TRUE(settles(watcher));
    testfiles::writeFile(root + "/data/art/new.png", "x");
    ASSERT_TRUE(settles(watcher, &changed));
    EXPECT_EQ(changed, root + "/data/art/new.png");

    platform::FileWatcher nothing;
    EXPECT_FALSE(nothing.watch(root + "/absent"));
    EXPECT_FALSE(nothing.error().empty());
}
