#include "scenegraph/CameraNode.h"

#include "scenegraph/Camera.h"
#include "scenegraph/CameraManager.h"

namespace {

constexpr NodeKeyword<CameraNode> kKeywords[] = {
    {"Name ", [](SceneReadContext& c, CameraNode& n) {
         n.camera->name = c.reader.quotedText();
         return true;
     }},
    {"FOV ", [](SceneReadContext& c, CameraNode& n) {
         scanFloats(c.reader.line, n.camera->fov);
         return true;
     }},
    {"ClipPlanes ", [](SceneReadContext& c, CameraNode& n) {
         scanFloats(c.reader.line, n.camera->nearClip, n.camera->farClip);
         return true;
     }},
    {"Enable ", [](SceneReadContext& c, CameraNode& n) {
         n.enable = c.reader.contains("yes");
         return true;
     }},
};

} // namespace

CameraNode::CameraNode() : SceneNode(kCamera)
{
    auto made = std::make_unique<SceneCamera>();
    made->name = "SG_Camera0";
    made->setClip(1.0f, 1024.0f);
    camera = made.get();
    if (CameraManager::instance && CameraManager::instance->add(camera))
        made.release();
    else
        refused_ = std::move(made);
}

CameraNode::~CameraNode()
{
    // A camera the node keeps must not stay current after it is gone.
    if (refused_ && CameraManager::instance)
        CameraManager::instance->forget(refused_.get());
}

SceneNode::LineResult CameraNode::readOwnLine(SceneReadContext& context)
{
    return readNodeKeywords(kKeywords, context, *this);
}

void CameraNode::update(float time)
{
    // A refused camera (its name was taken) is never made current: the manager does not own it.
    if (enable && !refused_ && CameraManager::instance && CameraManager::instance->current() != camera)
        CameraManager::instance->setCurrent(camera);
    camera->position = position;
    // Without angles (no animator, or a keyframe animator) the camera keeps its previous ones.
    animatorAngles(camera->h, camera->p, camera->b);
    scale = Vector3(1.0f, 1.0f, 1.0f);
}
