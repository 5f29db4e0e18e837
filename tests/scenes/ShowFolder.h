// A show folder for the scene tests: a copy of the build's scripts, meshes and pictures in a
// temporary directory that the process works in while the object lives, with fresh managers.
#pragma once
#include "TestFiles.h"
#include "effects/EffectTimeline.h"
#include "geometry/MeshManager.h"
#include "material/MaterialLibrary.h"
#include "platform/MessageBox.h"
#include "scenegraph/CameraManager.h"
#include "texture/TextureManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

using Box = std::pair<std::string, std::string>;  // title, text

// A show folder made of a copy of the build's scripts, meshes and pictures (so a test may remove
// one). The process works inside it while the object lives, with fresh managers.
class ShowFolder {
public:
    ShowFolder()
    {
        const std::filesystem::path built = std::filesystem::path(OCULITH_BINARY_DIR) / "data";
        root_ = testfiles::tempDir("scenes");
        std::filesystem::create_directories(std::filesystem::path(root_) / "data");
        for (const char* folder : {"scr", "obj", "art", "fnt"})
            std::filesystem::copy(built / folder, std::filesystem::path(root_) / "data" / folder);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(root_);

        meshes_.registerDefaultHandlers();
        meshes_.addSearchPath("data\\obj\\");
        textures_.createDefaults();
        textures_.addSearchPath("data\\art\\");
        textures_.addSearchPath("data\\fnt\\");
        platform::setMessageBoxHeadless(true);
        platform::setMessageBoxListener([this](const std::string& title, const std::string& text) {
            boxes.emplace_back(title, text);
        });
    }
    ~ShowFolder()
    {
        platform::setMessageBoxListener({});
        timeline_.clear();
        meshes_.releaseAll();
        cameras_.releaseAll();
        textures_.releaseAll();
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(root_);
    }

    void remove(const std::string& path) { ASSERT_TRUE(std::filesystem::remove(path)) << path; }
    const EffectTimeline& timeline() const { return timeline_; }

    std::vector<Box> boxes;

private:
    std::string root_;
    std::filesystem::path previous_;
    // In the order the program builds them; destroyed in reverse.
    EffectTimeline timeline_;
    MeshManager meshes_;
    MaterialLibrary materials_;
    TextureManager textures_;
    CameraManager cameras_;
};

