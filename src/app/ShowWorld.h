// The show's program-wide managers as one set: the set in use now (whatever constructed it) and
// fresh sets that a reload loads into, so the last good show plays on until a new one loaded.
#pragma once
#include "effects/EffectTimeline.h"
#include "font/ConsoleFont.h"
#include "font/FontRegistry.h"
#include "geometry/MeshManager.h"
#include "material/MaterialLibrary.h"
#include "scenegraph/CameraManager.h"
#include "texture/TextureManager.h"

// The managers one show uses, by their instance pointers.
struct ShowManagers {
    ConsoleFont* consoleFont = nullptr;
    EffectTimeline* timeline = nullptr;
    MeshManager* meshes = nullptr;
    FontRegistry* fonts = nullptr;
    MaterialLibrary* materials = nullptr;
    TextureManager* textures = nullptr;
    CameraManager* cameras = nullptr;

    // The managers the instance pointers name now.
    static ShowManagers current();
    // Points every instance pointer at these managers.
    void makeCurrent() const;
};

// A fresh set of managers, constructed in the program's order; constructing it makes it current.
class ShowWorld {
public:
    ShowWorld() = default;
    ShowWorld(const ShowWorld&) = delete;
    ShowWorld& operator=(const ShowWorld&) = delete;

    ShowManagers managers();

private:
    ConsoleFont consoleFont_;
    EffectTimeline timeline_;
    MeshManager meshes_;
    FontRegistry fonts_;
    MaterialLibrary materials_;
    TextureManager textures_;
    CameraManager cameras_;
};
