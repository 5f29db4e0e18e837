#include "math/Matrix4x4.h"

#include <cmath>
#include <utility>

Matrix4x4 Matrix4x4::identity()
{
    Matrix4x4 r;
    r.m[0] = r.m[5] = r.m[10] = r.m[15] = 1.0f;
    return r;
}

Matrix4x4 Matrix4x4::translation(float tx, float ty, float tz, float tw)
{
    Matrix4x4 r;
    r.m[0] = r.m[5] = r.m[10] = 1.0f;
    r.m[3] = tx;
    r.m[7] = ty;
    r.m[11] = tz;
    r.m[15] = tw;
    return r;
}

Matrix4x4 Matrix4x4::scale(float sx, float sy, float sz, float sw)
{
    Matrix4x4 r;
    r.m[0] = sx;
    r.m[5] = sy;
    r.m[10] = sz;
    r.m[15] = sw;
    return r;
}

Matrix4x4 Matrix4x4::rotationX(float theta)
{
    const float c = std::cos(theta), s = std::sin(theta);
    Matrix4x4 r;
    r.m[0] = 1.0f;
    r.m[5] = c;
    r.m[6] = s;
    r.m[9] = -s;
    r.m[10] = c;
    r.m[15] = 1.0f;
    return r;
}

Matrix4x4 Matrix4x4::rotationY(float theta)
{
    const float c = std::cos(theta), s = std::sin(theta);
    Matrix4x4 r;
    r.m[0] = c;
    r.m[2] = -s;
    r.m[5] = 1.0f;
    r.m[8] = s;
    r.m[10] = c;
    r.m[15] = 1.0f;
    return r;
}

Matrix4x4 Matrix4x4::rotationZ(float theta)
{
    const float c = std::cos(theta), s = std::sin(theta);
    Matrix4x4 r;
    r.m[0] = c;
    r.m[1] = s;
    r.m[4] = -s;
    r.m[5] = c;
    r.m[10] = 1.0f;
    r.m[15] = 1.0f;
    return r;
}

Matrix4x4 Matrix4x4::fromColumns(const Vector3& u, const Vector3& v, const Vector3& n)
{
    Matrix4x4 r;
    r.m[0] = u.x, r.m[1] = v.x, r.m[2] = n.x;
    r.m[4] = u.y, r.m[5] = v.y, r.m[6] = n.y;
    r.m[8] = u.z, r.m[9] = v.z, r.m[10] = n.z;
    r.m[15] = 1.0f;
    return r;
}

Matrix4x4 Matrix4x4::fromRows(const Vector3& u, const Vector3& v, const Vector3& n)
{
    return fromColumns(u, v, n).transposed();
}

Matrix4x4 Matrix4x4::eulerXYZ(float a, float b, float c)
{
    return rotationX(a) * rotationY(b) * rotationZ(c);
}

Matrix4x4 Matrix4x4::eulerYXZ(float a, float b, float c)
{
    return rotationY(a) * rotationX(b) * rotationZ(c);
}

Matrix4x4 Matrix4x4::operator*(const Matrix4x4& o) const
{
    Matrix4x4 r;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += m[row * 4 + k] * o.m[k * 4 + col];
            r.m[row * 4 + col] = sum;
        }
    return r;
}

Matrix4x4 Matrix4x4::transposed() const
{
    Matrix4x4 r;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            r.m[col * 4 + row] = m[row * 4 + col];
    return r;
}

Matrix4x4 Matrix4x4::inverse() const
{
    // Augmented rows [M | I]; rows are permuted through `order` instead of being swapped.
    float a[4][8];
    int order[4];
    for (int r = 0; r < 4; ++r) {
        order[r] = r;
        for (int c = 0; c < 4; ++c) {
            a[r][c] = m[r * 4 + c];
            a[r][c + 4] = r == c ? 1.0f : 0.0f;
        }
    }
    for (int col = 0; col < 4; ++col) {
        int best = col;
        for (int r = col + 1; r < 4; ++r)
            if (std::fabs(a[order[r]][col]) > std::fabs(a[order[best]][col]))
                best = r;
        // Also refuses NaN pivots: !(x > limit) holds for them.
        if (!(std::fabs(a[order[best]][col]) > 0.000001f))
            return zero();
        std::swap(order[col], order[best]);
        float* pivotRow = a[order[col]];
        const float scale = 1.0f / pivotRow[col];
        for (int c = 0; c < 8; ++c)
            pivotRow[c] *= scale;
        for (int r = 0; r < 4; ++r) {
            if (r == col)
                continue;
            float* row = a[order[r]];
            const float f = row[col];
            if (f == 0.0f)
                continue;
            for (int c = 0; c < 8; ++c)
                row[c] -= f * pivotRow[c];
        }
    }
    Matrix4x4 result;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            result.m[r * 4 + c] = a[order[r]][c + 4];
    return result;
}
