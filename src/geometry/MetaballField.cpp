#include "geometry/MetaballField.h"

#include "core/GL.h"
#include "geometry/MarchingCubesTables.h"

#include <algorithm>

namespace {

// Points handled together for all balls, so that the block's seven arrays stay in the first-level
// cache while every ball passes over them. The arrays are padded to whole blocks, so every loop
// over a block has a fixed trip count and the compiler vectorises it without a scalar remainder.
constexpr int kBlock = 512;
// Where the padding points sit: far outside the grid, so their values stay tiny and finite.
constexpr float kFarAway = 1.0e4f;
// Vertices per draw call.
constexpr int kBatch = 3 * 4096;

// Adds every ball's charge to the points of one block. The arrays are parameters, so that their
// restrict qualifiers let the compiler vectorise the inner loop.
void addCharges(float* __restrict value, float* __restrict nx, float* __restrict ny, float* __restrict nz,
                const float* __restrict px, const float* __restrict py, const float* __restrict pz,
                const Metaball* balls, int count)
{
    for (int b = 0; b < count; ++b) {
        const float bx = balls[b].x, by = balls[b].y, bz = balls[b].z, s = balls[b].strength;
        for (int p = 0; p < kBlock; ++p) {
            const float dx = px[p] - bx, dy = py[p] - by, dz = pz[p] - bz;
            float r2 = dx * dx + dy * dy + dz * dz;
            r2 = r2 == 0.0f ? 0.0001f : r2;
            const float f = s / r2;
            const float g = f / r2;
            value[p] += f;
            nx[p] += dx * g;
            ny[p] += dy * g;
            nz[p] += dz * g;
        }
    }
}

// Marks the points of one block that lie below the iso level.
void markBelow(const float* __restrict value, std::uint8_t* __restrict below, float iso)
{
    for (int p = 0; p < kBlock; ++p)
        below[p] = value[p] < iso ? 1 : 0;
}

} // namespace

bool MetaballField::init(int n)
{
    n_ = 0;
    points_ = 0;
    for (auto* a : {&px_, &py_, &pz_, &nx_, &ny_, &nz_, &value_})
        a->clear();
    if (n < 1)
        return false;
    n_ = n;
    const int side = n + 1;
    const std::size_t count = std::size_t(side) * side * side;
    const std::size_t padded = (count + kBlock - 1) / kBlock * kBlock;
    for (auto* a : {&nx_, &ny_, &nz_, &value_})
        a->assign(padded, 0.0f);
    for (auto* a : {&px_, &py_, &pz_})
        a->assign(padded, kFarAway);
    points_ = int(count);
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= n; ++j)
            for (int k = 0; k <= n; ++k) {
                const int p = pointIndex(i, j, k);
                px_[p] = float(i) * 20.0f / float(n) - 10.0f;
                py_[p] = float(j) * 20.0f / float(n) - 10.0f;
                pz_[p] = float(k) * 20.0f / float(n) - 10.0f;
            }
    const int plane = side * side;
    const int offsets[8] = {0, 1, side + 1, side, plane, plane + 1, plane + side + 1, plane + side};
    std::copy(offsets, offsets + 8, cornerOffset_);
    below_.assign(padded, 0);
    rowIndex_.assign(std::size_t(n), 0);
    return true;
}

int MetaballField::cubeCorner(int cube, int c) const
{
    const int k = cube % n_, j = (cube / n_) % n_, i = cube / (n_ * n_);
    return pointIndex(i, j, k) + cornerOffset_[c];
}

void MetaballField::setBalls(const Metaball* balls, int count)
{
    const int points = int(value_.size());
    std::fill(value_.begin(), value_.end(), 0.0f);
    std::fill(nx_.begin(), nx_.end(), 0.0f);
    std::fill(ny_.begin(), ny_.end(), 0.0f);
    std::fill(nz_.begin(), nz_.end(), 0.0f);
    for (int start = 0; start < points; start += kBlock)
        addCharges(value_.data() + start, nx_.data() + start, ny_.data() + start, nz_.data() + start,
                   px_.data() + start, py_.data() + start, pz_.data() + start, balls, count);
}

void MetaballField::polygonise(float iso, std::vector<MetaballVertex>& out)
{
    if (n_ < 1)
        return;
    const int points = int(value_.size());
    for (int start = 0; start < points; start += kBlock)
        markBelow(value_.data() + start, below_.data() + start, iso);
    const float* value = value_.data();
    const std::uint8_t* below = below_.data();

    const int* off = cornerOffset_;
    std::uint8_t* row = rowIndex_.data();
    for (int i = 0; i < n_; ++i)
        for (int j = 0; j < n_; ++j) {
            const std::uint8_t* b = below + pointIndex(i, j, 0);
            // The cube index of every cube in this row at once.
            for (int k = 0; k < n_; ++k)
                row[k] = std::uint8_t(b[k + off[0]] | b[k + off[1]] << 1 | b[k + off[2]] << 2 |
                                      b[k + off[3]] << 3 | b[k + off[4]] << 4 | b[k + off[5]] << 5 |
                                      b[k + off[6]] << 6 | b[k + off[7]] << 7);
            for (int k = 0; k < n_; ++k) {
                const int cube = row[k];
                const int edges = marchingcubes::kEdgeTable[cube];
                if (edges == 0)
                    continue;
                const int base = pointIndex(i, j, k);
                for (int e = 0; e < 12; ++e) {
                    if (!(edges & (1 << e)))
                        continue;
                    const int a = base + off[marchingcubes::kEdgeCorners[e][0]];
                    const int c = base + off[marchingcubes::kEdgeCorners[e][1]];
                    const float mu = (iso - value[a]) / (value[c] - value[a]);
                    edgePosition_[e] = {px_[a] + mu * (px_[c] - px_[a]), py_[a] + mu * (py_[c] - py_[a]),
                                        pz_[a] + mu * (pz_[c] - pz_[a])};
                    Vector3 normal{nx_[a] + mu * (nx_[c] - nx_[a]), ny_[a] + mu * (ny_[c] - ny_[a]),
                                   nz_[a] + mu * (nz_[c] - nz_[a])};
                    normal.normalize();
                    edgeNormal_[e] = normal;
                }
                const std::int8_t* tri = marchingcubes::triangles(cube);
                for (int t = 0; tri[t] != -1; t += 3)
                    for (int e : {tri[t], tri[t + 2], tri[t + 1]})
                        out.push_back({edgeNormal_[e], edgePosition_[e]});
            }
        }
}

void MetaballField::render(float iso)
{
    vertices_.clear();
    polygonise(iso, vertices_);
    drawLast();
}

void MetaballField::drawLast()
{
    if (vertices_.empty())
        return;
    glVertexPointer(3, GL_FLOAT, sizeof(MetaballVertex), &vertices_[0].position);
    glNormalPointer(GL_FLOAT, sizeof(MetaballVertex), &vertices_[0].normal);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    const int total = int(vertices_.size());
    for (int first = 0; first < total; first += kBatch)
        glDrawArrays(GL_TRIANGLES, first, std::min(kBatch, total - first));
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}
