#include "effects/CameraView.h"

#include "core/GL.h"
#include "scenegraph/Camera.h"
#include "scenegraph/CameraManager.h"

CameraView::CameraView()
{
    CameraManager* manager = CameraManager::instance;
    camera_ = manager ? manager->current() : nullptr;
    if (!camera_)
        return;
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    camera_->setViewport(manager->viewportWidth, manager->viewportHeight);
    camera_->applyView();
}

CameraView::~CameraView()
{
    if (!camera_)
        return;
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}
