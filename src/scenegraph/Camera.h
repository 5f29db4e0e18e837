// A viewpoint with its perspective projection and culling volume; SceneCamera is the kind that
// camera nodes make, turned by heading, pitch and bank instead of a view direction.
#pragma once
#include "math/Matrix4x4.h"
#include "math/Vector3.h"
#include "scenegraph/Bounds.h"

#include <array>
#include <string>

class Camera {
public:
    Camera() = default;
    virtual ~Camera() = default;
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    // Rebuilds up and right from the direction.
    virtual void orient();
    // Lines along the edges of the view volume, for inspection.
    virtual void drawFrustum();
    // orient, the basis matrices, then the view on the modelview matrix (gluLookAt).
    virtual void applyView();
    // Stores the size (a height of 0 counts as 1) and loads the projection.
    virtual void setViewport(int width, int height);

    void setPosition(const Vector3& p) { position = p; }
    void setDirection(const Vector3& d) { direction = d.normalized(); }
    void lookAt(const Vector3& target) { direction = (target - position).normalized(); }
    void setPositionAndTarget(const Vector3& p, const Vector3& target)
    {
        setPosition(p);
        lookAt(target);
    }
    void setFov(float degrees) { fov = degrees; }
    void setClip(float nearDistance, float farDistance)
    {
        nearClip = nearDistance;
        farClip = farDistance;
    }

    // The perspective frustum of fov, the viewport's aspect and the clip distances on the
    // projection matrix; the modelview matrix is left selected.
    void loadProjection() const;
    // Near corners 0 to 3, far corners 4 to 7.
    std::array<Vector3, 8> frustumCorners() const;
    // The six planes through the corners, facing inward whichever way the basis turns.
    Frustum frustumPlanes() const;

    Vector3 position{0.0f, 0.0f, 0.0f};
    Vector3 right{1.0f, 0.0f, 0.0f};
    Vector3 up{0.0f, 1.0f, 0.0f};
    Vector3 direction{0.0f, 0.0f, 1.0f};
    Matrix4x4 basisColumns = Matrix4x4::fromColumns(right, up, direction);
    Matrix4x4 basisRows = Matrix4x4::fromRows(right, up, direction);
    std::string name;
    float fov = 45.0f;
    float nearClip = 1.0f;
    float farClip = 1000.0f;
    int viewportWidth = 1;
    int viewportHeight = 1;
};

class SceneCamera : public Camera {
public:
    // right, up and direction are the axes of eulerYXZ(h, p, b).
    void orient() override;

    float h = 0.0f;
    float p = 0.0f;
    float b = 0.0f;
};
