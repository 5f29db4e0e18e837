#include "AlienContent.h"

#include "Artwork.h"
#include "Canvas.h"
#include "ImageFiles.h"

#include "geometry/Mesh.h"
#include "geometry/MeshFile.h"
#include "material/Material.h"
#include "material/MaterialLibrary.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>

namespace aliencontent {

namespace {

using namespace artwork::palette;

constexpr float kPi = 3.14159265f;

const char* const kSkin = "data/art/alien_skin.jpg";
const char* const kWave = "data/art/alien_wave.jpg";
const char* const kGloss = "data/art/eye_gloss.jpg";
const char* const kEyeball = "data/obj/eye_globe.msh";
const char* const kCornea = "data/obj/eye_cornea.msh";
const char* const kShell = "data/obj/eye_shell.msh";
const char* const kTentacle = "data/obj/eye_tentacle.msh";

float clamp01(float v) { return v < 0.0f ? 0.0f : v > 1.0f ? 1.0f : v; }

// A sphere map seen as the reflection of a hot, violet world: deep indigo in the middle, a
// glowing ember rim where grazing rays catch the light, a frost highlight upper left and slow
// veins, so the blobs read as wet living matter.
void drawSkin(Canvas& canvas)
{
    const int w = canvas.width(), h = canvas.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float sx = (x + 0.5f) / w * 2.0f - 1.0f, sy = (y + 0.5f) / h * 2.0f - 1.0f;
            const float r = std::sqrt(sx * sx + sy * sy);
            const float rim = smoothstep(0.78f, 1.0f, r);
            Colour c = mix(mix(kViolet, kFrost, 0.45f), kViolet, smoothstep(0.1f, 0.75f, r));
            c = mix(c, kEmber, rim * 0.8f);
            c = mix(c, kGold, smoothstep(0.95f, 1.0f, r) * 0.5f);
            // Veins: thin bright ridges of two crossing waves.
            const float vein = std::pow(std::fabs(std::sin(sx * 9.0f + std::sin(sy * 5.0f) * 1.7f)), 18.0f) +
                               std::pow(std::fabs(std::sin(sy * 11.0f + std::cos(sx * 4.0f) * 2.1f)), 24.0f);
            c = mix(c, kPaper, clamp01(vein) * 0.12f * (1.0f - rim));
            // The key light, upper left, and a smaller second one lower right.
            const float dx = sx + 0.38f, dy = sy + 0.42f;
            const float spot = std::exp(-(dx * dx + dy * dy) / 0.02f);
            const float ex = sx - 0.45f, ey = sy - 0.5f;
            const float spot2 = std::exp(-(ex * ex + ey * ey) / 0.006f);
            c = mix(c, kPaper, clamp01(spot * 0.95f + spot2 * 0.5f));
            float* p = canvas.pixel(x, y);
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
            p[3] = 1.0f;
        }
}

// Light streaks for the beam tunnel: u runs along a beam (two lengths of the tube per texture
// repeat), v across it in two bands, one per pair of faces. Pulses of frost and violet with
// bright leading edges and dark gaps, so the scrolling texture reads as light running down the
// tunnel; additive, so black is clear.
void drawWave(Canvas& canvas)
{
    const int w = canvas.width(), h = canvas.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float u = (x + 0.5f) / w, v = (y + 0.5f) / h;
            const float band = std::fmod(v * 2.0f, 1.0f);  // across one face
            const float across = std::pow(std::sin(band * kPi), 0.6f);
            const float edge = std::exp(-std::pow((band - 0.5f) / 0.08f, 2.0f));
            float light = 0.0f;
            // Three pulse trains of different length, each a sharp front with a long tail.
            const float trains[3][3] = {{5.0f, 0.0f, 1.0f}, {3.0f, 0.37f, 0.6f}, {8.0f, 0.71f, 0.45f}};
            for (const auto& t : trains) {
                const float phase = std::fmod(u * t[0] + t[1] + (v < 0.5f ? 0.0f : 0.5f), 1.0f);
                light += t[2] * std::exp(-phase * 7.0f) * (phase < 0.97f ? 1.0f : (1.0f - phase) / 0.03f);
            }
            light = clamp01(light * 0.75f);
            Colour c = mix(kViolet, kFrost, clamp01(light * 1.2f));
            c = mix(c, kPaper, clamp01(edge * light));
            // Eight overlapping copies of each beam add up: each gives only a little light.
            const float strength = 0.4f * clamp01(0.03f + light) * (0.25f + 0.75f * across);
            float* p = canvas.pixel(x, y);
            p[0] = c.r * strength;
            p[1] = c.g * strength;
            p[2] = c.b * strength;
            p[3] = 1.0f;
        }
}

// The eye's wet gloss as a sphere map: black with two soft highlights, added over the cornea.
void drawGloss(Canvas& canvas)
{
    const int w = canvas.width(), h = canvas.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float sx = (x + 0.5f) / w * 2.0f - 1.0f, sy = (y + 0.5f) / h * 2.0f - 1.0f;
            const float a = std::exp(-((sx + 0.3f) * (sx + 0.3f) + (sy + 0.35f) * (sy + 0.35f)) / 0.012f);
            const float b = std::exp(-((sx - 0.4f) * (sx - 0.4f) + (sy - 0.3f) * (sy - 0.3f)) / 0.05f) * 0.25f;
            const float rim = smoothstep(0.8f, 1.0f, std::sqrt(sx * sx + sy * sy)) * 0.2f;
            Colour c = mix(Colour{}, kPaper, clamp01(a + b));
            c = mix(c, kFrost, rim);
            float* p = canvas.pixel(x, y);
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
            p[3] = 1.0f;
        }
}

bool writeJpeg(const std::string& outDir, const char* path, int size, void (*draw)(Canvas&), std::string& error)
{
    Canvas canvas(size, size);
    draw(canvas);
    const std::string full = outDir + "/" + path;
    return imagefiles::makeParent(full, error) && imagefiles::writeJpeg(full, size, size, canvas.rgb8(), 92, error);
}

std::uint8_t byte(float v) { return std::uint8_t(std::lround(clamp01(v) * 255.0f)); }

// The faces of a grid of (rings + 1) × (segments + 1) vertices, ring by ring, counter-clockwise
// seen from the side the normals point to; triangles that collapse (at a pole) are left out.
bool addGridFaces(Mesh& mesh, int rings, int segments, const char* material)
{
    Material* m = MaterialLibrary::instance ? MaterialLibrary::instance->find(material) : nullptr;
    if (!m)
        return false;
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < segments; ++s) {
            const int a = r * (segments + 1) + s, b = a + 1, c = a + segments + 1, d = c + 1;
            const int tris[2][3] = {{a, b, c}, {b, d, c}};
            for (const auto& t : tris) {
                const Vector3& p0 = mesh.vertices[t[0]].position;
                if (cross(mesh.vertices[t[1]].position - p0, mesh.vertices[t[2]].position - p0).length() < 1e-6f)
                    continue;
                MeshFace face;
                std::copy(t, t + 3, face.indices);
                m->addRef();
                face.setMaterial(m);
                mesh.addFace(face);
            }
        }
    MaterialLibrary::instance->release(m);
    return true;
}

// A latitude-longitude sphere around the z axis, poles at -z (the front, looking at the viewer)
// and +z; rings from the front pole up to `maxAngle` radians away from it. `colour` gives each
// vertex's colour from its unit direction;
bool buildSphere(Mesh& mesh, float radius, float maxAngle, float minAngle, int rings, int segments,
                 const char* material, const std::function<Colour(const Vector3&)>& colour)
{
    mesh.flags = Mesh::kNormals | Mesh::kColours;
    if (!mesh.allocate((rings + 1) * (segments + 1), 2 * rings * segments))
        return false;
    for (int r = 0; r <= rings; ++r) {
        const float theta = minAngle + (maxAngle - minAngle) * float(r) / float(rings);
        for (int s = 0; s <= segments; ++s) {
            const float phi = 2.0f * kPi * float(s) / float(segments);
            const Vector3 d{std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi), -std::cos(theta)};
            const Colour c = colour(d);
            mesh.addVertex(MeshVertex{d * radius, d, {byte(c.r), byte(c.g), byte(c.b), 255}});
        }
    }
    if (!addGridFaces(mesh, rings, segments, material))
        return false;
    mesh.computeBounds();
    mesh.computeFacePlanes();
    return true;
}

} // namespace

// Sclera pale with rose veins towards the back, a frost-to-violet iris with an ember ring and
// fibres, a black pupil facing -z.
bool buildEyeball(Mesh& mesh)
{
    return buildSphere(mesh, 3.0f, kPi, 0.0f, 40, 48, "EyeBall", [](const Vector3& d) {
        const float angle = std::acos(std::fmax(-1.0f, std::fmin(1.0f, -d.z)));
        const float around = std::atan2(d.y, d.x);
        if (angle < 0.2f)
            return mix(Colour{0.01f, 0.01f, 0.02f}, kNight, angle / 0.2f);
        if (angle < 0.55f) {
            const float t = (angle - 0.2f) / 0.35f;
            const float fibre = 0.5f + 0.5f * std::sin(around * 23.0f + t * 4.0f);
            Colour c = mix(kFrost, kViolet, t);
            c = mix(c, kPaper, fibre * 0.25f * (1.0f - t));
            return mix(c, kEmber, smoothstep(0.7f, 1.0f, t) * 0.8f);
        }
        const float vein = std::pow(std::fabs(std::sin(around * 7.0f + angle * 5.0f)), 30.0f) * smoothstep(0.9f, 2.2f, angle) *
                           (1.0f - smoothstep(2.4f, 2.9f, angle));
        return mix(mix(kPaper, Colour{0.93f, 0.78f, 0.78f}, smoothstep(0.6f, 2.5f, angle)), Colour{0.75f, 0.12f, 0.2f}, vein);
    });
}

// A thin cap over the iris that carries the gloss.
bool buildCornea(Mesh& mesh)
{
    return buildSphere(mesh, 3.08f, 0.75f, 0.0f, 10, 48, "EyeCornea", [](const Vector3&) { return kPaper; });
}

// The fleshy shell around the eye: open at the front, violet with indigo folds.
bool buildShell(Mesh& mesh)
{
    return buildSphere(mesh, 3.55f, kPi, 0.95f, 30, 48, "EyeFlesh", [](const Vector3& d) {
        const float around = std::atan2(d.y, d.x);
        const float fold = 0.5f + 0.5f * std::sin(around * 9.0f + d.z * 6.0f);
        return mix(mix(kViolet, kIndigo, fold * 0.7f), kEmber, smoothstep(-0.45f, -0.6f, d.z) * 0.6f);
    });
}

// A tapering, curling tentacle along +z from the origin, 9 units long.
bool buildTentacle(Mesh& mesh)
{
    const int rings = 36, segments = 12;
    mesh.flags = Mesh::kNormals | Mesh::kColours;
    if (!mesh.allocate((rings + 1) * (segments + 1), 2 * rings * segments))
        return false;
    for (int r = 0; r <= rings; ++r) {
        const float t = float(r) / float(rings);
        const float radius = 0.85f * (1.0f - t) + 0.06f;
        const Vector3 spine{1.6f * std::sin(t * 2.6f) * t, 0.7f * std::sin(t * 4.0f) * t, 9.0f * t};
        const Colour c = mix(mix(kViolet, kEmber, t * t), kGold, smoothstep(0.85f, 1.0f, t));
        for (int s = 0; s <= segments; ++s) {
            const float phi = 2.0f * kPi * float(s) / float(segments);
            const Vector3 n{std::cos(phi), std::sin(phi), 0.0f};
            const float sucker = (s % 3 == 0 && r % 3 == 1) ? 0.65f : 1.0f;
            const Colour v = mix(c, kNight, 1.0f - sucker);
            mesh.addVertex(MeshVertex{spine + n * radius, n, {byte(v.r), byte(v.g), byte(v.b), 255}});
        }
    }
    if (!addGridFaces(mesh, rings, segments, "EyeFlesh"))
        return false;
    mesh.computeBounds();
    mesh.computeFacePlanes();
    mesh.computeVertexNormals();
    return true;
}

std::vector<std::string> files() { return {kSkin, kWave, kGloss, kEyeball, kCornea, kShell, kTentacle}; }

bool write(const std::string& outDir, bool progress, std::string& error)
{
    if (!writeJpeg(outDir, kSkin, 256, drawSkin, error) || !writeJpeg(outDir, kWave, 256, drawWave, error) ||
        !writeJpeg(outDir, kGloss, 128, drawGloss, error))
        return false;

    // The meshes name their materials; a library of our own holds them while they are written.
    // Each is held once more until the end, so that a mesh giving back its faces' references
    // does not destroy a material the next mesh still needs.
    MaterialLibrary library;
    std::vector<Material*> held;
    for (const char* name : {"EyeBall", "EyeCornea", "EyeFlesh"}) {
        library.add(new Material(name));
        held.push_back(library.find(name));
    }
    struct Release {
        std::vector<Material*>& held;
        ~Release()
        {
            for (Material* m : held)
                MaterialLibrary::instance->release(m);
        }
    } release{held};
    const struct {
        const char* path;
        bool (*build)(Mesh&);
    } meshes[] = {{kEyeball, buildEyeball}, {kCornea, buildCornea}, {kShell, buildShell}, {kTentacle, buildTentacle}};
    for (const auto& m : meshes) {
        Mesh mesh;
        const std::string full = outDir + "/" + m.path;
        if (!m.build(mesh)) {
            error = std::string("cannot build ") + m.path;
            return false;
        }
        if (!imagefiles::makeParent(full, error))
            return false;
        if (!meshfile::write(full, mesh)) {
            error = "cannot write " + full;
            return false;
        }
    }
    if (progress)
        for (const std::string& f : files())
            std::printf("  %s (%ju bytes)\n", f.c_str(), imagefiles::fileSize(outDir + "/" + f));
    return true;
}

} // namespace aliencontent
