#include "geometry/Mesh.h"

#include "core/ExtensionRegistry.h"
#include "material/MaterialLibrary.h"

#include <utility>

namespace {

void addReference(Material* material)
{
    if (material)
        material->addRef();
}

// Without a library the material is already gone with it; nothing is left to give back to.
void giveBack(Material*& material)
{
    if (material && MaterialLibrary::instance)
        MaterialLibrary::instance->release(material);
    material = nullptr;
}

void clientActiveTexture(GLenum unit)
{
    if (ext::glClientActiveTextureARB)
        ext::glClientActiveTextureARB(unit);
}

} // namespace

MeshFace::MeshFace(const MeshFace& other)
    : plane(other.plane), indices{other.indices[0], other.indices[1], other.indices[2]},
      material_(other.material_)
{
    addReference(material_);
}

MeshFace::MeshFace(MeshFace&& other) noexcept
    : plane(other.plane), indices{other.indices[0], other.indices[1], other.indices[2]},
      material_(std::exchange(other.material_, nullptr))
{
}

MeshFace& MeshFace::operator=(const MeshFace& other)
{
    if (this != &other) {
        addReference(other.material_);
        setMaterial(other.material_);
        plane = other.plane;
        std::copy(std::begin(other.indices), std::end(other.indices), indices);
    }
    return *this;
}

MeshFace& MeshFace::operator=(MeshFace&& other) noexcept
{
    if (this != &other) {
        setMaterial(std::exchange(other.material_, nullptr));
        plane = other.plane;
        std::copy(std::begin(other.indices), std::end(other.indices), indices);
    }
    return *this;
}

MeshFace::~MeshFace()
{
    giveBack(material_);
}

void MeshFace::setMaterial(Material* reference)
{
    giveBack(material_);
    material_ = reference;
}

Mesh::Mesh() = default;
Mesh::~Mesh() = default;

bool Mesh::allocate(int vertexCount, int faceCount)
{
    if (vertices.allocated() || faces.allocated() || vertexCount < 1 || faceCount < 1)
        return false;
    vertices.allocate(vertexCount);
    for (int set = 0; set < kTexCoordSets; ++set)
        if (hasTexCoords(set))
            texCoords[set].allocate(vertexCount);
    faces.allocate(faceCount);
    return true;
}

void Mesh::begin()
{
    enableArrays();
}

void Mesh::end()
{
    disableArrays();
}

void Mesh::enableArrays()
{
    const MeshVertex* v = vertices.data();
    glVertexPointer(3, GL_FLOAT, sizeof(MeshVertex), &v->position);
    glEnableClientState(GL_VERTEX_ARRAY);
    if (flags & kNormals) {
        glNormalPointer(GL_FLOAT, sizeof(MeshVertex), &v->normal);
        glEnableClientState(GL_NORMAL_ARRAY);
    }
    if (flags & kColours) {
        glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(MeshVertex), v->colour);
        glEnableClientState(GL_COLOR_ARRAY);
    }
    for (int set = 0; set < kTexCoordSets; ++set) {
        if (!hasTexCoords(set))
            continue;
        clientActiveTexture(textureUnit[set]);
        glTexCoordPointer(2, GL_FLOAT, sizeof(MeshTexCoord), texCoords[set].data());
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    }
}

void Mesh::disableArrays()
{
    if (flags & kColours)
        glDisableClientState(GL_COLOR_ARRAY);
    if (flags & kNormals)
        glDisableClientState(GL_NORMAL_ARRAY);
    for (int set = 0; set < kTexCoordSets; ++set) {
        if (!hasTexCoords(set))
            continue;
        clientActiveTexture(textureUnit[set]);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    clientActiveTexture(GL_TEXTURE0_ARB);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void Mesh::draw(bool useMaterials)
{
    // A face that names a vertex the arrays do not hold is skipped: GL would read past them.
    // The same holds for a coordinate set shorter than the vertex list.
    int count = vertices.size();
    for (int set = 0; set < kTexCoordSets; ++set)
        if (hasTexCoords(set) && texCoords[set].size() < count)
            count = texCoords[set].size();
    auto valid = [count](std::int32_t i) { return std::uint32_t(i) < std::uint32_t(count); };

    // Each run of faces that share a material is one glDrawElements over the arrays; the
    // material is switched between runs where the face-by-face drawing switched it.
    drawIndices_.clear();
    drawIndices_.reserve(std::size_t(faces.size()) * 3);
    auto flush = [this] {
        if (!drawIndices_.empty())
            glDrawElements(GL_TRIANGLES, GLsizei(drawIndices_.size()), GL_UNSIGNED_INT, drawIndices_.data());
        drawIndices_.clear();
    };
    Material* current = nullptr;
    for (const MeshFace& face : faces) {
        if (useMaterials && face.material() != current) {
            flush();
            if (current)
                current->unbind();
            current = face.material();
            if (current)
                current->bind();
        }
        const std::int32_t* i = face.indices;
        if (valid(i[0]) && valid(i[1]) && valid(i[2]))
            drawIndices_.insert(drawIndices_.end(), {GLuint(i[0]), GLuint(i[1]), GLuint(i[2])});
    }
    flush();
    if (useMaterials && current)
        current->unbind();
}

int Mesh::addVertex(const MeshVertex& vertex, std::span<const MeshTexCoord> pairs)
{
    int index = vertices.push(vertex);
    if (index < 0)
        return -1;
    for (int set = 0; set < kTexCoordSets && set < int(pairs.size()); ++set)
        if (texCoords[set].allocated())
            texCoords[set].push(pairs[std::size_t(set)]);
    return index;
}

int Mesh::addFace(MeshFace face)
{
    return faces.push(std::move(face));
}

void Mesh::computeBounds()
{
    if (vertices.empty())
        return;
    boundsMin = boundsMax = vertices[0].position;
    for (const MeshVertex& v : vertices) {
        for (int axis = 0; axis < 3; ++axis) {
            float c = v.position.data()[axis];
            if (c < boundsMin.data()[axis])
                boundsMin.data()[axis] = c;
            else if (c > boundsMax.data()[axis])
                boundsMax.data()[axis] = c;
        }
    }
}

void Mesh::computeFacePlanes()
{
    int count = vertices.size();
    for (MeshFace& face : faces) {
        const std::int32_t* i = face.indices;
        if (std::uint32_t(i[0]) < std::uint32_t(count) && std::uint32_t(i[1]) < std::uint32_t(count) &&
            std::uint32_t(i[2]) < std::uint32_t(count))
            face.plane = PlaneEq::fromPoints(vertices[i[0]].position, vertices[i[1]].position,
                                             vertices[i[2]].position);
    }
}

void Mesh::computeVertexNormals()
{
    for (MeshVertex& v : vertices)
        v.normal = Vector3();
    int count = vertices.size();
    for (const MeshFace& face : faces)
        for (std::int32_t i : face.indices)
            if (std::uint32_t(i) < std::uint32_t(count))
                vertices[i].normal += face.plane.normal();
    for (MeshVertex& v : vertices)
        v.normal.normalize();
}
