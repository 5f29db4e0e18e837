// A rotation quaternion (x, y, z, w), w the scalar part; the identity is (0, 0, 0, 1).
#pragma once
#include "math/Matrix4x4.h"
#include "math/Vector3.h"

struct Quaternion {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    constexpr Quaternion() = default;
    constexpr Quaternion(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}

    static constexpr Quaternion identity() { return {0.0f, 0.0f, 0.0f, 1.0f}; }
    // (sin(angle/2)·n, cos(angle/2)) with n = normalize(axis); a zero axis gives the identity.
    static Quaternion fromAxisAngle(float angle, const Vector3& axis);
    // Reads m as an untransposed rotation (the trace includes m15), so
    // fromMatrix(q.toMatrix()) is the conjugate of q.
    static Quaternion fromMatrix(const Matrix4x4& m);

    // angle = 2·acos(w) (w clamped to [-1, 1]); axis normalize(x, y, z), or (0, 0, 1) when the
    // angle is 0.
    void toAxisAngle(float& angle, Vector3& axis) const;
    // The transposed rotation matrix, like Matrix4x4::rotationX/Y/Z; any non-zero length is
    // accepted, and the zero quaternion gives the identity.
    Matrix4x4 toMatrix() const;

    // Divides by the four-component length; the zero quaternion stays as it is.
    void normalize();
    Quaternion conjugate() const { return {-x, -y, -z, w}; }
};

static_assert(sizeof(Quaternion) == 4 * sizeof(float), "Quaternion is four packed floats");

// Hamilton product p·q (apply q, then p).
inline Quaternion operator*(const Quaternion& p, const Quaternion& q)
{
    return {p.w * q.x + p.x * q.w + p.y * q.z - p.z * q.y,
            p.w * q.y - p.x * q.z + p.y * q.w + p.z * q.x,
            p.w * q.z + p.x * q.y - p.y * q.x + p.z * q.w,
            p.w * q.w - (p.x * q.x + p.y * q.y + p.z * q.z)};
}
inline Quaternion operator+(const Quaternion& p, const Quaternion& q)
{
    return {p.x + q.x, p.y + q.y, p.z + q.z, p.w + q.w};
}
inline Quaternion operator*(const Quaternion& q, float s) { return {q.x * s, q.y * s, q.z * s, q.w * s}; }
inline Quaternion operator-(const Quaternion& q) { return {-q.x, -q.y, -q.z, -q.w}; }
inline bool operator==(const Quaternion& a, const Quaternion& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w;
}
inline float dot(const Quaternion& p, const Quaternion& q)
{
    return p.x * q.x + p.y * q.y + p.z * q.z + p.w * q.w;
}
// Component-wise p + t·(q - p), not renormalised.
inline Quaternion lerp(const Quaternion& p, const Quaternion& q, float t)
{
    return {p.x + t * (q.x - p.x), p.y + t * (q.y - p.y), p.z + t * (q.z - p.z), p.w + t * (q.w - p.w)};
}
// Spherical interpolation along the shorter arc (q negated when p·q < 0); from a dot product of
// 0.95 on the plain lerp. Not renormalised.
Quaternion slerp(const Quaternion& p, const Quaternion& q, float t);
