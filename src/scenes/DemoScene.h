// The base of the hand-written scenes: an effect with a fixed name, window and layer 100 that
// loads its own scripts, scene graph, meshes and textures in a fixed list of steps. A step that
// fails shows its own box and stops the scene's loading; the scene then stays on the timeline
// and draws nothing in its window.
#pragma once
#include "effects/Effect.h"
#include "scenes/SceneHolder.h"

#include <functional>
#include <string>
#include <vector>

class Camera;
class Material;
class Mesh;
class Texture;

class DemoScene : public Effect {
public:
    static constexpr int kLayer = 100;
    static constexpr const char* kSceneError = "SCENE ERROR";

    DemoScene(const char* sceneName, float startTime, float endTime);

    // Base release, every material and texture reference back to its library, the scene graph
    // destroyed. Meshes stay with the mesh manager, cameras with the camera manager.
    bool release() override;
    // The scene graph's catch-up (its particle systems) from Start; scenes with state of their
    // own add theirs.
    void catchUp(float time, float step) override;

    // True once every loading step succeeded.
    bool ready() const { return ready_; }

protected:
    // Runs the base prepare and then `steps`, remembering whether all of them succeeded.
    template <class Steps>
    bool prepareWith(Steps&& steps)
    {
        ready_ = Effect::prepare() && steps();
        return ready_;
    }

    // The loading steps. Each returns true on success and otherwise shows `failText` under
    // `title` and returns false.
    //
    // A material script read by a reader of its own into the material library. A file that is
    // not there is this step's failure; a script error inside an existing file still throws.
    bool loadShaders(const std::string& path, const std::string& failText, const char* title = kSceneError);
    bool loadScene(const std::string& path, const std::string& failText);
    // A counted reference to a named material, held until release.
    bool findMaterial(const std::string& name, Material*& material, const std::string& failText);
    // A mesh already loaded (by the scene file, normally).
    bool findMesh(const std::string& name, Mesh*& mesh, const std::string& failText);
    // A mesh read from its file with kind 0.
    bool loadMesh(const std::string& name, Mesh*& mesh, const std::string& failText);
    // Found among the loaded meshes, else read from its file.
    bool findOrLoadMesh(const std::string& name, Mesh*& mesh, const std::string& failText);
    // A picture loaded as an RGB 2D texture, held until release.
    bool loadTexture(const std::string& name, Texture*& texture, const std::string& failText);
    // A texture looked up among the loaded ones (alias or name), held until release.
    bool findTexture(const std::string& name, Texture*& texture, const std::string& failText);
    // Shows the box of a failed step; false.
    bool fail(const std::string& text, const char* title = kSceneError);

    // The scene graph drawn as most scenes draw it: enable and lighting state pushed, lighting
    // on, white, through the current camera, every matrix restored after. `extra` (when set)
    // draws after the graph under the same camera and state.
    void renderSceneGraph(const std::function<void()>& extra = {});
    // The enable and lighting state and both matrices pushed (push) and restored (pop), around
    // a scene's own drawing.
    static void pushSceneState();
    static void popSceneState();
    // The camera manager's current camera with its projection and view loaded; none when there
    // is no current camera.
    static Camera* applyCurrentCamera();

    SceneHolder scene;

private:
    bool ready_ = false;
    std::vector<Material*> materials_;
    std::vector<Texture*> textures_;
};
