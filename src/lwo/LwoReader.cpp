#include "lwo/LwoReader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <new>

std::string lwoIdText(LwoId id)
{
    std::string text(4, ' ');
    for (int i = 0; i < 4; ++i)
        text[std::size_t(i)] = char((id >> (24 - 8 * i)) & 0xFF);
    return text;
}

namespace {

enum class Result { success, genericFailure, wrongChunk, memory, endOfFile, fileError };

const char* message(Result result)
{
    switch (result) {
    case Result::success: return "";
    case Result::genericFailure: return "ERROR: GENERIC FAILURE\n";
    case Result::wrongChunk: return "ERROR: WRONG LWO CHUNK\n";
    case Result::memory: return "ERROR: MEMORY ALLOCATION ERROR\n";
    case Result::endOfFile: return "ERROR: END OF FILE\n";
    case Result::fileError: return "ERROR: FILE ERROR\n";
    }
    return "ERROR: UNKNOWN ERROR CONDITION\n";
}

// A bounded big-endian cursor over one chunk or sub-chunk. Reading past the end yields zeros and
// marks the cursor as overrun, which the chunk handler reports as the end-of-file result; every
// loop that reads "until the chunk is used up" therefore ends.
class Input {
public:
    Input() = default;
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t remaining() const { return overrun_ ? 0 : size_ - pos_; }
    bool atEnd() const { return remaining() == 0; }
    bool overrun() const { return overrun_; }
    void markOverrun() { overrun_ = true; }

    // The next `count` bytes as their own cursor; overruns this one when they are not there.
    Input take(std::size_t count)
    {
        if (!need(count))
            return Input();
        Input sub(data_ + pos_, count);
        pos_ += count;
        return sub;
    }
    void skip(std::size_t count)
    {
        if (need(count))
            pos_ += count;
    }
    // The pad byte after an odd-sized (sub-)chunk; missing at the very end is tolerated.
    void skipPad(std::size_t size)
    {
        if ((size & 1) && remaining() > 0)
            ++pos_;
    }

    std::uint8_t u1() { return need(1) ? data_[pos_++] : 0; }
    std::uint16_t u2()
    {
        if (!need(2))
            return 0;
        std::uint16_t v = std::uint16_t((data_[pos_] << 8) | data_[pos_ + 1]);
        pos_ += 2;
        return v;
    }
    std::uint32_t u4()
    {
        if (!need(4))
            return 0;
        std::uint32_t v = (std::uint32_t(data_[pos_]) << 24) | (std::uint32_t(data_[pos_ + 1]) << 16) |
                          (std::uint32_t(data_[pos_ + 2]) << 8) | std::uint32_t(data_[pos_ + 3]);
        pos_ += 4;
        return v;
    }
    LwoId id4() { return u4(); }
    float f4()
    {
        std::uint32_t bits = u4();
        float v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    LwoVec3 vec3()
    {
        LwoVec3 v;
        for (float& c : v)
            c = f4();
        return v;
    }
    // Variable-length index: FF and three bytes (low 24 bits count), else two bytes.
    std::uint32_t vx()
    {
        if (!need(1))
            return 0;
        if (data_[pos_] == 0xFF)
            return u4() & 0x00FFFFFF;
        return u2();
    }
    // Zero-terminated string padded to an even length.
    std::string s0()
    {
        if (overrun_ || pos_ == size_) {
            overrun_ = true;
            return {};
        }
        const std::uint8_t* start = data_ + pos_;
        const void* zero = std::memchr(start, 0, size_ - pos_);
        if (!zero) {
            overrun_ = true;
            return {};
        }
        std::size_t length = std::size_t(static_cast<const std::uint8_t*>(zero) - start);
        std::string text(reinterpret_cast<const char*>(start), length);
        pos_ += length + 1;
        skipPad(length + 1);
        return text;
    }
    std::vector<std::uint8_t> rest()
    {
        std::vector<std::uint8_t> bytes(data_ + pos_, data_ + (overrun_ ? pos_ : size_));
        pos_ = size_;
        return bytes;
    }

private:
    bool need(std::size_t count)
    {
        if (overrun_ || size_ - pos_ < count) {
            overrun_ = true;
            return false;
        }
        return true;
    }

    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
    bool overrun_ = false;
};

// Calls `handle(id, body)` for every sub-chunk (ID4, U2 size, padded) of `in`.
template <class Handler>
void forEachSubChunk(Input& in, Handler&& handle)
{
    while (!in.atEnd()) {
        LwoId id = in.id4();
        std::uint16_t size = in.u2();
        Input body = in.take(size);
        in.skipPad(size);
        if (in.overrun())
            return;
        handle(id, body);
        if (body.overrun()) {
            in.markOverrun();  // a truncated sub-chunk spoils the enclosing chunk
            return;
        }
    }
}

LwoEnvelopeValue readEnvelopeValue(Input& in)
{
    LwoEnvelopeValue v;
    v.value = in.f4();
    v.envelope = in.vx();
    return v;
}

LwoEnvelopeVec3 readEnvelopeVec3(Input& in)
{
    LwoEnvelopeVec3 v;
    v.value = in.vec3();
    v.envelope = in.vx();
    return v;
}

void readTextureMap(Input& in, LwoTextureMap& map)
{
    forEachSubChunk(in, [&](LwoId id, Input& body) {
        switch (id) {
        case lwoId("CNTR"): map.center = readEnvelopeVec3(body); break;
        case lwoId("SIZE"): map.size = readEnvelopeVec3(body); break;
        case lwoId("ROTA"): map.rotation = readEnvelopeVec3(body); break;
        case lwoId("OREF"): map.referenceObject = body.s0(); break;
        case lwoId("FALL"):
            map.falloffType = body.u2();
            map.falloff = readEnvelopeVec3(body);
            break;
        case lwoId("CSYS"): map.coordinateSystem = body.u2(); break;
        default: break;
        }
    });
}

void readImageMapPart(LwoId id, Input& body, LwoImageMap& map)
{
    switch (id) {
    case lwoId("PROJ"): map.projection = body.u2(); break;
    case lwoId("AXIS"): map.axis = body.u2(); break;
    case lwoId("IMAG"): map.image = body.vx(); break;
    case lwoId("WRAP"):
        map.wrapWidth = body.u2();
        map.wrapHeight = body.u2();
        break;
    case lwoId("WRPW"): map.wrapAmountWidth = readEnvelopeValue(body); break;
    case lwoId("WRPH"): map.wrapAmountHeight = readEnvelopeValue(body); break;
    case lwoId("VMAP"): map.vertexMapName = body.s0(); break;
    case lwoId("AAST"):
        map.antialiasFlags = body.u2();
        map.antialiasStrength = body.f4();
        break;
    case lwoId("PIXB"): map.pixelBlending = body.u2(); break;
    case lwoId("STCK"):
        map.stickyFlags = body.u2();
        map.stickyTime = body.f4();
        break;
    case lwoId("TAMP"): map.amplitude = readEnvelopeValue(body); break;
    case lwoId("TMAP"): readTextureMap(body, map.textureMap); break;
    default: break;
    }
}

void readProceduralPart(LwoId id, Input& body, LwoProcedural& proc)
{
    switch (id) {
    case lwoId("AXIS"): proc.axis = body.u2(); break;
    case lwoId("VALU"):
        proc.values.clear();
        while (body.remaining() >= 4)
            proc.values.push_back(body.f4());
        break;
    case lwoId("FUNC"):
        proc.function = body.s0();
        proc.data = body.rest();
        break;
    case lwoId("TMAP"): readTextureMap(body, proc.textureMap); break;
    default: break;
    }
}

void readGradientPart(LwoId id, Input& body, LwoGradient& grad)
{
    switch (id) {
    case lwoId("FNAM"): grad.parameterName = body.s0(); break;
    case lwoId("INAM"): grad.itemName = body.s0(); break;
    case lwoId("GRST"): grad.start = body.f4(); break;
    case lwoId("GREN"): grad.end = body.f4(); break;
    case lwoId("GRPT"): grad.repeat = body.u2(); break;
    case lwoId("FKEY"):
        grad.keys.clear();
        while (body.remaining() >= 20) {
            LwoGradientKey key;
            key.input = body.f4();
            for (float& c : key.value)
                c = body.f4();
            grad.keys.push_back(key);
        }
        break;
    case lwoId("IKEY"):
        grad.interpolations.clear();
        while (body.remaining() >= 2)
            grad.interpolations.push_back(body.u2());
        break;
    default: break;
    }
}

void readShaderPart(LwoId id, Input& body, LwoShader& shader)
{
    if (id == lwoId("FUNC")) {
        shader.function = body.s0();
        shader.data = body.rest();
    }
}

// "BLOK": the header sub-chunk names the block type; the rest depends on it. False for a type
// the reader does not keep.
bool readBlock(Input& in, LwoBlock& block)
{
    if (in.remaining() < 6)
        return false;
    block.type = in.id4();
    std::uint16_t size = in.u2();
    Input header = in.take(size);
    in.skipPad(size);
    static constexpr LwoId kept[] = {lwoId("IMAP"), lwoId("PROC"), lwoId("GRAD"), lwoId("SHDR")};
    if (std::find(std::begin(kept), std::end(kept), block.type) == std::end(kept))
        return false;

    block.ordinal = header.s0();
    forEachSubChunk(header, [&](LwoId id, Input& body) {
        switch (id) {
        case lwoId("CHAN"): block.channel = body.id4(); break;
        case lwoId("ENAB"): block.enabled = body.u2(); break;
        case lwoId("OPAC"):
            block.opacityType = body.u2();
            block.opacity = readEnvelopeValue(body);
            break;
        case lwoId("AXIS"): block.axis = body.u2(); break;
        default: break;
        }
    });
    if (header.overrun())
        in.markOverrun();

    forEachSubChunk(in, [&](LwoId id, Input& body) {
        switch (block.type) {
        case lwoId("IMAP"): readImageMapPart(id, body, block.imageMap); break;
        case lwoId("PROC"): readProceduralPart(id, body, block.procedural); break;
        case lwoId("GRAD"): readGradientPart(id, body, block.gradient); break;
        default: readShaderPart(id, body, block.shader); break;
        }
    });
    return true;
}

// The surface values that are one F4 and one VX envelope each.
struct EnvelopeField {
    LwoId id;
    LwoEnvelopeValue LwoSurface::*field;
};
constexpr EnvelopeField kEnvelopeFields[] = {
    {lwoId("DIFF"), &LwoSurface::diffuse},
    {lwoId("LUMI"), &LwoSurface::luminosity},
    {lwoId("SPEC"), &LwoSurface::specular},
    {lwoId("TRAN"), &LwoSurface::transparency},
    {lwoId("GLOS"), &LwoSurface::glossiness},
    {lwoId("SHRP"), &LwoSurface::sharpness},
    {lwoId("BUMP"), &LwoSurface::bump},
    {lwoId("RSAN"), &LwoSurface::reflectionSeamAngle},
    {lwoId("RBLR"), &LwoSurface::reflectionBlur},
    {lwoId("RIND"), &LwoSurface::refractiveIndex},
    {lwoId("TBLR"), &LwoSurface::transparencyBlur},
    {lwoId("CLRH"), &LwoSurface::colourHighlights},
    {lwoId("CLRF"), &LwoSurface::colourFilter},
    {lwoId("ADTR"), &LwoSurface::additiveTransparency},
};

// The surface values that are one U2 each.
struct ShortField {
    LwoId id;
    std::uint16_t LwoSurface::*field;
};
constexpr ShortField kShortFields[] = {
    {lwoId("SIDE"), &LwoSurface::sides},
    {lwoId("RFOP"), &LwoSurface::reflectionOptions},
    {lwoId("TROP"), &LwoSurface::transparencyOptions},
};

void readSurfacePart(LwoId id, Input& body, LwoSurface& surface)
{
    for (const EnvelopeField& f : kEnvelopeFields)
        if (f.id == id) {
            surface.*f.field = readEnvelopeValue(body);
            return;
        }
    for (const ShortField& f : kShortFields)
        if (f.id == id) {
            surface.*f.field = body.u2();
            return;
        }
    switch (id) {
    case lwoId("COLR"): surface.colour = readEnvelopeVec3(body); break;
    case lwoId("SMAN"): surface.smoothingAngle = body.f4(); break;
    case lwoId("RIMG"): surface.reflectionImage = body.vx(); break;
    case lwoId("TIMG"): surface.transparencyImage = body.vx(); break;
    case lwoId("GLOW"):
        surface.glowType = body.u2();
        surface.glowIntensity = readEnvelopeValue(body);
        surface.glowSize = readEnvelopeValue(body);
        break;
    case lwoId("ALPH"):
        surface.alphaMode = body.u2();
        surface.alphaValue = body.f4();
        break;
    case lwoId("VCOL"):
        surface.vertexColourIntensity = readEnvelopeValue(body);
        surface.vertexColourMapType = body.id4();
        surface.vertexColourMapName = body.s0();
        break;
    case lwoId("BLOK"): {
        LwoBlock block;
        if (readBlock(body, block))
            surface.blocks.push_back(std::move(block));
        break;
    }
    default: break;
    }
}

class Reader {
public:
    Reader(const std::string& path, LwoObject& object) : path_(path), object_(object) {}

    Result chunk(LwoId id, Input& in)
    {
        switch (id) {
        case lwoId("TAGS"): return tags(in);
        case lwoId("LAYR"): return layer(in);
        case lwoId("SURF"): return surface(in);
        default: break;
        }
        static constexpr LwoId layerChunks[] = {lwoId("PNTS"), lwoId("BBOX"), lwoId("POLS"),
                                                lwoId("PTAG"), lwoId("VMAP"), lwoId("VMAD"),
                                                lwoId("CLIP")};
        if (std::find(std::begin(layerChunks), std::end(layerChunks), id) == std::end(layerChunks))
            return Result::success;  // a chunk the reader does not keep
        if (object_.layers.empty())
            return Result::genericFailure;
        LwoLayer& current = object_.layers.back();
        switch (id) {
        case lwoId("PNTS"): return points(in, current);
        case lwoId("BBOX"):
            current.boundsMin = in.vec3();
            current.boundsMax = in.vec3();
            return Result::success;
        case lwoId("POLS"): return polygons(in, current);
        case lwoId("PTAG"): return polygonTags(in, current);
        case lwoId("VMAP"): return vertexMap(in, current);
        case lwoId("VMAD"): return cornerMap(in, current);
        default: return clip(in, current);
        }
    }

    void finish()
    {
        for (LwoLayer& layer : object_.layers) {
            std::reverse(layer.cornerMaps.begin(), layer.cornerMaps.end());
            if (layer.name.empty() && !namedAfterPath_) {
                layer.name = path_;
                namedAfterPath_ = true;
            }
            postProcess(layer);
        }
        if (!object_.layers.empty())
            orderPolygons(object_.layers.front().polygons);
    }

private:
    Result tags(Input& in)
    {
        if (object_.layers.empty()) {
            object_.layers.emplace_back();
            layerFromTags_ = true;
        }
        while (!in.atEnd())
            object_.tags.push_back(in.s0());
        return Result::success;
    }

    Result layer(Input& in)
    {
        if (!layerFromTags_)
            object_.layers.emplace_back();
        layerFromTags_ = false;
        LwoLayer& layer = object_.layers.back();
        layer.number = in.u2();
        layer.flags = in.u2();
        layer.pivot = in.vec3();
        layer.name = in.s0();
        if (in.remaining() >= 2)
            layer.parent = in.u2();
        return Result::success;
    }

    // A second point list in the same layer is appended, so indices read so far stay valid.
    Result points(Input& in, LwoLayer& layer)
    {
        std::size_t count = in.remaining() / 12;
        layer.points.positions.reserve(layer.points.positions.size() + count);
        for (std::size_t i = 0; i < count; ++i)
            layer.points.positions.push_back(in.vec3());
        return Result::success;
    }

    // Point indices past the layer's point list would be read when normals are computed and
    // when the mesh is built: such a polygon makes the whole file invalid.
    Result polygons(Input& in, LwoLayer& layer)
    {
        if (in.id4() != lwoId("FACE"))
            return Result::success;
        std::size_t pointCount = layer.points.count();
        while (!in.atEnd()) {
            LwoPolygon polygon;
            std::size_t count = in.u2() & 0x03FF;
            polygon.vertices.reserve(std::min(count, in.remaining() / 2));
            for (std::size_t i = 0; i < count && !in.overrun(); ++i) {
                std::uint32_t index = in.vx();
                if (!in.overrun() && index >= pointCount)
                    return Result::wrongChunk;
                polygon.vertices.push_back(index);
            }
            if (in.overrun())
                break;
            layer.polygons.push_back(std::move(polygon));
        }
        return Result::success;
    }

    Result polygonTags(Input& in, LwoLayer& layer)
    {
        LwoId type = in.id4();
        while (!in.atEnd()) {
            LwoPolygonTag tag;
            tag.type = type;
            tag.polygon = in.vx();
            tag.tag = in.u2();
            if (!in.overrun())
                layer.polygonTags.push_back(tag);
        }
        return Result::success;
    }

    Result vertexMap(Input& in, LwoLayer& layer)
    {
        LwoVertexMap map;
        map.type = in.id4();
        map.dimension = in.u2();
        map.name = in.s0();
        while (!in.atEnd()) {
            std::uint32_t point = in.vx();
            if (in.remaining() < std::size_t(map.dimension) * 4) {
                in.skip(in.remaining() + 1);
                break;
            }
            map.points.push_back(point);
            for (int i = 0; i < map.dimension; ++i)
                map.values.push_back(in.f4());
        }
        layer.vertexMaps.push_back(std::move(map));
        return Result::success;
    }

    // Kept in reverse file order: maps are reversed once the file is read, entries here.
    Result cornerMap(Input& in, LwoLayer& layer)
    {
        LwoCornerMap map;
        map.type = in.id4();
        map.dimension = in.u2();
        map.name = in.s0();
        std::vector<float> values;
        while (!in.atEnd()) {
            std::uint32_t point = in.vx();
            std::uint32_t polygon = in.vx();
            if (in.remaining() < std::size_t(map.dimension) * 4) {
                in.skip(in.remaining() + 1);
                break;
            }
            map.points.push_back(point);
            map.polygons.push_back(polygon);
            for (int i = 0; i < map.dimension; ++i)
                values.push_back(in.f4());
        }
        std::reverse(map.points.begin(), map.points.end());
        std::reverse(map.polygons.begin(), map.polygons.end());
        std::size_t entries = map.points.size();
        map.values.resize(values.size());
        for (std::size_t e = 0; e < entries; ++e)
            std::copy_n(values.begin() + std::ptrdiff_t(e * map.dimension), map.dimension,
                        map.values.begin() + std::ptrdiff_t((entries - 1 - e) * map.dimension));
        layer.cornerMaps.push_back(std::move(map));
        return Result::success;
    }

    Result clip(Input& in, LwoLayer& layer)
    {
        LwoClip clip;
        clip.index = in.u4();
        bool still = false;
        forEachSubChunk(in, [&](LwoId id, Input& body) {
            if (id != lwoId("STIL"))
                return;
            std::string path = body.s0();
            std::size_t slash = path.rfind('/');
            clip.fileName = slash == std::string::npos ? path : path.substr(slash + 1);
            still = true;
        });
        if (still && !in.overrun())
            layer.clips.push_back(std::move(clip));
        return Result::success;
    }

    Result surface(Input& in)
    {
        LwoSurface surface;
        surface.name = in.s0();
        in.s0();  // the source surface is not kept
        forEachSubChunk(in, [&](LwoId id, Input& body) { readSurfacePart(id, body, surface); });
        object_.surfaces.push_back(std::move(surface));
        return Result::success;
    }

    void postProcess(LwoLayer& layer)
    {
        const auto& pos = layer.points.positions;
        for (LwoPolygon& polygon : layer.polygons) {
            if (polygon.vertexCount() <= 2)
                continue;
            const LwoVec3& v0 = pos[polygon.vertices.front()];
            const LwoVec3& v1 = pos[polygon.vertices[1]];
            const LwoVec3& vl = pos[polygon.vertices.back()];
            float a[3] = {v1[0] - v0[0], v1[1] - v0[1], v1[2] - v0[2]};
            float b[3] = {vl[0] - v0[0], vl[1] - v0[1], vl[2] - v0[2]};
            LwoVec3 n = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                         a[0] * b[1] - a[1] * b[0]};
            float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            if (length != 0.0f)
                for (float& c : n)
                    c /= length;
            polygon.normal = n;
            polygon.planeD = -(n[0] * v0[0] + n[1] * v0[1] + n[2] * v0[2]);
        }

        for (const LwoPolygonTag& tag : layer.polygonTags) {
            const std::string* text = findTag(object_, tag.tag);
            LwoPolygon* polygon =
                tag.polygon < layer.polygons.size() ? &layer.polygons[tag.polygon] : nullptr;
            if (!text || !polygon)
                continue;
            if (tag.type == lwoId("SURF"))
                polygon->surface = findSurface(object_, *text);
            else if (tag.type == lwoId("SMGP"))
                polygon->smoothingGroup = tag.tag;
            else if (tag.type == lwoId("PART"))
                polygon->part = tag.tag;
        }

        static constexpr LwoId slotTypes[] = {lwoId("PICK"), lwoId("WGHT"), lwoId("MNVW"),
                                              lwoId("TXUV"), lwoId("RGB "), lwoId("RGBA"),
                                              lwoId("MORF"), lwoId("SPOT")};
        for (const LwoVertexMap& map : layer.vertexMaps)
            for (std::size_t slot = 0; slot < std::size(slotTypes); ++slot)
                if (map.type == slotTypes[slot])
                    layer.points.maps[slot] = &map;

        // The list holds maps and entries last-in-file first; walking it backwards attaches the
        // first entry of the file to a corner and leaves later ones out.
        for (auto map = layer.cornerMaps.rbegin(); map != layer.cornerMaps.rend(); ++map) {
            if (map->type != lwoId("TXUV"))
                continue;
            for (std::size_t e = map->count(); e-- > 0;) {
                if (map->polygons[e] >= layer.polygons.size())
                    continue;
                LwoPolygon& polygon = layer.polygons[map->polygons[e]];
                auto corner =
                    std::find(polygon.vertices.begin(), polygon.vertices.end(), map->points[e]);
                if (corner == polygon.vertices.end())
                    continue;
                polygon.corners.resize(polygon.vertexCount());
                LwoCornerRef& ref = polygon.corners[std::size_t(corner - polygon.vertices.begin())];
                if (!ref.map)
                    ref = {&*map, std::uint32_t(e)};
            }
        }

        if (!pos.empty()) {
            layer.boundsMin = layer.boundsMax = pos.front();
            for (const LwoVec3& p : pos)
                for (int axis = 0; axis < 3; ++axis) {
                    layer.boundsMin[axis] = std::min(layer.boundsMin[axis], p[axis]);
                    layer.boundsMax[axis] = std::max(layer.boundsMax[axis], p[axis]);
                }
        }
    }

    // Solid polygons first, then transparent ones, each group in reverse file order.
    static void orderPolygons(std::vector<LwoPolygon>& polygons)
    {
        std::vector<LwoPolygon> ordered;
        ordered.reserve(polygons.size());
        for (bool transparent : {false, true})
            for (auto p = polygons.rbegin(); p != polygons.rend(); ++p)
                if ((p->surface && p->surface->isTransparent()) == transparent)
                    ordered.push_back(std::move(*p));
        polygons = std::move(ordered);
    }

    const std::string& path_;
    LwoObject& object_;
    bool layerFromTags_ = false;
    bool namedAfterPath_ = false;
};

std::unique_ptr<LwoObject> fail(Result result)
{
    std::fputs(message(result), stdout);
    return nullptr;
}

} // namespace

std::unique_ptr<LwoObject> readLwoMemory(const std::uint8_t* data, std::size_t size,
                                         const std::string& name)
{
    Input file(data, size);
    if (file.id4() != lwoId("FORM") || file.overrun()) {
        std::fputs("ERROR! THIS ISN'T A IFF FILE\n", stdout);
        return nullptr;
    }
    std::uint32_t formSize = file.u4();
    if (file.id4() != lwoId("LWO2") || file.overrun()) {
        std::fputs("ERROR! THIS ISN'T A LWO2 FILE\n", stdout);
        return nullptr;
    }

    auto object = std::make_unique<LwoObject>();
    Reader reader(name, *object);
    for (std::uint64_t position = 4; position < formSize;) {
        LwoId id = file.id4();
        std::uint32_t chunkSize = file.u4();
        Input body = file.take(chunkSize);
        if (file.overrun())
            return fail(Result::endOfFile);
        Result result;
        try {
            result = reader.chunk(id, body);
        } catch (const std::bad_alloc&) {
            result = Result::memory;
        }
        if (result == Result::success && body.overrun())
            result = Result::endOfFile;
        if (result != Result::success)
            return fail(result);
        position += std::uint64_t(chunkSize) + 8;
        if (chunkSize & 1) {
            file.skipPad(chunkSize);
            ++position;
        }
    }
    reader.finish();
    return object;
}

std::unique_ptr<LwoObject> readLwo(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return nullptr;
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        return fail(Result::fileError);
    return readLwoMemory(bytes.data(), bytes.size(), path);
}

void freeLwo(std::unique_ptr<LwoObject>& object)
{
    object.reset();
}

const LwoVertexMap* findVertexMap(const LwoLayer& layer, const std::string& name, LwoId type)
{
    for (const LwoVertexMap& map : layer.vertexMaps)
        if (map.name == name && (type == 0 || map.type == type))
            return &map;
    return nullptr;
}

const LwoPolygon* findPolygon(const LwoLayer& layer, std::size_t n)
{
    return n < layer.polygons.size() ? &layer.polygons[n] : nullptr;
}

const std::string* findTag(const LwoObject& object, std::size_t n)
{
    return n < object.tags.size() ? &object.tags[n] : nullptr;
}

const LwoSurface* findSurface(const LwoObject& object, const std::string& name)
{
    for (const LwoSurface& surface : object.surfaces)
        if (surface.name == name)
            return &surface;
    return nullptr;
}
