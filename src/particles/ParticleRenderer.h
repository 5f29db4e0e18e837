// Renderers draw the living particles with one material: points, line streaks along the last
// move, camera-facing quads, quads stretched along the last move, or one mesh per particle.
// The billboard vectors come from the model-view matrix at `begin`. Points, lines and quads are
// gathered into one vertex array and drawn in a single call at `end`.
#pragma once
#include "core/GL.h"
#include "math/Vector3.h"
#include "particles/Particle.h"
#include "script/ScriptReader.h"

#include <istream>
#include <memory>
#include <vector>

class Camera;
class Material;
class Mesh;

class ParticleRenderer {
public:
    // Takes over one counted reference to `material` (none allowed).
    explicit ParticleRenderer(Material* material);
    // Gives the material back to the material library.
    virtual ~ParticleRenderer();
    ParticleRenderer(const ParticleRenderer&) = delete;
    ParticleRenderer& operator=(const ParticleRenderer&) = delete;

    // Reads right = (m0, m4, m8) and up = (m1, m5, m9) of the current model-view matrix — the
    // view's x and y axes in the particles' space — and binds the material. The camera is not
    // consulted.
    virtual void begin(const Camera* camera);
    virtual void draw(const Particle& particle) = 0;
    // Unbinds the material.
    virtual void end();

    Material* material() const { return material_; }

    Vector3 right;
    Vector3 up;

private:
    Material* material_ = nullptr;
};

// One vertex of the gathered array, drawn with a stride of 36 bytes.
struct ParticleVertex {
    Vector3 position;
    float colour[4];
    float s, t;
};

// The renderers that gather vertices: lighting off for the draw, the enable and client state
// saved and restored around it.
class BatchRenderer : public ParticleRenderer {
public:
    BatchRenderer(Material* material, GLenum primitive, bool textured);
    void begin(const Camera* camera) override;
    void end() override;

    const std::vector<ParticleVertex>& vertices() const { return vertices_; }

protected:
    void add(const Vector3& position, const Particle& p, float s = 0.0f, float t = 0.0f)
    {
        vertices_.push_back({position, {p.colour[0], p.colour[1], p.colour[2], p.alpha}, s, t});
    }

private:
    GLenum primitive_;
    bool textured_;
    std::vector<ParticleVertex> vertices_;
};

class PointsRenderer final : public BatchRenderer {
public:
    explicit PointsRenderer(Material* material) : BatchRenderer(material, GL_POINTS, false) {}
    void draw(const Particle& p) override { add(p.position, p); }
};

// The segment each particle moved along in its last step.
class LinesRenderer final : public BatchRenderer {
public:
    explicit LinesRenderer(Material* material) : BatchRenderer(material, GL_LINES, false) {}
    void draw(const Particle& p) override
    {
        add(p.previousPosition, p);
        add(p.position, p);
    }
};

// A square of half-size `size` facing the viewer; the stretched kind places its second pair of
// corners around the previous position.
class QuadsRenderer : public BatchRenderer {
public:
    explicit QuadsRenderer(Material* material, bool stretched = false)
        : BatchRenderer(material, GL_QUADS, true), stretched_(stretched) {}
    void draw(const Particle& p) override
    {
        const Vector3 a = (right + up) * p.size;
        const Vector3 b = (up - right) * p.size;
        const Vector3& tail = stretched_ ? p.previousPosition : p.position;
        add(p.position + a, p, 1.0f, 0.0f);
        add(p.position + b, p, 0.0f, 0.0f);
        add(tail - a, p, 0.0f, 1.0f);
        add(tail - b, p, 1.0f, 1.0f);
    }

private:
    bool stretched_;
};

class StretchQuadsRenderer final : public QuadsRenderer {
public:
    explicit StretchQuadsRenderer(Material* material) : QuadsRenderer(material, true) {}
};

// The mesh drawn with its materials at every particle's position; nothing without a mesh. No
// colour, size or lighting state is set.
class MeshesRenderer final : public ParticleRenderer {
public:
    MeshesRenderer(Material* material, Mesh* mesh) : ParticleRenderer(material), mesh_(mesh) {}
    void begin(const Camera* camera) override;
    void draw(const Particle& p) override;
    void end() override;

    Mesh* mesh() const { return mesh_; }

private:
    Mesh* mesh_;
};

// Reads a "Renderer {" block, the opening line already consumed: "Type", "Shader" and "Mesh"
// lines with quoted values, up to the closing "}". None (reason logged) when a value is empty,
// the material is not in the library or the kind is unknown. A Meshes renderer finds its mesh
// through the mesh manager (find, then load).
std::unique_ptr<ParticleRenderer> readParticleRenderer(ScriptReader& reader, std::istream& stream);
