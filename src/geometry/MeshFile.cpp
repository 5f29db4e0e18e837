#include "geometry/MeshFile.h"

#include "geometry/Mesh.h"
#include "material/MaterialLibrary.h"
#include "platform/Paths.h"
#include "script/ProblemSink.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace meshfile {
namespace {

constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kVertexSize = 28;
constexpr std::size_t kPairSize = 8;
constexpr std::size_t kMinFaceSize = 32;  // indices, plane and an empty name

// Little-endian fields from the decompressed content.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t remaining() const { return size_ - pos_; }
    bool has(std::size_t count) const { return remaining() >= count; }
    const std::uint8_t* bytes(std::size_t count)
    {
        const std::uint8_t* p = data_ + pos_;
        pos_ += count;
        return p;
    }
    std::uint32_t u32()
    {
        const std::uint8_t* p = bytes(4);
        return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
               (std::uint32_t(p[3]) << 24);
    }
    std::uint16_t u16()
    {
        const std::uint8_t* p = bytes(2);
        return std::uint16_t(p[0] | (p[1] << 8));
    }
    std::int32_t i32() { return std::int32_t(u32()); }
    float f32()
    {
        std::uint32_t bits = u32();
        float v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

class Output {
public:
    explicit Output(std::vector<std::uint8_t>& out) : out_(out) {}
    void bytes(const void* p, std::size_t count)
    {
        auto b = static_cast<const std::uint8_t*>(p);
        out_.insert(out_.end(), b, b + count);
    }
    void u32(std::uint32_t v)
    {
        std::uint8_t b[4] = {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16),
                             std::uint8_t(v >> 24)};
        bytes(b, 4);
    }
    void u16(std::uint16_t v)
    {
        std::uint8_t b[2] = {std::uint8_t(v), std::uint8_t(v >> 8)};
        bytes(b, 2);
    }
    void f32(float v)
    {
        std::uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(bits);
    }

private:
    std::vector<std::uint8_t>& out_;
};

// Face materials by name, with one counted reference per face; consecutive faces usually share
// a name, so the last lookup is kept.
class MaterialResolver {
public:
    Material* resolve(const std::string& name)
    {
        if (name != lastName_ || !looked_) {
            lastName_ = name;
            looked_ = true;
            last_ = MaterialLibrary::instance ? MaterialLibrary::instance->find(name) : nullptr;
            if (!last_ && !name.empty())
                problems::reportHere("a mesh names the material " + problems::quoted(name) +
                                     ", which no script defines");
            return last_;  // the face takes find's reference
        }
        if (last_)
            last_->addRef();
        return last_;
    }

private:
    std::string lastName_;
    Material* last_ = nullptr;
    bool looked_ = false;
};

int texCoordSetCount(std::uint16_t flags)
{
    int sets = 0;
    for (int set = 0; set < Mesh::kTexCoordSets; ++set)
        sets += (flags & Mesh::texCoordFlag(set)) ? 1 : 0;
    return sets;
}

// Walks the content; fills `mesh` when given, collects the distinct material names when
// `names` is given.
bool parseContent(const std::uint8_t* data, std::size_t size, Mesh* mesh,
                  std::vector<std::string>* names)
{
    Input in(data, size);
    if (!in.has(kHeaderSize))
        return false;
    if (std::memcmp(in.bytes(4), "MESH", 4) != 0 || in.u16() != kVersion)
        return false;
    std::uint16_t flags = in.u16();
    std::int32_t vertexCount = in.i32();
    std::int32_t faceCount = in.i32();
    if (vertexCount < 1 || faceCount < 1)
        return false;
    // Nothing is allocated for counts that the content cannot hold.
    std::uint64_t vertexBytes =
        std::uint64_t(vertexCount) * (kVertexSize + kPairSize * std::uint64_t(texCoordSetCount(flags)));
    if (vertexBytes + std::uint64_t(faceCount) * kMinFaceSize > in.remaining())
        return false;

    if (mesh) {
        mesh->flags = flags;
        if (!mesh->allocate(vertexCount, faceCount))
            return false;
        for (std::int32_t i = 0; i < vertexCount; ++i) {
            MeshVertex v;
            for (float* c : {&v.position.x, &v.position.y, &v.position.z, &v.normal.x, &v.normal.y,
                             &v.normal.z})
                *c = in.f32();
            std::memcpy(v.colour, in.bytes(4), 4);
            static const MeshTexCoord placeholders[Mesh::kTexCoordSets];
            mesh->addVertex(v, placeholders);
        }
        for (int set = 0; set < Mesh::kTexCoordSets; ++set) {
            if (!mesh->hasTexCoords(set))
                continue;
            for (std::int32_t i = 0; i < vertexCount; ++i) {
                mesh->texCoords[set][i].u = in.f32();
                mesh->texCoords[set][i].v = in.f32();
            }
        }
    } else {
        in.bytes(std::size_t(vertexBytes));
    }

    MaterialResolver materials;
    for (std::int32_t f = 0; f < faceCount; ++f) {
        if (!in.has(kMinFaceSize))
            return false;
        MeshFace face;
        for (std::int32_t& index : face.indices) {
            index = in.i32();
            if (index < 0 || index >= vertexCount)
                return false;  // drawing would read outside the vertex arrays
        }
        for (float* c : {&face.plane.a, &face.plane.b, &face.plane.c, &face.plane.d})
            *c = in.f32();
        std::int32_t length = in.i32();
        if (length < 0 || length > kMaxMaterialName || !in.has(std::size_t(length)))
            return false;
        if (length > 0) {
            std::string name(reinterpret_cast<const char*>(in.bytes(std::size_t(length))),
                             std::size_t(length));
            if (names && std::find(names->begin(), names->end(), name) == names->end())
                names->push_back(name);
            if (mesh)
                face.setMaterial(materials.resolve(name));
        }
        if (mesh)
            mesh->addFace(std::move(face));
    }
    if (mesh)
        mesh->computeBounds();
    return true;
}

bool readContent(const std::string& path, std::vector<std::uint8_t>& content)
{
    gzFile file = gzopen(platform::nativePath(path).c_str(), "rb");
    if (!file)
        return false;
    gzbuffer(file, 1 << 17);
    std::uint8_t buffer[1 << 16];
    int got;
    while ((got = gzread(file, buffer, sizeof buffer)) > 0)
        content.insert(content.end(), buffer, buffer + got);
    gzclose(file);
    return got == 0;
}

} // namespace

bool parse(const std::uint8_t* data, std::size_t size, Mesh& mesh)
{
    return parseContent(data, size, &mesh, nullptr);
}

bool read(const std::string& path, Mesh& mesh)
{
    std::vector<std::uint8_t> content;
    return readContent(path, content) && parse(content.data(), content.size(), mesh);
}

bool materialNames(const std::string& path, std::vector<std::string>& names)
{
    std::vector<std::uint8_t> content;
    return readContent(path, content) &&
           parseContent(content.data(), content.size(), nullptr, &names);
}

bool serialize(const Mesh& mesh, std::vector<std::uint8_t>& out)
{
    const int vertexCount = mesh.vertices.size();
    const int faceCount = mesh.faces.size();
    if (vertexCount < 1 || faceCount < 1)
        return false;  // such a file would not read back
    out.reserve(out.size() + kHeaderSize +
                std::size_t(vertexCount) * (kVertexSize + kPairSize * Mesh::kTexCoordSets) +
                std::size_t(faceCount) * (kMinFaceSize + 16));
    Output o(out);
    o.bytes("MESH", 4);
    o.u16(kVersion);
    o.u16(mesh.flags);
    o.u32(std::uint32_t(vertexCount));
    o.u32(std::uint32_t(faceCount));
    for (const MeshVertex& v : mesh.vertices) {
        for (float c : {v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y, v.normal.z})
            o.f32(c);
        o.bytes(v.colour, 4);
    }
    for (int set = 0; set < Mesh::kTexCoordSets; ++set) {
        if (!mesh.hasTexCoords(set))
            continue;
        // A set that was never filled is written as zeros so the layout stays whole.
        for (int i = 0; i < vertexCount; ++i) {
            MeshTexCoord t = i < mesh.texCoords[set].size() ? mesh.texCoords[set][i] : MeshTexCoord();
            o.f32(t.u);
            o.f32(t.v);
        }
    }
    for (const MeshFace& face : mesh.faces) {
        for (std::int32_t index : face.indices)
            o.u32(std::uint32_t(index));
        for (float c : {face.plane.a, face.plane.b, face.plane.c, face.plane.d})
            o.f32(c);
        const std::string* name = face.material() ? &face.material()->name : nullptr;
        if (name && name->size() > std::size_t(kMaxMaterialName))
            return false;
        o.u32(name ? std::uint32_t(name->size()) : 0u);
        if (name)
            o.bytes(name->data(), name->size());
    }
    return true;
}

bool write(const std::string& path, const Mesh& mesh)
{
    std::vector<std::uint8_t> content;
    if (!serialize(mesh, content))
        return false;
    gzFile file = gzopen(platform::nativePath(path).c_str(), "wb9");
    if (!file)
        return false;
    bool ok = true;
    for (std::size_t done = 0; ok && done < content.size();) {
        unsigned piece = unsigned(std::min<std::size_t>(content.size() - done, 1u << 30));
        ok = gzwrite(file, content.data() + done, piece) == int(piece);
        done += piece;
    }
    return gzclose(file) == Z_OK && ok;
}

} // namespace meshfile
