// The in-memory model of a LightWave LWO2 object: layers, points, polygons, tags, vertex maps,
// image clips and surfaces with their texture blocks, as the reader keeps them.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// An IFF identifier: four raw bytes read big-endian into one number, so "FORM" compares as
// lwoId("FORM").
using LwoId = std::uint32_t;

constexpr LwoId lwoId(const char (&text)[5])
{
    return (LwoId(std::uint8_t(text[0])) << 24) | (LwoId(std::uint8_t(text[1])) << 16) |
           (LwoId(std::uint8_t(text[2])) << 8) | LwoId(std::uint8_t(text[3]));
}

// The four characters of an identifier, for messages and tests.
std::string lwoIdText(LwoId id);

using LwoVec3 = std::array<float, 3>;

// A value that an envelope may animate: the stored value and the envelope index (0 = none).
struct LwoEnvelopeValue {
    float value = 0.0f;
    std::uint32_t envelope = 0;
};

struct LwoEnvelopeVec3 {
    LwoVec3 value{};
    std::uint32_t envelope = 0;
};

// "TMAP": where a texture sits in space.
struct LwoTextureMap {
    LwoEnvelopeVec3 center;
    LwoEnvelopeVec3 size;
    LwoEnvelopeVec3 rotation;
    std::string referenceObject;
    std::uint16_t falloffType = 0;
    LwoEnvelopeVec3 falloff;
    std::uint16_t coordinateSystem = 0;
};

struct LwoImageMap {
    std::uint16_t projection = 0;
    std::uint16_t axis = 0;
    std::uint32_t image = 0;  // clip index
    std::uint16_t wrapWidth = 0;
    std::uint16_t wrapHeight = 0;
    LwoEnvelopeValue wrapAmountWidth;
    LwoEnvelopeValue wrapAmountHeight;
    std::string vertexMapName;  // texture-coordinate map used by UV projection
    std::uint16_t antialiasFlags = 0;
    float antialiasStrength = 0.0f;
    std::uint16_t pixelBlending = 0;
    std::uint16_t stickyFlags = 0;
    float stickyTime = 0.0f;
    LwoEnvelopeValue amplitude;
    LwoTextureMap textureMap;
};

struct LwoProcedural {
    std::uint16_t axis = 0;
    std::vector<float> values;
    std::string function;
    std::vector<std::uint8_t> data;
    LwoTextureMap textureMap;
};

struct LwoGradientKey {
    float input = 0.0f;
    std::array<float, 4> value{};
};

struct LwoGradient {
    std::string parameterName;
    std::string itemName;
    float start = 0.0f;
    float end = 0.0f;
    std::uint16_t repeat = 0;
    std::vector<LwoGradientKey> keys;
    std::vector<std::uint16_t> interpolations;
};

struct LwoShader {
    std::string function;
    std::vector<std::uint8_t> data;
};

// One texture layer of a surface ("BLOK"); the member that matches `type` holds its settings.
struct LwoBlock {
    LwoId type = 0;  // "IMAP", "PROC", "GRAD" or "SHDR"
    std::string ordinal;
    LwoId channel = 0;
    std::uint16_t enabled = 1;
    std::uint16_t opacityType = 0;
    LwoEnvelopeValue opacity{1.0f, 0};
    std::uint16_t axis = 0;
    LwoImageMap imageMap;
    LwoProcedural procedural;
    LwoGradient gradient;
    LwoShader shader;
};

struct LwoSurface {
    std::string name;
    LwoEnvelopeVec3 colour;
    LwoEnvelopeValue diffuse, luminosity, specular, transparency, glossiness, sharpness, bump,
        reflectionSeamAngle, reflectionBlur, refractiveIndex, transparencyBlur, colourHighlights,
        colourFilter, additiveTransparency;
    std::uint16_t sides = 0;
    std::uint16_t reflectionOptions = 0;
    std::uint16_t transparencyOptions = 0;
    float smoothingAngle = 0.0f;
    std::uint32_t reflectionImage = 0;
    std::uint32_t transparencyImage = 0;
    std::uint16_t glowType = 0;
    LwoEnvelopeValue glowIntensity;
    LwoEnvelopeValue glowSize;
    std::uint16_t alphaMode = 0;
    float alphaValue = 0.0f;
    LwoEnvelopeValue vertexColourIntensity;
    LwoId vertexColourMapType = 0;
    std::string vertexColourMapName;
    std::vector<LwoBlock> blocks;

    // Drawn after the solid surfaces: a non-zero "TRAN" or "ADTR".
    bool isTransparent() const
    {
        return transparency.value != 0.0f || additiveTransparency.value != 0.0f;
    }
};

// "VMAP": per-point values; entry i is points[i] with values[i * dimension ...].
struct LwoVertexMap {
    LwoId type = 0;
    std::uint16_t dimension = 0;
    std::string name;
    std::vector<std::uint32_t> points;
    std::vector<float> values;

    std::size_t count() const { return points.size(); }
    const float* entry(std::size_t i) const { return values.data() + i * dimension; }
};

// "VMAD": per-corner values; entries in the reverse of their file order.
struct LwoCornerMap {
    LwoId type = 0;
    std::uint16_t dimension = 0;
    std::string name;
    std::vector<std::uint32_t> points;
    std::vector<std::uint32_t> polygons;
    std::vector<float> values;

    std::size_t count() const { return points.size(); }
    const float* entry(std::size_t i) const { return values.data() + i * dimension; }
};

// A corner's value from a corner map, or none (map null).
struct LwoCornerRef {
    const LwoCornerMap* map = nullptr;
    std::uint32_t entry = 0;
};

struct LwoPolygon {
    std::vector<std::uint32_t> vertices;  // point indices; the count is the stored low 10 bits
    LwoVec3 normal{};
    float planeD = 0.0f;
    std::uint32_t part = 0;
    std::uint32_t smoothingGroup = 0;
    const LwoSurface* surface = nullptr;
    std::vector<LwoCornerRef> corners;  // one per vertex once corner maps are attached

    std::size_t vertexCount() const { return vertices.size(); }
};

struct LwoPolygonTag {
    LwoId type = 0;
    std::uint32_t polygon = 0;
    std::uint32_t tag = 0;
};

struct LwoClip {
    std::uint32_t index = 0;
    std::string fileName;  // the still image's name without its folders
};

// The vertex-map types that a point list refers to directly, one slot each.
enum class LwoMapSlot { pick, weight, subpatchWeight, uv, rgb, rgba, morph, spot, count };

struct LwoPoints {
    std::vector<LwoVec3> positions;
    std::array<const LwoVertexMap*, std::size_t(LwoMapSlot::count)> maps{};

    std::size_t count() const { return positions.size(); }
    const LwoVertexMap* map(LwoMapSlot slot) const { return maps[std::size_t(slot)]; }
};

struct LwoLayer {
    std::string name;
    std::uint16_t number = 0;
    std::uint16_t flags = 0;
    LwoVec3 pivot{};
    std::uint16_t parent = 0;
    LwoPoints points;
    LwoVec3 boundsMin{};
    LwoVec3 boundsMax{};
    std::vector<LwoPolygon> polygons;
    std::vector<LwoVertexMap> vertexMaps;
    std::vector<LwoCornerMap> cornerMaps;
    std::vector<LwoPolygonTag> polygonTags;
    std::vector<LwoClip> clips;
};

// A whole file. Polygons and points refer into the object's own lists, so it is never copied.
struct LwoObject {
    LwoObject() = default;
    LwoObject(const LwoObject&) = delete;
    LwoObject& operator=(const LwoObject&) = delete;

    std::vector<LwoLayer> layers;
    std::vector<std::string> tags;
    std::vector<LwoSurface> surfaces;
};
