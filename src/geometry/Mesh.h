// A static triangle mesh: vertices, texture-coordinate sets and faces with materials, drawn
// through vertex arrays.
#pragma once
#include "core/GL.h"
#include "math/PlaneEq.h"
#include "math/Vector3.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

class Material;

// One vertex as the arrays hand it to GL with a stride of 28 bytes.
struct MeshVertex {
    Vector3 position;
    Vector3 normal;
    std::uint8_t colour[4] = {0, 0, 0, 255};  // r, g, b, a
};
static_assert(sizeof(MeshVertex) == 28 && std::is_standard_layout_v<MeshVertex> &&
                  offsetof(MeshVertex, normal) == 12 && offsetof(MeshVertex, colour) == 24,
              "vertex arrays are drawn with a stride of 28 bytes");

struct MeshTexCoord {
    float u = 0.0f;
    float v = 0.0f;
};
static_assert(sizeof(MeshTexCoord) == 8, "texture coordinates are drawn with a stride of 8 bytes");

// A triangle: its plane, three vertex indices and a counted reference to its material. Copying a
// face takes another reference; destroying one gives it back to the material library.
struct MeshFace {
    PlaneEq plane;
    std::int32_t indices[3] = {-1, -1, -1};

    MeshFace() = default;
    MeshFace(const MeshFace& other);
    MeshFace(MeshFace&& other) noexcept;
    MeshFace& operator=(const MeshFace& other);
    MeshFace& operator=(MeshFace&& other) noexcept;
    ~MeshFace();

    Material* material() const { return material_; }
    // Takes over one counted reference (as MaterialLibrary::find hands out) and gives back the
    // one held before. Null clears the material.
    void setMaterial(Material* reference);

private:
    Material* material_ = nullptr;
};

// An array whose capacity is set once; appending past it is ignored.
template <class T>
class FixedArray {
public:
    // False when already allocated or n < 1.
    bool allocate(int n)
    {
        if (capacity_ > 0 || n < 1)
            return false;
        items_.reserve(std::size_t(n));
        capacity_ = n;
        return true;
    }
    // The new entry's index, or -1 when the array is full (or was never allocated).
    int push(T item)
    {
        if (int(items_.size()) >= capacity_)
            return -1;
        items_.push_back(std::move(item));
        return int(items_.size()) - 1;
    }

    bool allocated() const { return capacity_ > 0; }
    int size() const { return int(items_.size()); }
    int capacity() const { return capacity_; }
    bool empty() const { return items_.empty(); }
    T* data() { return items_.data(); }
    const T* data() const { return items_.data(); }
    T& operator[](int i) { return items_[std::size_t(i)]; }
    const T& operator[](int i) const { return items_[std::size_t(i)]; }
    T* begin() { return items_.data(); }
    T* end() { return items_.data() + items_.size(); }
    const T* begin() const { return items_.data(); }
    const T* end() const { return items_.data() + items_.size(); }

private:
    std::vector<T> items_;
    int capacity_ = 0;
};

class Mesh {
public:
    enum Flags : std::uint16_t {
        kNormals = 0x01,
        kColours = 0x02,
        kTexCoords1 = 0x10,  // set k (0..3) is kTexCoords1 << k
    };
    static constexpr int kTexCoordSets = 4;
    static constexpr std::uint16_t texCoordFlag(int set) { return std::uint16_t(kTexCoords1 << set); }

    Mesh();
    virtual ~Mesh();
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    // Allocates the vertex array, one coordinate array per set whose flag is set now, and the
    // face array. False when already allocated or either count is below 1.
    virtual bool allocate(int vertexCount, int faceCount);
    virtual void begin();
    // All faces as triangles; with useMaterials, a face's material is bound where it differs
    // from the previous face's.
    virtual void draw(bool useMaterials);
    virtual void end();
    virtual void enableArrays();
    virtual void disableArrays();

    // Appends a vertex and pair k of `texCoords` to coordinate set k (for the sets that exist).
    // The new index, or -1 when the array is full.
    int addVertex(const MeshVertex& vertex, std::span<const MeshTexCoord> texCoords = {});
    int addFace(MeshFace face);

    void computeBounds();
    void computeFacePlanes();
    void computeVertexNormals();

    bool hasTexCoords(int set) const { return (flags & texCoordFlag(set)) != 0; }

    std::uint16_t flags = kNormals;
    std::string name;
    std::string alias;
    FixedArray<MeshVertex> vertices;
    FixedArray<MeshTexCoord> texCoords[kTexCoordSets];
    FixedArray<MeshFace> faces;
    Vector3 boundsMin;
    Vector3 boundsMax;
    GLenum textureUnit[kTexCoordSets] = {GL_TEXTURE0_ARB, GL_TEXTURE1_ARB, GL_TEXTURE2_ARB,
                                         GL_TEXTURE3_ARB};

private:
    // The vertex indices of the run of faces being drawn, kept between draws for its capacity.
    std::vector<GLuint> drawIndices_;
};
