#include "scenegraph/Camera.h"

#include "core/GL.h"

#include <cmath>

void Camera::orient()
{
    direction.normalize();
    const Vector3 reference = (direction.x != 0.0f || direction.z != 0.0f)
                                  ? Vector3(0.0f, 1.0f, 0.0f)
                                  : Vector3(0.0f, 0.0f, -direction.y);
    up = (reference - direction * dot(reference, direction)).normalized();
    right = cross(direction, up).normalized();
    up = cross(right, direction).normalized();
}

void SceneCamera::orient()
{
    const Matrix4x4 m = Matrix4x4::eulerYXZ(h, p, b);
    right = m.transformPoint({1.0f, 0.0f, 0.0f}).normalized();
    up = m.transformPoint({0.0f, 1.0f, 0.0f}).normalized();
    direction = m.transformPoint({0.0f, 0.0f, 1.0f}).normalized();
}

void Camera::applyView()
{
    orient();
    basisColumns = Matrix4x4::fromColumns(right, up, direction);
    basisRows = Matrix4x4::fromRows(right, up, direction);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const Vector3 centre = position + direction;
    gluLookAt(position.x, position.y, position.z, centre.x, centre.y, centre.z, up.x, up.y, up.z);
}

void Camera::setViewport(int width, int height)
{
    viewportWidth = width;
    viewportHeight = height == 0 ? 1 : height;
    loadProjection();
}

void Camera::loadProjection() const
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // GL refuses a frustum whose near plane is not in front of the eye, whose far plane is not
    // beyond the near one or that has no width (GL_INVALID_VALUE), and the identity would stay:
    // the nearest usable values stand in for such clip distances and angles.
    constexpr double kClosest = 1e-3, kWidestFov = 179.0, kNarrowestFov = 1e-3;
    const double degrees = fov > 0.0f ? std::min(double(fov), kWidestFov) : kNarrowestFov;
    const double t = std::tan(degrees * 0.008726646);
    const double aspect = viewportWidth > 0 ? double(viewportWidth) / double(viewportHeight) : 1.0;
    const double n = nearClip > 0.0f && std::isfinite(nearClip) ? double(nearClip) : kClosest;
    const double f = double(farClip) > n && std::isfinite(farClip) ? double(farClip) : n * 2.0;
    glFrustum(-n * t * aspect, n * t * aspect, -n * t, n * t, n, f);
    glMatrixMode(GL_MODELVIEW);
}

std::array<Vector3, 8> Camera::frustumCorners() const
{
    const float aspect = (viewportWidth == 0 || viewportHeight == 0)
                             ? 1.0f
                             : float(viewportWidth) / float(viewportHeight);
    const float tv = std::tan(fov * 0.5f * 0.017453292f);
    const float th = std::tan(aspect * fov * 0.5f * 0.017453292f);
    std::array<Vector3, 8> corners;
    const float distances[2] = {nearClip, farClip};
    for (int k = 0; k < 2; ++k) {
        const float d = distances[k];
        const Vector3 c = position + direction * d;
        const Vector3 v = up * (tv * d);
        const Vector3 hz = right * (th * d);
        corners[std::size_t(4 * k + 0)] = c - v + hz;
        corners[std::size_t(4 * k + 1)] = c - v - hz;
        corners[std::size_t(4 * k + 2)] = c + v + hz;
        corners[std::size_t(4 * k + 3)] = c + v - hz;
    }
    return corners;
}

Frustum Camera::frustumPlanes() const
{
    static constexpr int kTriples[6][3] = {{1, 3, 5}, {0, 4, 2}, {2, 6, 3}, {0, 1, 4}, {0, 2, 1}, {4, 5, 6}};
    const std::array<Vector3, 8> c = frustumCorners();
    // The triples face inward when right × up points along the direction (the scene camera's
    // basis); a camera oriented from its direction has the mirrored basis, so its triples are
    // taken the other way round.
    const bool mirrored = dot(cross(right, up), direction) < 0.0f;
    Frustum frustum;
    for (int i = 0; i < 6; ++i) {
        const Vector3& a = c[std::size_t(kTriples[i][0])];
        const Vector3& b = c[std::size_t(kTriples[i][1])];
        const Vector3& d = c[std::size_t(kTriples[i][2])];
        frustum.planes[std::size_t(i)] = mirrored ? PlaneEq::fromPoints(a, d, b) : PlaneEq::fromPoints(a, b, d);
    }
    return frustum;
}

void Camera::drawFrustum()
{
    const std::array<Vector3, 8> c = frustumCorners();
    glBegin(GL_LINE_LOOP);
    for (int i : {0, 1, 3, 2})
        glVertex3fv(c[std::size_t(i)].data());
    glEnd();
    glBegin(GL_LINE_LOOP);
    for (int i : {4, 5, 7, 6})
        glVertex3fv(c[std::size_t(i)].data());
    glEnd();
    glBegin(GL_LINES);
    for (std::size_t i = 0; i < 4; ++i) {
        glVertex3fv(c[i].data());
        glVertex3fv(c[i + 4].data());
    }
    const Vector3 farPoint = position + direction * farClip;
    glVertex3fv(position.data());
    glVertex3fv(farPoint.data());
    glEnd();
}
