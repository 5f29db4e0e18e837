#include "geometry/LwoMeshImporter.h"

#include "geometry/Mesh.h"
#include "lwo/LwoReader.h"
#include "material/MaterialLibrary.h"
#include "platform/Paths.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <map>
#include <vector>

namespace lwoimport {
namespace {

// A colour component in 0..1 as a byte, truncated; out-of-range values are clamped so that no
// file can make the conversion overflow.
std::uint8_t toByte(float c)
{
    if (!(c > 0.0f))
        return 0;
    if (c >= 1.0f)
        return 255;
    return std::uint8_t(c * 255.0f);
}

// The last entry of `map` for every point (-1 where it has none); entries naming points that do
// not exist are left out.
std::vector<std::int32_t> lastEntryPerPoint(const LwoVertexMap& map, std::size_t pointCount)
{
    std::vector<std::int32_t> entries(pointCount, -1);
    for (std::size_t e = 0; e < map.count(); ++e)
        if (map.points[e] < pointCount)
            entries[map.points[e]] = std::int32_t(e);
    return entries;
}

bool hasMaterial(const MaterialLibrary& library, const std::string& name)
{
    const auto& list = library.materials();
    return std::any_of(list.begin(), list.end(), [&](Material* m) { return m->name == name; });
}

// Counted references to the surfaces' materials for the faces being built; given back once the
// faces hold their own.
class SurfaceMaterials {
public:
    explicit SurfaceMaterials(const LwoObject& object)
    {
        MaterialLibrary* library = MaterialLibrary::instance;
        if (!library)
            return;
        for (const LwoSurface& surface : object.surfaces)
            if (!hasMaterial(*library, surface.name))
                library->add(new Material(surface.name));
    }
    ~SurfaceMaterials()
    {
        if (MaterialLibrary::instance)
            for (auto& [surface, material] : found_)
                MaterialLibrary::instance->release(material);
    }
    SurfaceMaterials(const SurfaceMaterials&) = delete;
    SurfaceMaterials& operator=(const SurfaceMaterials&) = delete;

    // The material of a polygon's surface (none without surface or library); not counted for
    // the caller, a face copy takes its own reference.
    Material* of(const LwoSurface* surface)
    {
        if (!surface || !MaterialLibrary::instance)
            return nullptr;
        auto it = found_.find(surface);
        if (it == found_.end())
            it = found_.emplace(surface, MaterialLibrary::instance->find(surface->name)).first;
        return it->second;
    }

private:
    std::map<const LwoSurface*, Material*> found_;
};

// The texture-coordinate map a surface's first usable image map names.
const LwoVertexMap* uvMapOf(const LwoLayer& layer, const LwoSurface* surface)
{
    if (!surface)
        return nullptr;
    for (const LwoBlock& block : surface->blocks) {
        if (block.type != lwoId("IMAP") || block.imageMap.vertexMapName.empty())
            continue;
        const LwoVertexMap* map = findVertexMap(layer, block.imageMap.vertexMapName, lwoId("TXUV"));
        if (map && map->dimension >= 2)
            return map;
    }
    return nullptr;
}

} // namespace

bool buildMesh(const LwoObject& object, Mesh& mesh)
{
    if (object.layers.empty())
        return false;
    const LwoLayer& layer = object.layers.front();
    const std::size_t pointCount = layer.points.count();
    SurfaceMaterials materials(object);

    const LwoVertexMap* rgb = layer.points.map(LwoMapSlot::rgb);
    const LwoVertexMap* rgba = layer.points.map(LwoMapSlot::rgba);
    if (rgb && rgb->dimension < 3)
        rgb = nullptr;
    if (rgba && rgba->dimension < 4)
        rgba = nullptr;
    mesh.flags = Mesh::kNormals;
    if (layer.points.map(LwoMapSlot::uv))
        mesh.flags |= Mesh::texCoordFlag(0);
    if (layer.points.map(LwoMapSlot::rgb) || layer.points.map(LwoMapSlot::rgba))
        mesh.flags |= Mesh::kColours;

    std::uint64_t triangles = 0;
    for (const LwoPolygon& polygon : layer.polygons)
        if (polygon.vertexCount() >= 3)
            triangles += polygon.vertexCount() - 2;
    if (pointCount > std::size_t(INT_MAX) || triangles > std::uint64_t(INT_MAX) ||
        !mesh.allocate(int(pointCount), int(triangles)))
        return false;

    const LwoVertexMap* colourMap = rgb ? rgb : rgba;
    std::vector<std::int32_t> colourEntry;
    if (colourMap)
        colourEntry = lastEntryPerPoint(*colourMap, pointCount);
    for (std::size_t p = 0; p < pointCount; ++p) {
        MeshVertex v;
        const LwoVec3& position = layer.points.positions[p];
        v.position = Vector3(position[0], position[1], position[2]);
        std::fill(std::begin(v.colour), std::end(v.colour), 255);
        if (colourMap && colourEntry[p] >= 0) {
            const float* c = colourMap->entry(std::size_t(colourEntry[p]));
            for (int k = 0; k < 3; ++k)
                v.colour[k] = toByte(c[k]);
            if (colourMap == rgba)
                v.colour[3] = toByte(c[3]);
        }
        static const MeshTexCoord placeholder[1];
        mesh.addVertex(v, placeholder);
    }

    std::map<const LwoVertexMap*, std::vector<std::int32_t>> uvEntries;
    for (const LwoPolygon& polygon : layer.polygons) {
        const std::size_t n = polygon.vertexCount();
        if (n < 3)
            continue;
        if (mesh.hasTexCoords(0)) {
            if (const LwoVertexMap* uv = uvMapOf(layer, polygon.surface)) {
                auto found = uvEntries.find(uv);
                if (found == uvEntries.end())
                    found = uvEntries.emplace(uv, lastEntryPerPoint(*uv, pointCount)).first;
                for (std::uint32_t point : polygon.vertices) {
                    std::int32_t e = found->second[point];
                    if (e < 0)
                        continue;
                    const float* value = uv->entry(std::size_t(e));
                    mesh.texCoords[0][int(point)] = {value[0], 1.0f - value[1]};
                }
            }
        }
        Material* material = materials.of(polygon.surface);
        for (std::size_t i = 1; i + 1 < n; ++i) {
            MeshFace face;
            face.indices[0] = std::int32_t(polygon.vertices[0]);
            face.indices[1] = std::int32_t(polygon.vertices[i]);
            face.indices[2] = std::int32_t(polygon.vertices[(i + 1) % n]);
            if (material)
                material->addRef();
            face.setMaterial(material);
            mesh.addFace(std::move(face));
        }
    }

    mesh.computeBounds();
    mesh.computeFacePlanes();
    mesh.computeVertexNormals();
    return true;
}

bool importLwo(const std::string& path, Mesh& mesh)
{
    std::unique_ptr<LwoObject> object = readLwo(platform::nativePath(path));
    if (!object)
        return false;
    bool ok = buildMesh(*object, mesh);
    freeLwo(object);
    return ok;
}

} // namespace lwoimport
