// A hand-written scene's own scene graph, read from a ".scene" file: animated to the show time
// and drawn through a camera; empty until loaded and after release.
#pragma once
#include "scenegraph/Scene.h"

#include <string>

class Camera;

class SceneHolder {
public:
    // Reads the file (a show path) and keeps its tree, replacing any held before; false (and
    // empty) when the file can't be opened or holds no node.
    bool load(const std::string& path);
    // Animates the tree; nothing when empty.
    void update(float time);
    // The tree's catch-up from `from` to `to` in frame steps; nothing when empty.
    void catchUp(float from, float to, float step) { scene_.catchUp(from, to, step); }
    // Draws the tree through `camera` (already applied by the caller) or, with none, through the
    // camera manager's current camera; nothing when empty.
    void render(Camera* camera = nullptr);
    // Switches the tree's lights on, for lit drawing of the scene's own before the tree.
    void enableLights() { scene_.enableLights(); }
    // Switches the tree's lights off and destroys it.
    void release();

    bool empty() const { return scene_.root() == nullptr; }

private:
    Scene scene_;
};
