#include "Meshes.h"

#include "Canvas.h"
#include "ImageFiles.h"
#include "geometry/MeshFile.h"
#include "material/Material.h"
#include "material/MaterialLibrary.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <cstdio>
#include <map>
#include <tuple>

namespace meshes {

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kTau = 6.2831853f;

// Outward from a fixed point (closed, star-shaped bodies).
std::function<Vector3(const Vector3&)> awayFrom(Vector3 centre)
{
    return [centre](const Vector3& p) { return p - centre; };
}
// Towards a fixed point (rooms seen from inside).
std::function<Vector3(const Vector3&)> towards(Vector3 centre)
{
    return [centre](const Vector3& p) { return centre - p; };
}

// A closed body around the origin: radius r(u, v) along the unit direction of azimuth u and
// polar angle v, squashed by `scale`.
Shape body(int columns, int rows, const std::function<float(float, float, const Vector3&)>& radius,
           const Vector3& scale, const std::string& material)
{
    Shape s;
    s.grid(
        columns, rows,
        [&](float u, float v) {
            const float a = u * kTau, b = v * kPi;
            const Vector3 d{std::sin(b) * std::cos(a), std::cos(b), std::sin(b) * std::sin(a)};
            const float r = radius(u, v, d);
            return Vector3{d.x * r * scale.x, d.y * r * scale.y, d.z * r * scale.z};
        },
        awayFrom({0, 0, 0}), material);
    return s;
}

// Gentle lumps: a few low-frequency waves over the sphere.
float lumps(const Vector3& d, float phase, float amount)
{
    return 1.0f + amount * (std::sin(3.1f * d.x + phase) * std::sin(2.3f * d.y + 1.7f * phase) +
                            0.6f * std::sin(4.7f * d.z + 2.1f * d.x - phase));
}

// A head: an egg with brow, nose and a jaw that opens by `open` (0..1), on the same grid for
// every opening so the shapes can be blended.
Shape head(float open)
{
    return body(
        40, 30,
        [open](float, float, const Vector3& d) {
            float r = 6.0f * (1.0f + 0.12f * d.y);                          // egg, wider on top
            r += 0.9f * std::exp(-((d.y - 0.25f) * (d.y - 0.25f) + d.x * d.x) * 14.0f) * (d.z < 0);  // brow
            r += 1.2f * std::exp(-(d.y * d.y * 30.0f + d.x * d.x * 40.0f)) * (d.z < 0);                // nose
            // The jaw drops below the mouth line.
            const float mouth = std::exp(-((d.y + 0.35f) * (d.y + 0.35f)) * 40.0f) * std::exp(-d.x * d.x * 6.0f);
            r -= mouth * (0.6f + 2.2f * open) * (d.z < 0);
            return r;
        },
        {0.85f, 1.0f, 0.95f}, "IntroHead");
}

// A tube of radius `radius` along a closed or open curve c(t), t in 0..1.
Shape tube(int segments, int sides, float radius, const std::function<Vector3(float)>& curve,
           const std::string& material, Shape s = {})
{
    auto frame = [&](float t, Vector3& centre, Vector3& n, Vector3& b) {
        const float e = 0.001f;
        centre = curve(t);
        const Vector3 tangent = (curve(t + e) - curve(t - e)).normalized();
        Vector3 ref = std::fabs(tangent.y) < 0.9f ? Vector3{0, 1, 0} : Vector3{1, 0, 0};
        b = cross(tangent, ref).normalized();
        n = cross(b, tangent).normalized();
    };
    s.grid(
        segments, sides,
        [&](float t, float v) {
            Vector3 c, n, b;
            frame(t, c, n, b);
            const float a = v * kTau;
            return c + (n * std::cos(a) + b * std::sin(a)) * radius;
        },
        [&](const Vector3& p) {
            // Outward from the nearest point of the curve (sampled).
            float best = 1e30f;
            Vector3 nearest;
            for (int i = 0; i <= 256; ++i) {
                const Vector3 c = curve(float(i) / 256.0f);
                const float d = distance(c, p);
                if (d < best)
                    best = d, nearest = c;
            }
            return p - nearest;
        },
        material);
    return s;
}

// A solid of revolution about y: profile (radius, height) over v in 0..1.
Shape lathe(int columns, int rows, const std::function<std::pair<float, float>(float)>& profile,
            const std::function<Vector3(const Vector3&)>& outward, const std::string& material,
            Shape s = {})
{
    s.grid(
        columns, rows,
        [&](float u, float v) {
            const auto [r, y] = profile(v);
            const float a = u * kTau;
            return Vector3{r * std::cos(a), y, r * std::sin(a)};
        },
        outward, material);
    return s;
}

// The inside of a box room with a floor, four walls and a ceiling. With `tile` 0 each side
// shows its picture once; otherwise the picture repeats every `tile` units, so a large room keeps
// the blocks of a small one.
Shape room(const Vector3& half, const std::string& wall, const std::string& floor, float tile = 0.0f)
{
    Shape s;
    const Vector3 centre{0, 0, 0};
    struct Side {
        Vector3 origin, du, dv;
        const std::string* material;
        int columns, rows;
    };
    const Side sides[] = {
        {{-half.x, -half.y, -half.z}, {2 * half.x, 0, 0}, {0, 0, 2 * half.z}, &floor, 12, 12},
        {{-half.x, half.y, -half.z}, {2 * half.x, 0, 0}, {0, 0, 2 * half.z}, &wall, 6, 6},
        {{-half.x, -half.y, -half.z}, {2 * half.x, 0, 0}, {0, 2 * half.y, 0}, &wall, 12, 6},
        {{-half.x, -half.y, half.z}, {2 * half.x, 0, 0}, {0, 2 * half.y, 0}, &wall, 12, 6},
        {{-half.x, -half.y, -half.z}, {0, 0, 2 * half.z}, {0, 2 * half.y, 0}, &wall, 12, 6},
        {{half.x, -half.y, -half.z}, {0, 0, 2 * half.z}, {0, 2 * half.y, 0}, &wall, 12, 6},
    };
    for (const Side& side : sides) {
        const std::size_t first = s.uvs.size();
        s.grid(
            side.columns, side.rows, [&](float u, float v) { return side.origin + side.du * u + side.dv * v; },
            towards(centre), *side.material);
        if (tile <= 0.0f)
            continue;
        const float repeatU = std::round(side.du.length() / tile), repeatV = std::round(side.dv.length() / tile);
        for (std::size_t i = first; i < s.uvs.size(); ++i)
            s.uvs[i] = {s.uvs[i].u * std::max(repeatU, 1.0f), s.uvs[i].v * std::max(repeatV, 1.0f)};
    }
    return s;
}

// A five-pointed star ball: the radius swells into points around the equator and flattens
// towards the poles.
Shape star()
{
    return body(
        60, 24,
        [](float u, float v, const Vector3&) {
            const float points = 0.5f + 0.5f * std::cos(u * kTau * 5.0f);
            const float belly = std::sin(v * kPi);
            return 0.9f + 1.9f * std::pow(points, 3.0f) * belly * belly;
        },
        {1.0f, 0.55f, 1.0f}, "WaterStar");
}

// The stone deck around the water: a square frame from the surface's edge (half size 4.1) out
// to 16, a hair above the water line so the still rim of the surface tucks under it.
Shape poolDeck()
{
    constexpr float inner = 4.1f, outer = 16.0f, y = 0.03f;
    const auto up = [](const Vector3&) { return Vector3{0, 1, 0}; };
    const auto lerp = [](float a, float b, float t) { return a + (b - a) * t; };
    Shape s;
    const float bands[2][2] = {{-outer, -inner}, {inner, outer}};
    for (const auto& band : bands) {
        // Full-width strips along x on both z sides, short strips along z on both x sides.
        s.grid(8, 3, [&](float u, float v) { return Vector3{lerp(-outer, outer, u), y, lerp(band[0], band[1], v)}; },
               up, "WaterDeck");
        s.grid(3, 2, [&](float u, float v) { return Vector3{lerp(band[0], band[1], u), y, lerp(-inner, inner, v)}; },
               up, "WaterDeck");
    }
    return s;
}

// The tunnel's course: a Catmull-Rom curve through waypoints that pass about 20 units above each
// of the four metaball clusters the tunnel scene places (so the camera flies past them, never
// through them, and they rise from the tube's floor) and close by its lights (the camera keys of
// "tunnelscene.scene" follow the same curve), with a lead-in and a run-out at both ends.
constexpr float kTunnelRadius = 26.0f;
Vector3 tunnelPath(float t)
{
    static const Vector3 points[] = {{-150, -60, 190}, {-110, -72, 150}, {-72.6f, -58, 109.6f}, {-35, -44, 62},
                                     {-10.6f, -2, 24.6f},  {3, 6, 9},      {30.6f, 37, -2.7f},   {58, 26, -18},
                                     {93.1f, 24, -59.9f},  {125, 10, -95}, {160, 6, -130}};
    constexpr int last = int(std::size(points)) - 1;
    const float x = std::clamp(t, 0.0f, 1.0f) * float(last);
    const int k = std::min(int(x), last - 1);
    const float f = x - float(k);
    const Vector3& p0 = points[std::max(k - 1, 0)];
    const Vector3& p1 = points[k];
    const Vector3& p2 = points[k + 1];
    const Vector3& p3 = points[std::min(k + 2, last)];
    const float f2 = f * f, f3 = f2 * f;
    return (p1 * 2.0f + (p2 - p0) * f + (p0 * 2.0f - p1 * 5.0f + p2 * 4.0f - p3) * f2 +
            (p1 * 3.0f - p0 - p2 * 3.0f + p3) * f3) *
           0.5f;
}

// A (p, q) torus knot of radius R.
Vector3 torusKnot(float t, int p, int q, float R, float r)
{
    const float a = t * kTau;
    const float k = R + r * std::cos(float(q) * a);
    return {k * std::cos(float(p) * a), r * std::sin(float(q) * a), k * std::sin(float(p) * a)};
}

Shape joined(std::vector<Shape> parts)
{
    Shape all;
    for (const Shape& part : parts) {
        const int base = int(all.positions.size());
        all.positions.insert(all.positions.end(), part.positions.begin(), part.positions.end());
        all.uvs.insert(all.uvs.end(), part.uvs.begin(), part.uvs.end());
        for (std::size_t t = 0; t < part.triangles.size(); ++t) {
            const auto& tri = part.triangles[t];
            all.triangles.push_back({tri[0] + base, tri[1] + base, tri[2] + base});
            all.triangleMaterial.push_back(all.material(part.materials[std::size_t(part.triangleMaterial[t])]));
        }
    }
    return all;
}

// A small gliding creature, nose along +z (the way the flock heads it): a slim body, swept wings
// and a forked tail, each a flattened closed body so it reads from every side.
Shape creature()
{
    // An ellipsoid with half axes `half` around `centre`, bent back by `sweep` units of z per
    // unit of |x|, so wide parts trail towards their tips.
    auto part = [](int columns, int rows, Vector3 half, Vector3 centre, float sweep, const char* material) {
        Shape s;
        s.grid(
            columns, rows,
            [=](float u, float v) {
                const float a = u * kTau, b = v * kPi;
                Vector3 p{std::sin(b) * std::cos(a) * half.x, std::cos(b) * half.y, std::sin(b) * std::sin(a) * half.z};
                p.z -= sweep * std::fabs(p.x);
                return p + centre;
            },
            [=](const Vector3& q) {
                // The gradient of the unbent ellipsoid.
                Vector3 p = q - centre;
                p.z += sweep * std::fabs(p.x);
                return Vector3{p.x / (half.x * half.x), p.y / (half.y * half.y), p.z / (half.z * half.z)};
            },
            material);
        return s;
    };
    // Fifty of them are drawn every frame, mostly small: a few hundred triangles each.
    return joined({part(10, 6, {1.1f, 0.9f, 4.6f}, {0, 0, 0}, 0.0f, "IntroBoid"),
                   part(14, 4, {6.5f, 0.3f, 1.7f}, {0, 0.25f, 0.8f}, 0.45f, "IntroBoidWing"),
                   part(10, 4, {2.4f, 0.22f, 1.0f}, {0, 0.1f, -4.0f}, 0.7f, "IntroBoidWing")});
}

// A shape moved by `offset`.
Shape moved(Shape s, const Vector3& offset)
{
    for (Vector3& p : s.positions)
        p += offset;
    return s;
}

// The Vizidedar land: a disc of radius 700 around the vessel, flat where it stands and rising
// into low rolling hills towards the horizon; the stone repeats every 40 units.
Shape panoramaLand()
{
    Shape s;
    s.grid(
        64, 16,
        [](float u, float v) {
            const float a = u * kTau, r = 700.0f * v * v;
            const float hills = std::sin(a * 5.0f + 1.3f) * std::sin(a * 3.0f - r * 0.01f) + 0.5f * std::sin(r * 0.02f + a * 7.0f);
            const float y = -12.5f + 14.0f * smoothstep(90.0f, 520.0f, r) * (1.0f + 0.6f * hills);
            return Vector3{r * std::cos(a), y, r * std::sin(a)};
        },
        [](const Vector3&) { return Vector3{0, 1, 0}; }, "VizLand");
    for (std::size_t i = 0; i < s.uvs.size(); ++i)
        s.uvs[i] = {s.positions[i].x / 40.0f, s.positions[i].z / 40.0f};
    return s;
}

// The Vizidedar sky: the inside of a cylinder of radius 760 carrying the panorama once round,
// its painted horizon at the camera's height, closed by a lid in the picture's top colour.
Shape panoramaSky()
{
    constexpr float radius = 760.0f, bottom = -150.0f, top = 330.0f;
    const auto inwards = [](const Vector3& p) { return Vector3{-p.x, 0, -p.z}; };
    Shape s;
    s.grid(
        64, 4, [&](float u, float v) { return Vector3{radius * std::cos(u * kTau), top + (bottom - top) * v, radius * std::sin(u * kTau)}; },
        inwards, "VizSky");
    Shape lid;
    lid.grid(
        64, 2, [&](float u, float v) { return Vector3{radius * v * std::cos(u * kTau), top, radius * v * std::sin(u * kTau)}; },
        [](const Vector3&) { return Vector3{0, -1, 0}; }, "VizSky");
    for (MeshTexCoord& uv : lid.uvs)
        uv.v = 0.01f;
    return joined({s, lid});
}

// Copper spires around the vessel at different distances, tall and slender, each with a bulb
// and a finial, so the key light draws warm lines across the panorama.
Shape panoramaSpires()
{
    struct Spire {
        float angle, distance, height, girth;
    };
    const Spire spires[] = {{0.3f, 150, 90, 5.0f},  {1.2f, 230, 140, 7.0f}, {2.0f, 120, 60, 4.0f},
                            {2.9f, 300, 170, 9.0f}, {3.7f, 170, 110, 6.0f}, {4.6f, 260, 80, 6.5f},
                            {5.4f, 140, 120, 5.0f}, {6.0f, 340, 200, 10.0f}};
    std::vector<Shape> parts;
    for (const Spire& sp : spires) {
        Shape spire = lathe(
            12, 18,
            [sp](float v) {
                const float bulb = std::exp(-std::pow((v - 0.62f) / 0.06f, 2.0f));
                return std::pair{sp.girth * ((1.0f - v) * (1.0f - v) * 0.9f + 0.12f + 0.9f * bulb) * (v < 0.999f),
                                 -12.5f + sp.height * v};
            },
            [](const Vector3& p) { return Vector3{p.x, 0, p.z}; }, "VizSpire");
        parts.push_back(moved(spire, {sp.distance * std::cos(sp.angle), 0, sp.distance * std::sin(sp.angle)}));
    }
    return joined(parts);
}

// The eye emblem of the interlude, facing the viewer along -z: the almond's two arcs (circles
// through its corners, half-width w and half-height h) and the iris ring inside it.
Vector3 almondArc(float t, float w, float h, float side)
{
    const float k = (w * w - h * h) / (2.0f * h);
    const float r = h + k;
    const float a1 = std::atan2(k, w);
    const float a = (kPi - a1) + (2.0f * a1 - kPi) * t;
    return {r * std::cos(a), side * (r * std::sin(a) - k), 0.0f};
}

Vector3 circleXY(float t, float radius)
{
    return {radius * std::cos(t * kTau), radius * std::sin(t * kTau), 0.0f};
}

Shape emblem()
{
    constexpr float w = 8.0f, h = 4.4f;
    return joined({
        tube(48, 8, 0.22f, [](float t) { return almondArc(t, w, h, 1.0f); }, "EmblemGold"),
        tube(48, 8, 0.22f, [](float t) { return almondArc(t, w, h, -1.0f); }, "EmblemGold"),
        tube(64, 8, 0.16f, [](float t) { return circleXY(t, 2.4f); }, "EmblemGold"),
    });
}

// The ring that turns round the emblem: a fine circle with four beads on it.
Shape halo()
{
    constexpr float radius = 11.0f;
    std::vector<Shape> parts{tube(96, 6, 0.1f, [](float t) { return circleXY(t, radius); }, "HaloLight")};
    for (int i = 0; i < 4; ++i) {
        Shape bead = body(12, 8, [](float, float, const Vector3&) { return 0.45f; }, {1, 1, 1}, "HaloLight");
        const Vector3 at = circleXY(float(i) * 0.25f, radius);
        for (Vector3& p : bead.positions)
            p = p + at;
        parts.push_back(bead);
    }
    return joined(parts);
}

// Grids repeat their first column at the seam (and their first row at the poles); copies of one
// point get one normal there, so curved bodies show no seam. Copies whose normals differ by more
// than 60 degrees are real edges (room corners) and stay apart.
void smoothSeams(Mesh& mesh)
{
    // Keyed to a ten-thousandth of a unit: the seam's cos(2π) is not exactly cos(0).
    std::map<std::tuple<long, long, long>, std::vector<int>> copies;
    for (int i = 0; i < mesh.vertices.size(); ++i) {
        const Vector3& p = mesh.vertices[i].position;
        copies[{std::lround(p.x * 1e4f), std::lround(p.y * 1e4f), std::lround(p.z * 1e4f)}].push_back(i);
    }
    for (const auto& [point, indices] : copies) {
        if (indices.size() < 2)
            continue;
        const Vector3 first = mesh.vertices[indices[0]].normal;
        Vector3 sum;
        for (int i : indices)
            if (dot(mesh.vertices[i].normal, first) > 0.5f)
                sum += mesh.vertices[i].normal;
        sum.normalize();
        for (int i : indices)
            if (dot(mesh.vertices[i].normal, first) > 0.5f)
                mesh.vertices[i].normal = sum;
    }
}

} // namespace

int Shape::material(const std::string& name)
{
    for (std::size_t i = 0; i < materials.size(); ++i)
        if (materials[i] == name)
            return int(i);
    materials.push_back(name);
    return int(materials.size()) - 1;
}

void Shape::grid(int columns, int rows, const std::function<Vector3(float, float)>& f,
                 const std::function<Vector3(const Vector3&)>& outward, const std::string& materialName)
{
    const int m = material(materialName);
    const int base = int(positions.size());
    for (int j = 0; j <= rows; ++j)
        for (int i = 0; i <= columns; ++i) {
            const float u = float(i) / float(columns), v = float(j) / float(rows);
            positions.push_back(f(u, v));
            uvs.push_back({u, v});
        }
    auto index = [&](int i, int j) { return base + j * (columns + 1) + i; };
    auto add = [&](int a, int b, int c) {
        const Vector3 n = cross(positions[std::size_t(b)] - positions[std::size_t(a)],
                                positions[std::size_t(c)] - positions[std::size_t(a)]);
        if (n.length() < 1e-9f)
            return;  // degenerate (poles, seams)
        const Vector3 centroid = (positions[std::size_t(a)] + positions[std::size_t(b)] + positions[std::size_t(c)]) *
                                 (1.0f / 3.0f);
        if (dot(n, outward(centroid)) < 0)
            std::swap(b, c);
        triangles.push_back({a, b, c});
        triangleMaterial.push_back(m);
    };
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < columns; ++i) {
            add(index(i, j), index(i + 1, j), index(i + 1, j + 1));
            add(index(i, j), index(i + 1, j + 1), index(i, j + 1));
        }
}

std::unique_ptr<Mesh> build(const Shape& shape)
{
    auto mesh = std::make_unique<Mesh>();
    mesh->flags = Mesh::kNormals | Mesh::texCoordFlag(0);
    if (!mesh->allocate(int(shape.positions.size()), int(shape.triangles.size())))
        return nullptr;
    for (std::size_t i = 0; i < shape.positions.size(); ++i) {
        MeshVertex v;
        v.position = shape.positions[i];
        v.colour[0] = v.colour[1] = v.colour[2] = 255;
        mesh->addVertex(v, std::span(&shape.uvs[i], 1));
    }
    MaterialLibrary* library = MaterialLibrary::instance;
    for (std::size_t t = 0; t < shape.triangles.size(); ++t) {
        MeshFace face;
        for (int k = 0; k < 3; ++k)
            face.indices[k] = shape.triangles[t][std::size_t(k)];
        const std::string& name = shape.materials[std::size_t(shape.triangleMaterial[t])];
        Material* material = library->find(name);
        if (!material) {
            library->add(new Material(name));
            material = library->find(name);
        }
        face.setMaterial(material);
        mesh->addFace(std::move(face));
    }
    mesh->computeBounds();
    mesh->computeFacePlanes();
    mesh->computeVertexNormals();
    smoothSeams(*mesh);
    return mesh;
}

std::vector<MeshAsset> assets()
{
    return {
        // The opening: two lumpy blobs, a head in two poses, a small creature for the flock, the box.
        {"data/obj/blob.msh",
         [] { return body(48, 32, [](float, float, const Vector3& d) { return 6.0f * lumps(d, 0.0f, 0.12f); },
                          {1, 1, 1}, "IntroBlob"); }},
        {"data/obj/blob2.msh",
         [] { return body(48, 32, [](float, float, const Vector3& d) { return 4.5f * lumps(d, 1.9f, 0.18f); },
                          {1, 1.2f, 1}, "IntroBlob2"); }},
        {"data/obj/bitehead-anim-001.msh", [] { return head(0.0f); }},
        {"data/obj/bitehead-anim-002.msh", [] { return head(1.0f); }},
        {"data/obj/boid.msh", creature},
        // The room is the flock's whole space (it keeps to ±256 across and ±100 in height) with
        // room for a creature's half length before the walls.
        {"data/obj/intro_boks.msh", [] { return room({272, 112, 272}, "IntroWalls", "IntroFloor", 68.0f); }},
        // The water: the spinning star and the pool basin.
        {"data/obj/pstar.msh", star},
        {"data/obj/pool.msh", poolDeck},
        // The tunnel: a long ribbed tube seen from inside, and the cone of a volumetric light.
        {"data/obj/tunnel.msh",
         [] {
             // Seen from inside: every wall triangle turned to face the curve.
             Shape s = tube(160, 32, kTunnelRadius, tunnelPath, "TunnelWall");
             for (auto& tri : s.triangles)
                 std::swap(tri[1], tri[2]);
             // The panel picture repeats 60 times along the tube and 4 times around it.
             for (MeshTexCoord& uv : s.uvs)
                 uv = {uv.u * 60.0f, uv.v * 4.0f};
             // The way out: a disc across the far end, facing back down the tube, its picture
             // running from the centre (v = 0) to the rim.
             const Vector3 end = tunnelPath(1.0f);
             const Vector3 along = (end - tunnelPath(0.999f)).normalized();
             const Vector3 b = cross(along, Vector3{0, 1, 0}).normalized(), n = cross(b, along).normalized();
             s.grid(
                 32, 4,
                 [&](float u, float v) {
                     const float a = u * kTau;
                     return end + (n * std::cos(a) + b * std::sin(a)) * (kTunnelRadius * v);
                 },
                 [along](const Vector3&) { return along * -1.0f; }, "TunnelExit");
             return s;
         }},
        // The light's body: a slim cone whose growing, fading shells make the beam.
        {"data/obj/volting.msh",
         [] {
             return lathe(24, 4, [](float v) { return std::pair{0.3f + v * 1.6f, 2.0f - v * 6.0f}; },
                          [](const Vector3& p) { return Vector3{p.x, 0, p.z}; }, "TunnelLightBody");
         }},
        // The cellar: the room and its twisting object.
        {"data/obj/cellar.msh", [] { return room({40, 20, 40}, "CellarWall", "CellarFloor"); }},
        {"data/obj/ting3.msh",
         [] {
             return body(48, 32,
                         [](float u, float v, const Vector3& d) {
                             return 5.0f + 1.2f * std::cos(u * kTau * 4.0f) * std::sin(v * kPi) + 0.4f * d.y;
                         },
                         {1, 1.6f, 1}, "CellarThing");
         }},
        // The geometric world: a ring, a spiked ball and a floor tile.
        {"data/obj/geo_ring.msh",
         [] { return tube(72, 16, 2.0f, [](float t) { return torusKnot(t, 1, 0, 14.0f, 0.0f); }, "GeoRing"); }},
        {"data/obj/geo_spikes.msh",
         [] {
             return body(64, 32,
                         [](float u, float v, const Vector3&) {
                             const float s = std::cos(u * kTau * 8.0f) * std::cos(v * kPi * 8.0f);
                             return 4.0f + 2.5f * std::pow(std::fmax(s, 0.0f), 4.0f);
                         },
                         {1, 1, 1}, "GeoSpikes");
         }},
        // Vizidedar: a lathed vessel on a plinth in a night panorama of hills and copper spires.
        {"data/obj/viz_land.msh", panoramaLand},
        {"data/obj/viz_sky.msh", panoramaSky},
        {"data/obj/viz_spires.msh", panoramaSpires},
        {"data/obj/viz_vessel.msh",
         [] {
             Shape vessel = lathe(
                 48, 40,
                 [](float v) {
                     const float y = v * 24.0f - 12.0f;
                     return std::pair{2.5f + 4.0f * std::sin(v * kPi) + 1.4f * std::sin(v * kTau * 2.0f) * v, y};
                 },
                 [](const Vector3& p) { return Vector3{p.x, 0, p.z}; }, "VizVessel");
             Shape plinth = lathe(48, 2, [](float v) { return std::pair{16.0f * (1.0f - v), -12.5f}; },
                                  [](const Vector3&) { return Vector3{0, 1, 0}; }, "VizPlinth");
             return joined({vessel, plinth});
         }},
        // The greetings: a bundle of pipes and a knotted tube.
        {"data/obj/g_pipes.msh",
         [] {
             std::vector<Shape> pipes;
             for (int k = 0; k < 6; ++k) {
                 const float a = float(k) / 6.0f * kTau;
                 pipes.push_back(tube(
                     40, 10, 1.3f,
                     [a](float t) { return Vector3{9.0f * std::cos(a), t * 48.0f - 24.0f, 9.0f * std::sin(a)}; },
                     "GreetPipe"));
             }
             return joined(pipes);
         }},
        {"data/obj/dings.msh",
         [] { return tube(160, 12, 0.9f, [](float t) { return torusKnot(t, 2, 3, 4.0f, 1.8f); }, "GreetDings"); }},
        // The interlude: the eye emblem and the beaded ring turning round it.
        {"data/obj/emblem.msh", emblem},
        {"data/obj/halo.msh", halo},
    };
}

std::vector<MeshAsset> starterAssets()
{
    return {
        // The starter show's lit mesh: a (2, 3) torus knot about 5 units across, its axis up.
        {"data/obj/knot.msh",
         [] { return tube(128, 12, 0.42f, [](float t) { return torusKnot(t, 2, 3, 1.7f, 0.75f); }, "StarterKnot"); }},
    };
}

bool write(const std::string& outDir, bool progress, std::string& error)
{
    return writeAssets(assets(), outDir, progress, error);
}

bool writeAssets(const std::vector<MeshAsset>& list, const std::string& outDir, bool progress, std::string& error)
{
    // Faces refer to materials by name; a private library lends the names while writing.
    MaterialLibrary library;
    for (const MeshAsset& asset : list) {
        const std::string path = outDir + "/" + asset.path;
        std::unique_ptr<Mesh> mesh = build(asset.make());
        if (!mesh) {
            error = asset.path + ": empty shape";
            return false;
        }
        if (!imagefiles::makeParent(path, error))
            return false;
        if (!meshfile::write(path, *mesh)) {
            error = "can't write " + path;
            return false;
        }
        if (progress)
            std::printf("  %s: %d vertices, %d faces\n", asset.path.c_str(), mesh->vertices.size(), mesh->faces.size());
    }
    return true;
}

} // namespace meshes
