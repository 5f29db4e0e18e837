#include "math/Quaternion.h"

#include <algorithm>
#include <cmath>

Quaternion Quaternion::fromAxisAngle(float angle, const Vector3& axis)
{
    if (axis.length() == 0.0f)
        return identity();
    const float s = std::sin(angle * 0.5f);
    const Vector3 n = axis.normalized();
    return {s * n.x, s * n.y, s * n.z, std::cos(angle * 0.5f)};
}

void Quaternion::toAxisAngle(float& angle, Vector3& axis) const
{
    // Products of unit quaternions drift a few ulps past 1; acos would give NaN there.
    angle = 2.0f * std::acos(std::clamp(w, -1.0f, 1.0f));
    if (angle != 0.0f)
        axis = Vector3(x, y, z).normalized();
    else
        axis = Vector3(0.0f, 0.0f, 1.0f);
}

void Quaternion::normalize()
{
    const float l = std::sqrt(x * x + y * y + z * z + w * w);
    if (l != 0.0f) {
        x /= l;
        y /= l;
        z /= l;
        w /= l;
    }
}

Matrix4x4 Quaternion::toMatrix() const
{
    const float n = x * x + y * y + z * z + w * w;
    const float s = n > 0.0f ? 2.0f / n : 0.0f;
    const float xx = x * x * s, yy = y * y * s, zz = z * z * s;
    const float xy = x * y * s, xz = x * z * s, yz = y * z * s;
    const float wx = w * x * s, wy = w * y * s, wz = w * z * s;
    Matrix4x4 r;
    r.m[0] = 1.0f - (yy + zz), r.m[1] = xy + wz, r.m[2] = xz - wy;
    r.m[4] = xy - wz, r.m[5] = 1.0f - (xx + zz), r.m[6] = yz + wx;
    r.m[8] = xz + wy, r.m[9] = yz - wx, r.m[10] = 1.0f - (xx + yy);
    r.m[15] = 1.0f;
    return r;
}

Quaternion Quaternion::fromMatrix(const Matrix4x4& m)
{
    const float t = m[0] + m[5] + m[10] + m[15];
    if (t >= 1.0f) {
        const float s = 2.0f * std::sqrt(t);
        return {(m[9] - m[6]) / s, (m[2] - m[8]) / s, (m[4] - m[1]) / s, 0.25f * s};
    }
    if (t == 0.0f)
        return identity();
    int i = m[0] > m[5] ? 0 : 1;
    if (m[10] > m.at(i, i))
        i = 2;
    const int j = (i + 1) % 3;
    const int k = (j + 1) % 3;
    const float s = 2.0f * std::sqrt(m.at(i, i) - m.at(j, j) - m.at(k, k) + 1.0f);
    // A rotation always gives s > 1 here; anything else (NaN, a root of 0) has no rotation to read.
    if (!(s > 0.0f))
        return identity();
    float q[3];
    q[i] = 0.25f * s;
    q[j] = (m.at(i, j) + m.at(j, i)) / s;
    q[k] = (m.at(i, k) + m.at(k, i)) / s;
    return {q[0], q[1], q[2], (m.at(k, j) - m.at(j, k)) / s};
}

Quaternion slerp(const Quaternion& p, const Quaternion& qIn, float t)
{
    Quaternion q = qIn;
    float c = dot(p, q);
    if (c < 0.0f) {
        q = -q;
        c = -c;
    }
    if (c < 0.95f) {
        const float theta = std::acos(c);
        const float k = 1.0f / std::sin(theta);
        return p * (k * std::sin((1.0f - t) * theta)) + q * (k * std::sin(t * theta));
    }
    return lerp(p, q, t);
}
