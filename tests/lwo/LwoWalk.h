// Reads the facts of an LWO2 file's first layer by walking its chunks directly, so tests can
// check the reader and the mesh import against a second, independent route.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

struct WalkedMap {
    std::string type;
    std::string name;
    unsigned dimension = 0;
    std::vector<std::uint32_t> points;
    std::vector<std::vector<float>> values;
};

struct WalkedLayer {
    std::vector<float> positions;  // x, y, z per point
    std::size_t polygons = 0;
    std::size_t triangles = 0;
    float min[3] = {0, 0, 0};
    float max[3] = {0, 0, 0};
    std::vector<WalkedMap> maps;

    std::size_t points() const { return positions.size() / 3; }
};

namespace lwowalk {

inline std::uint32_t be32(const unsigned char* p)
{
    return (std::uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}
inline float bef(const unsigned char* p)
{
    std::uint32_t bits = be32(p);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}
inline std::uint32_t vx(const unsigned char* p, std::size_t& q)
{
    if (p[q] == 0xFF) {
        q += 4;
        return be32(p + q - 4) & 0xFFFFFF;
    }
    q += 2;
    return (p[q - 2] << 8) | p[q - 1];
}

inline WalkedLayer walkFirstLayer(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> d((std::istreambuf_iterator<char>(in)), {});
    WalkedLayer layer;
    int layers = 0;
    for (std::size_t p = 12; p + 8 <= d.size();) {
        std::string id(reinterpret_cast<char*>(&d[p]), 4);
        std::size_t size = be32(&d[p + 4]);
        const unsigned char* body = &d[p + 8];
        if (id == "LAYR" && ++layers > 1)
            break;
        if (id == "PNTS") {
            for (std::size_t i = 0; i < size / 12; ++i)
                for (int a = 0; a < 3; ++a) {
                    float v = bef(body + i * 12 + a * 4);
                    layer.positions.push_back(v);
                    layer.min[a] = i ? std::min(layer.min[a], v) : v;
                    layer.max[a] = i ? std::max(layer.max[a], v) : v;
                }
        }
        if (id == "POLS" && std::memcmp(body, "FACE", 4) == 0) {
            for (std::size_t q = 4; q < size;) {
                unsigned count = ((body[q] << 8) | body[q + 1]) & 0x3FF;
                q += 2;
                for (unsigned v = 0; v < count; ++v)
                    vx(body, q);
                ++layer.polygons;
                layer.triangles += count >= 3 ? count - 2 : 0;
            }
        }
        if (id == "VMAP") {
            WalkedMap map;
            map.type.assign(reinterpret_cast<const char*>(body), 4);
            map.dimension = (body[4] << 8) | body[5];
            map.name = reinterpret_cast<const char*>(body + 6);
            std::size_t q = 6 + map.name.size() + 1;
            q += q & 1;
            while (q < size) {
                map.points.push_back(vx(body, q));
                std::vector<float> values;
                for (unsigned k = 0; k < map.dimension; ++k, q += 4)
                    values.push_back(bef(body + q));
                map.values.push_back(values);
            }
            layer.maps.push_back(map);
        }
        p += 8 + size + (size & 1);
    }
    return layer;
}

} // namespace lwowalk
