// Three floats x, y, z for points, directions and normals; GL calls take its address directly.
#pragma once
#include <cmath>
#include <type_traits>

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    constexpr Vector3() = default;
    constexpr Vector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    float* data() { return &x; }
    const float* data() const { return &x; }

    float length() const { return std::sqrt(x * x + y * y + z * z); }
    // Divides by the length; a vector of length exactly 0 stays as it is.
    void normalize()
    {
        const float l = length();
        if (l != 0.0f) {
            x /= l;
            y /= l;
            z /= l;
        }
    }
    Vector3 normalized() const
    {
        Vector3 v = *this;
        v.normalize();
        return v;
    }

    Vector3& operator+=(const Vector3& o)
    {
        x += o.x;
        y += o.y;
        z += o.z;
        return *this;
    }
    Vector3& operator-=(const Vector3& o)
    {
        x -= o.x;
        y -= o.y;
        z -= o.z;
        return *this;
    }
    Vector3& operator*=(float s)
    {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
};

static_assert(sizeof(Vector3) == 3 * sizeof(float) && std::is_standard_layout_v<Vector3>,
              "Vector3 is handed to GL and stored in vertex arrays as three packed floats");

inline Vector3 operator+(const Vector3& a, const Vector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vector3 operator-(const Vector3& a, const Vector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vector3 operator-(const Vector3& a) { return {-a.x, -a.y, -a.z}; }
inline Vector3 operator*(const Vector3& a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline Vector3 operator*(float s, const Vector3& a) { return {a.x * s, a.y * s, a.z * s}; }
inline bool operator==(const Vector3& a, const Vector3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

inline float dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vector3 cross(const Vector3& a, const Vector3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
// Length of b - a.
inline float distance(const Vector3& a, const Vector3& b) { return (b - a).length(); }
