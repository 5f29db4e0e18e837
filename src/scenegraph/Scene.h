// A scene: the node tree of a ".scene" file, updated with the show time and drawn through a
// camera with bounding-sphere culling.
#pragma once
#include "scenegraph/SceneNode.h"

#include <memory>
#include <string>

class Camera;

class Scene {
public:
    Scene() = default;
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Reads the file (a show path) and returns its root node, or none when the file can't be
    // opened or holds no node. The scene itself is not changed (see setRoot).
    static std::unique_ptr<SceneNode> load(const std::string& path);
    // Takes the tree (switching the old tree's lights off first).
    void setRoot(std::unique_ptr<SceneNode> newRoot);
    SceneNode* root() const { return root_.get(); }

    void update(float time);
    // Every node's catch-up from `from` to `to` in steps of `step` (see SceneNode::catchUp).
    void catchUp(float from, float to, float step);
    // Through `camera`, which the caller has applied; with none, through the camera manager's
    // current camera, whose projection (for the manager's viewport) and view are loaded here
    // (nothing is drawn when there is none).
    void draw(Camera* camera = nullptr);
    // Switches the tree's lights on (positions through the current modelview), as draw does
    // before the nodes; for scenes that draw lit geometry of their own before the tree.
    void enableLights();
    // Switches the tree's lights off and gives their slots back (draw takes them again), so
    // nothing drawn afterwards is lit by this tree.
    void disableLights();
    // Switches the tree's lights off and destroys it.
    void release();
    // True when the tree holds a light that is switched on.
    bool hasActiveLight() const;

private:
    std::unique_ptr<SceneNode> root_;
};
