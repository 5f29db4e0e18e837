// Procedural deformers that rewrite the vertex positions of a mesh: a damped ripple, a bend, a
// taper and a twist. The hand-written scenes keep an undeformed copy of a mesh, set the
// parameters from the show time, run the deformers from the copy into the drawn mesh (or in
// place) and then refresh its face planes and vertex normals. Only positions change.
#pragma once
#include "geometry/Mesh.h"
#include "math/Matrix4x4.h"
#include "math/Vector3.h"

#include <cstdint>
#include <span>

// Axis codes and sets shared by the deformers.
namespace deformaxis {
inline constexpr int kX = 1;
inline constexpr int kY = 2;
inline constexpr int kZ = 4;
inline constexpr int kAll = kX | kY | kZ;
} // namespace deformaxis

class MeshDeformer {
public:
    virtual ~MeshDeformer() = default;
    // Writes the deformed position of each source vertex into the destination vertex of the
    // same index. The source and destination may be the same mesh; a destination with fewer
    // vertices receives only as many as it holds.
    virtual void applyToMesh(const Mesh& source, Mesh& destination);
    // The same over two vertex arrays (stride 28 bytes), which may be the same array.
    virtual void applyToVertices(std::span<const MeshVertex> source, std::span<MeshVertex> destination) = 0;
};

// The per-vertex loop every deformer shares; `Derived::deform` maps one position.
template <class Derived>
class PositionDeformer : public MeshDeformer {
public:
    void applyToVertices(std::span<const MeshVertex> source, std::span<MeshVertex> destination) override
    {
        const std::size_t count = source.size() < destination.size() ? source.size() : destination.size();
        const Derived& self = static_cast<const Derived&>(*this);
        for (std::size_t j = 0; j < count; ++j)
            destination[j].position = self.deform(source[j].position);
    }
};

// A damped sine wave per axis: the component along an axis is displaced by a wave over the
// distance from that axis line, fading with the distance.
class RippleDeformer : public PositionDeformer<RippleDeformer> {
public:
    struct Wave {
        int axis = 0;
        float amplitude = 0.0f;
        float spare = 0.0f;  // stored, has no effect
        float wavelength = 0.0f;
        float phaseOffset = 0.0f;
        float decay = 0.0f;
        float weight = 0.0f;
    };

    // Adds the axis (1 x, 2 y, 4 z) to the set and fills its record; false for any other code.
    bool setWave(int axis, float amplitude, float spare, float wavelength, float phaseOffset, float decay,
                 float weight);
    Vector3 deform(Vector3 v) const;

    int axes = 0;
    Wave wave[3];  // x, y, z
    float phase = 0.0f;  // the owner sets it every frame (the show time)
};

// Bends the space around a circle of radius (max − min) / θ in the plane chosen by the type and
// turned by ψ about z.
class BendDeformer : public PositionDeformer<BendDeformer> {
public:
    enum Type { kAboutX = 1, kAboutY = 2 };

    // Stores the parameters and derives the frame, its inverse and the radius (0, no bend, when
    // |θ| < 0.0001). A type other than 1 or 2 is refused (false) and leaves the bend unchanged.
    bool setup(float theta, float direction, int type, float min, float max);
    Vector3 deform(Vector3 v) const;

    int type = kAboutX;
    float angle = 0.0f;
    float direction = 0.0f;
    float min = -1.0f;
    float max = 1.0f;
    float radius = 0.0f;
    Matrix4x4 frame = Matrix4x4::identity();
    Matrix4x4 inverseFrame = Matrix4x4::identity();
};

// Scales the two cross axes of the taper axis by factors that grow with the distance from the
// centre along it.
class TaperDeformer : public PositionDeformer<TaperDeformer> {
public:
    void setup(const Vector3& centre, float scale1, float scale2, int axis);
    void setScale1(float s) { scale1 = s; }
    void setScale2(float s) { scale2 = s; }
    // extent = per axis max(max − centre, centre − min).
    void setExtentFromBox(const Vector3& min, const Vector3& max);
    // Unchanged for an axis code other than 1, 2 or 4, and where the extent along the axis is 0
    // (there is no distance to measure the taper against).
    Vector3 deform(Vector3 v) const;

    Vector3 centre;
    Vector3 extent;
    float scale1 = 1.0f;
    float scale2 = 1.0f;
    int axis = deformaxis::kZ;
};

// Turns the cross section about the first axis of the set (x, y, z order) by an angle that grows
// with the distance from the centre along that axis.
class TwistDeformer : public PositionDeformer<TwistDeformer> {
public:
    void setup(const Vector3& length, const Vector3& angle, int axes, int spare);
    void setAngles(const Vector3& a) { angle = a; }
    Vector3 deform(Vector3 v) const;

    Vector3 centre;
    Vector3 length{1.0f, 1.0f, 1.0f};
    Vector3 angle;  // radians per length
    int axes = deformaxis::kAll;
    int spare = 7;  // stored, has no effect
};
