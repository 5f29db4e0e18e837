#include "effects/CameraEffect.h"

#include "scenegraph/Camera.h"
#include "scenegraph/CameraManager.h"

CameraEffect::CameraEffect() = default;

CameraEffect::~CameraEffect() = default;

bool CameraEffect::prepare()
{
    Effect::prepare();
    if (targetTrack)
        targetTrack->prepare();
    if (fovTrack)
        fovTrack->prepare();
    auto made = std::make_unique<Camera>();
    made->setFov(45.0f);
    made->setClip(nearClip, farClip);
    made->name = name;
    camera = made.get();
    if (CameraManager::instance && CameraManager::instance->add(camera))
        made.release();
    else
        kept_ = std::move(made);
    return true;
}

bool CameraEffect::release()
{
    Effect::release();
    CameraManager* manager = CameraManager::instance;
    // Only this effect's own camera is taken out: a refused twin must not remove the camera
    // another effect of the same name registered.
    if (camera && !kept_ && manager && manager->find(name) == camera)
        manager->remove(name);
    if (kept_ && manager)
        manager->forget(kept_.get());
    kept_.reset();
    camera = nullptr;
    for (std::unique_ptr<Keyframer>* track : {&targetTrack, &fovTrack}) {
        if (*track) {
            (*track)->finish();
            track->reset();
        }
    }
    return true;
}

void CameraEffect::update(float time)
{
    Vector3 eye(0.0f, 0.0f, 1.0f);
    Vector3 target(0.0f, 0.0f, 0.0f);
    float fov = 45.0f;
    CameraManager* manager = CameraManager::instance;
    bool shown = false;
    if (animator) {
        animator->update(time);
        eye = animator->translation;
        shown = animator->visible;
    }
    // A camera the manager refused (its name was taken) is never made current: the manager
    // would point at a camera it does not own, and this effect destroys it in release.
    if (shown && camera && !kept_ && manager && manager->current() != camera)
        manager->setCurrent(camera);
    if (targetTrack) {
        targetTrack->update(time);
        target = targetTrack->translation;
    }
    if (fovTrack) {
        fovTrack->update(time);
        fov = fovTrack->scale.x;
    }
    if (!camera)
        return;
    camera->setFov(fov);
    camera->setPositionAndTarget(eye, target);
    // The projection for the manager's viewport: a camera made current by its registration has
    // never been handed the viewport size.
    if (shown) {
        if (manager)
            camera->setViewport(manager->viewportWidth, manager->viewportHeight);
        else
            camera->loadProjection();
    }
}

namespace {

using Kind = EffectKind<CameraEffect>;

// A nested keyframe block into `track`; a block that does not read is dropped and raises
// `failure`.
void readTrack(ScriptReader& reader, std::istream& stream, std::unique_ptr<Keyframer>& track,
               const char* failure)
{
    auto read = std::make_unique<Keyframer>();
    if (!read->read(reader, stream))
        throw reader.error(failure);
    track = std::move(read);
}

constexpr Kind::Keyword kKeywords[] = {
    {"Clip ", [](ScriptReader& r, std::istream&, CameraEffect& e) {
         scanFloats(r.line, e.nearClip, e.farClip);
         return true;
     }},
    {"Fov {", [](ScriptReader& r, std::istream& s, CameraEffect& e) {
         readTrack(r, s, e.fovTrack, "CameraEffect unable to load FOV track");
         return true;
     }},
    {"Target {", [](ScriptReader& r, std::istream& s, CameraEffect& e) {
         readTrack(r, s, e.targetTrack, "CameraEffect unable to load Target track");
         return true;
     }},
};

} // namespace

std::unique_ptr<EffectType> makeCameraEffectType()
{
    return std::make_unique<Kind>("Camera", kKeywords, "CameraEffect unknown token");
}
