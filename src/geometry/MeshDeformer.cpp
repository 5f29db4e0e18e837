#include "geometry/MeshDeformer.h"

#include <cmath>

void MeshDeformer::applyToMesh(const Mesh& source, Mesh& destination)
{
    applyToVertices(std::span<const MeshVertex>(source.vertices.data(), std::size_t(source.vertices.size())),
                    std::span<MeshVertex>(destination.vertices.data(), std::size_t(destination.vertices.size())));
}

// ---- ripple ----

bool RippleDeformer::setWave(int axisCode, float amplitude, float spare, float wavelength, float phaseOffset,
                             float decay, float weight)
{
    int slot = -1;
    switch (axisCode) {
    case deformaxis::kX: slot = 0; break;
    case deformaxis::kY: slot = 1; break;
    case deformaxis::kZ: slot = 2; break;
    default: return false;
    }
    axes |= axisCode;
    wave[slot] = Wave{axisCode, amplitude, spare, wavelength, phaseOffset, decay, weight};
    return true;
}

Vector3 RippleDeformer::deform(Vector3 v) const
{
    for (int k = 0; k < 3; ++k) {
        if (!(axes & (1 << k)))
            continue;
        const Wave& w = wave[k];
        float* component = v.data() + k;
        const float c = *component;
        *component = 0.0f;
        const float r = v.length();
        const float wavelength = w.wavelength != 0.0f ? w.wavelength : 0.0000001f;
        const float f = w.amplitude * std::sin(phase + (w.phaseOffset + r / wavelength) * 6.2831855f) *
                        std::exp(-w.decay * r);
        *component = c + w.weight * f;
    }
    return v;
}

// ---- bend ----

bool BendDeformer::setup(float theta, float psi, int bendType, float lo, float hi)
{
    Matrix4x4 axisMatrix;
    if (bendType == kAboutX)
        axisMatrix = Matrix4x4::rotationX(-1.5707964f);
    else if (bendType == kAboutY)
        axisMatrix = Matrix4x4::rotationY(-1.5707964f);
    else
        return false;
    type = bendType;
    angle = theta;
    direction = psi;
    min = lo;
    max = hi;
    frame = axisMatrix * Matrix4x4::rotationZ(psi);
    inverseFrame = frame.inverse();
    radius = std::fabs(theta) < 0.0001f ? 0.0f : (max - min) / theta;
    return true;
}

Vector3 BendDeformer::deform(Vector3 v) const
{
    if (radius == 0.0f)
        return v;
    const Vector3 q = frame.transformPoint(v);
    const float alpha = 3.1415927f - q.y / radius;
    const float c = std::cos(alpha), s = std::sin(alpha);
    const Vector3 bent{(c + 1.0f) * radius - c * q.x, s * radius - s * q.x, q.z};
    return inverseFrame.transformPoint(bent);
}

// ---- taper ----

void TaperDeformer::setup(const Vector3& c, float s1, float s2, int a)
{
    centre = c;
    scale1 = s1;
    scale2 = s2;
    axis = a;
}

void TaperDeformer::setExtentFromBox(const Vector3& lo, const Vector3& hi)
{
    extent = {std::fmax(hi.x - centre.x, centre.x - lo.x), std::fmax(hi.y - centre.y, centre.y - lo.y),
              std::fmax(hi.z - centre.z, centre.z - lo.z)};
}

Vector3 TaperDeformer::deform(Vector3 v) const
{
    // (k, i, j): the taper axis and the two it scales.
    int k, i, j;
    switch (axis) {
    case deformaxis::kX: k = 0, i = 1, j = 2; break;
    case deformaxis::kY: k = 1, i = 0, j = 2; break;
    case deformaxis::kZ: k = 2, i = 0, j = 1; break;
    default: return v;
    }
    const float e = extent.data()[k];
    if (e == 0.0f)
        return v;
    const Vector3 d = v - centre;
    float t = std::fabs(d.data()[k] / e);
    if (t < 0.01f)
        t = 0.01f;
    v.data()[i] = centre.data()[i] + (t * (scale1 - 1.0f) + 1.0f) * d.data()[i];
    v.data()[j] = centre.data()[j] + (t * (scale2 - 1.0f) + 1.0f) * d.data()[j];
    return v;
}

// ---- twist ----

void TwistDeformer::setup(const Vector3& l, const Vector3& a, int axisSet, int spareValue)
{
    length = l;
    angle = a;
    axes = axisSet;
    spare = spareValue;
}

Vector3 TwistDeformer::deform(Vector3 v) const
{
    Vector3 d = v - centre;
    if (axes & deformaxis::kX) {
        const float a = d.x / length.x * angle.x;
        const float c = std::cos(a), s = std::sin(a);
        d = {d.x, d.y * c - d.z * s, d.y * s + d.z * c};
    } else if (axes & deformaxis::kY) {
        const float a = d.y / length.y * angle.y;
        const float c = std::cos(a), s = std::sin(a);
        d = {d.x * c - d.z * s, d.y, d.z * c + d.x * s};
    } else if (axes & deformaxis::kZ) {
        const float a = d.z / length.z * angle.z;
        const float c = std::cos(a), s = std::sin(a);
        d = {d.x * c - d.y * s, d.y * c + d.x * s, d.z};
    }
    return centre + d;
}
