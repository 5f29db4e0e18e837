// Coloured, optionally textured quads collected on the CPU and sent in one vertex-array draw.
#pragma once
#include <vector>

class QuadBatch {
public:
    struct Vertex {
        float x, y, z;
        float s, t;
        float r, g, b, a;
    };

    void clear() { vertices_.clear(); }
    void reserve(int quads) { vertices_.reserve(std::size_t(quads) * 4); }
    void add(const Vertex& v) { vertices_.push_back(v); }
    int vertexCount() const { return int(vertices_.size()); }

    // Draws every quad (four vertices each, in the order added) with per-vertex colours, and
    // texture coordinates on unit 0 when `textured`; the client arrays are switched off again and
    // the current colour is left white.
    void draw(bool textured) const;

private:
    std::vector<Vertex> vertices_;
};
