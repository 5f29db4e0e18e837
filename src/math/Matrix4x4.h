// A 4×4 float matrix, row-major (element r·4 + c), transforming column vectors: translation sits
// in elements 3, 7 and 11. The rotation constructors store the transposed (inverse) rotation.
#pragma once
#include "math/Vector3.h"

struct Matrix4x4 {
    float m[16] = {};

    // All sixteen elements zero (also what the default constructor gives).
    static Matrix4x4 zero() { return {}; }
    static Matrix4x4 identity();
    // Callers pass tw = 1 / sw = 1.
    static Matrix4x4 translation(float tx, float ty, float tz, float tw = 1.0f);
    static Matrix4x4 scale(float sx, float sy, float sz, float sw = 1.0f);
    // m5 = cos, m6 = sin, m9 = -sin, m10 = cos: the usual matrix for -theta.
    static Matrix4x4 rotationX(float theta);
    // m0 = cos, m2 = -sin, m8 = sin, m10 = cos.
    static Matrix4x4 rotationY(float theta);
    // m0 = cos, m1 = sin, m4 = -sin, m5 = cos.
    static Matrix4x4 rotationZ(float theta);
    // u, v, n as the first three columns.
    static Matrix4x4 fromColumns(const Vector3& u, const Vector3& v, const Vector3& n);
    // u, v, n as the first three rows.
    static Matrix4x4 fromRows(const Vector3& u, const Vector3& v, const Vector3& n);
    // rotationX(a) · rotationY(b) · rotationZ(c).
    static Matrix4x4 eulerXYZ(float a, float b, float c);
    // rotationY(a) · rotationX(b) · rotationZ(c).
    static Matrix4x4 eulerYXZ(float a, float b, float c);

    float& operator[](int i) { return m[i]; }
    float operator[](int i) const { return m[i]; }
    float& at(int row, int column) { return m[row * 4 + column]; }
    float at(int row, int column) const { return m[row * 4 + column]; }
    const float* data() const { return m; }

    // Row r of the product is Σk this[r][k]·o[k][c]; computed into a fresh value, so a *= a works.
    Matrix4x4 operator*(const Matrix4x4& o) const;
    Matrix4x4& operator*=(const Matrix4x4& o) { return *this = *this * o; }

    // m·p with w = 1 (the fourth row is not used).
    Vector3 transformPoint(const Vector3& p) const
    {
        return {m[0] * p.x + m[1] * p.y + m[2] * p.z + m[3],
                m[4] * p.x + m[5] * p.y + m[6] * p.z + m[7],
                m[8] * p.x + m[9] * p.y + m[10] * p.z + m[11]};
    }
    // m·v without the translation column (directions, normals of rigid transforms).
    Vector3 transformVector(const Vector3& v) const
    {
        return {m[0] * v.x + m[1] * v.y + m[2] * v.z, m[4] * v.x + m[5] * v.y + m[6] * v.z,
                m[8] * v.x + m[9] * v.y + m[10] * v.z};
    }

    // Gauss-Jordan with partial pivoting; a pivot not above 0.000001 means singular, and the
    // result is then the zero matrix.
    Matrix4x4 inverse() const;
    Matrix4x4 transposed() const;
};

inline bool operator==(const Matrix4x4& a, const Matrix4x4& b)
{
    for (int i = 0; i < 16; ++i)
        if (a.m[i] != b.m[i])
            return false;
    return true;
}

static_assert(sizeof(Matrix4x4) == 16 * sizeof(float), "Matrix4x4 is sixteen packed floats");
