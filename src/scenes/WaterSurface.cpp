#include "scenes/WaterSurface.h"

#include "core/ExtensionRegistry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kDiagonal = 0.70710677f;
constexpr float kRatio = 0.75f;              // refraction index ratio air to water
constexpr float kRatioSquared = 0.5625f;
constexpr float kNoHit = 1e9f;               // distance of a pool face the ray never reaches
constexpr float kEdgeInset = 0.998f;         // keeps the pool coordinates off the walls

// A distance along the ray: num / div, or kNoHit when the ray runs parallel to the face or
// away from it. The division is never by zero, so the vectoriser may compute it in every lane.
inline float faceDistance(float num, float div)
{
    const bool crosses = div != 0.0f;
    const float d = num / (crosses ? div : 1.0f);
    return crosses && !(d < 0.0f) ? d : kNoHit;
}

// 1 / length, or 1 for a zero vector (which then stays as it is).
inline float inverseLength(float length) { return 1.0f / (length != 0.0f ? length : 1.0f); }

// The Sobel-like slope sums of one vertex from the rows above and below. A missing row (above
// the first, below the last) contributes the vertex's own height for all three of its samples;
// columns are clamped by the caller through cl and cr.
template <bool HasUp, bool HasDown>
inline void slopes(const float* up, const float* mid, const float* down, int cl, int c, int cr,
                   float& nx, float& nz)
{
    const float own = mid[c];
    const float uL = HasUp ? up[cl] : own, uC = HasUp ? up[c] : own, uR = HasUp ? up[cr] : own;
    const float dL = HasDown ? down[cl] : own, dC = HasDown ? down[c] : own,
                dR = HasDown ? down[cr] : own;
    nx = (dL + 2.0f * dC + dR) - (uL + 2.0f * uC + uR);
    nz = (uR + 2.0f * mid[cr] + dR) - (uL + 2.0f * mid[cl] + dL);
}

template <bool HasUp, bool HasDown>
void slopeRow(const float* up, const float* mid, const float* down, int columns, float* nx,
              float* nz)
{
    const int last = columns - 1;
    slopes<HasUp, HasDown>(up, mid, down, 0, 0, std::min(1, last), nx[0], nz[0]);
    for (int c = 1; c < last; ++c)
        slopes<HasUp, HasDown>(up, mid, down, c - 1, c, c + 1, nx[c], nz[c]);
    if (last > 0)
        slopes<HasUp, HasDown>(up, mid, down, last - 1, last, last, nx[last], nz[last]);
}

void textureMatrixIdentity(GLenum unit)
{
    if (ext::glActiveTextureARB)
        ext::glActiveTextureARB(unit);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

} // namespace

bool WaterSurface::init(int columns, int rows, float depth, float halfSize)
{
    if (columns < 2 || rows < 2 || vertices.allocated() || faces.allocated())
        return false;
    flags = kNormals | kColours | texCoordFlag(0);
    if (!allocate(columns * rows, (columns - 1) * (rows - 1) * 2))
        return false;
    columns_ = columns;
    rows_ = rows;
    depth_ = depth;

    const std::size_t n = std::size_t(columns) * std::size_t(rows);
    for (auto* v : {&height_, &velocity_, &force_, &interior_, &x_, &z_, &poolX_, &poolZ_, &nx_,
                    &ny_, &nz_, &s_, &t_, &shade_})
        v->assign(n, 0.0f);

    const float aspect = float(columns) / float(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const int i = index(c, r);
            MeshVertex vertex;
            vertex.position = {halfSize * (2.0f * float(c) / float(columns - 1) - 1.0f), 0.0f,
                               halfSize * (2.0f * float(r) / float(rows - 1) - 1.0f)};
            vertex.normal = {0.0f, 1.0f, 0.0f};
            std::fill(std::begin(vertex.colour), std::end(vertex.colour), std::uint8_t(200));
            const MeshTexCoord uv[1] = {{float(c) / float(columns), float(r) / float(rows)}};
            addVertex(vertex, uv);

            x_[i] = vertex.position.x;
            z_[i] = vertex.position.z;
            // Springs pull from the points two or more steps inside the border.
            interior_[i] = r >= 2 && r <= rows - 3 && c >= 2 && c <= columns - 3 ? 1.0f : 0.0f;
            poolX_[i] = (float(c) / float(columns - 1) * kEdgeInset + 0.001f) * aspect;
            poolZ_[i] = float(r) / float(rows - 1) * kEdgeInset + 0.001f;
        }
    for (int r = 0; r + 1 < rows; ++r)
        for (int c = 0; c + 1 < columns; ++c) {
            const int a = index(c, r), b = a + columns;
            const std::int32_t tris[2][3] = {{a, b, a + 1}, {b, b + 1, a + 1}};
            for (const auto& tri : tris) {
                MeshFace face;
                std::copy(std::begin(tri), std::end(tri), face.indices);
                addFace(std::move(face));
            }
        }
    computeBounds();
    return true;
}

void WaterSurface::addDrop(int column, int row, float height)
{
    if (column < 0 || column >= columns_ || row < 0 || row >= rows_)
        return;
    vertices[index(column, row)].position.y = height;
}

void WaterSurface::step(float dt, const Vector3& eye)
{
    moveHeights(dt);
    shade(eye);
}

void WaterSurface::moveHeights(float dt)
{
    if (columns_ == 0)
        return;
    const int n = vertices.size();
    for (int i = 0; i < n; ++i)
        height_[std::size_t(i)] = vertices[i].position.y;
    computeForces();
    integrate(dt);
    for (int i = 0; i < n; ++i)
        vertices[i].position.y = height_[std::size_t(i)];
}

void WaterSurface::shade(const Vector3& eye)
{
    if (columns_ == 0)
        return;
    const int n = vertices.size();
    for (int i = 0; i < n; ++i)
        height_[std::size_t(i)] = vertices[i].position.y;
    computeNormals();
    computeRefraction(eye);

    MeshTexCoord* uv = texCoords[0].data();
    for (int i = 0; i < n; ++i) {
        const std::size_t k = std::size_t(i);
        MeshVertex& v = vertices[i];
        v.normal = {nx_[k], ny_[k], nz_[k]};
        const auto shade = std::uint8_t(shade_[k]);
        std::fill(std::begin(v.colour), std::end(v.colour), shade);
        uv[i] = {s_[k], t_[k]};
    }
}

// Every interior point p pulls each of its eight neighbours q with d = (y(p) - y(q)) × w
// (force(p) -= d, force(q) += d), so a pair of interior points is pulled from both sides. Summed
// per receiving vertex v that is Σ w × (y(q) - y(v)) × (interior(v) + interior(q)) over its
// neighbours, which reads each neighbour once and writes each force once: no scatter, and the
// rows vectorise. Only points within the outer ring can receive anything.
void WaterSurface::computeForces()
{
    std::fill(force_.begin(), force_.end(), 0.0f);
    const int C = columns_;
    // Left, up (previous row), right, down (next row), down-right, up-left, down-left, up-right.
    const int offsets[8] = {-1, -C, 1, C, C + 1, -C - 1, C - 1, -C + 1};
    const float weights[8] = {1, 1, 1, 1, kDiagonal, kDiagonal, kDiagonal, kDiagonal};
    const float* h = height_.data();
    const float* m = interior_.data();
    for (int r = 1; r + 1 < rows_; ++r) {
        float* f = force_.data() + r * C;
        const float* hr = h + r * C;
        const float* mr = m + r * C;
        for (int k = 0; k < 8; ++k) {
            const float w = weights[k];
            const float* hq = hr + offsets[k];
            const float* mq = mr + offsets[k];
            for (int c = 1; c + 1 < C; ++c)
                f[c] += w * (hq[c] - hr[c]) * (mr[c] + mq[c]);
        }
    }
}

// The velocity is added to the height as it is: the springs' time scale is one step.
void WaterSurface::integrate(float dt)
{
    const float keep = 1.0f - dt * damping;
    float* h = height_.data();
    float* v = velocity_.data();
    const float* f = force_.data();
    const std::size_t n = height_.size();
    for (std::size_t i = 0; i < n; ++i) {
        v[i] = (v[i] + dt * f[i]) * keep;
        h[i] += v[i];
    }
}

void WaterSurface::computeNormals()
{
    const int C = columns_;
    for (int r = 0; r < rows_; ++r) {
        const float* mid = height_.data() + r * C;
        const float* up = r > 0 ? mid - C : nullptr;
        const float* down = r + 1 < rows_ ? mid + C : nullptr;
        float* nx = nx_.data() + r * C;
        float* nz = nz_.data() + r * C;
        if (up && down)
            slopeRow<true, true>(up, mid, down, C, nx, nz);
        else if (down)
            slopeRow<false, true>(up, mid, down, C, nx, nz);
        else if (up)
            slopeRow<true, false>(up, mid, down, C, nx, nz);
        else
            slopeRow<false, false>(up, mid, down, C, nx, nz);
    }
    const std::size_t n = height_.size();
    for (std::size_t i = 0; i < n; ++i) {
        const float len = std::sqrt(nx_[i] * nx_[i] + 1.0f + nz_[i] * nz_[i]);
        nx_[i] /= len;
        ny_[i] = 1.0f / len;
        nz_[i] /= len;
    }
}

namespace {

// The arrays are distinct; restrict says so, so the loads and stores can be reordered into
// vectors without run-time overlap checks.
void refract(std::size_t n, float ex, float ey, float ez, float aspect, float depth,
             const float* __restrict px, const float* __restrict py,
             const float* __restrict pz, const float* __restrict nx, const float* __restrict ny,
             const float* __restrict nz, const float* __restrict poolX,
             const float* __restrict poolZ, float* __restrict outS, float* __restrict outT,
             float* __restrict outShade)
{
    // Straight-line code (selects, no branches) so the loop vectorises.
    for (std::size_t i = 0; i < n; ++i) {
        float vx = ex - px[i], vy = ey - py[i], vz = ez - pz[i];
        const float vl = std::sqrt(vx * vx + vy * vy + vz * vz);
        const float vScale = inverseLength(vl);
        vx *= vScale;
        vy *= vScale;
        vz *= vScale;
        const float cosI = vx * nx[i] + vy * ny[i] + vz * nz[i];
        const float m = kRatio * cosI - std::sqrt(1.0f - (1.0f - cosI * cosI) * kRatioSquared);
        float tX = m * nx[i] - kRatio * vx, tY = m * ny[i] - kRatio * vy,
              tZ = m * nz[i] - kRatio * vz;
        const float tl = std::sqrt(tX * tX + tY * tY + tZ * tZ);
        const float tScale = inverseLength(tl);
        tX *= tScale;
        tY *= tScale;
        tZ *= tScale;
        // Views from below the surface would give shades past 255; they are kept in a byte.
        const float shade = float(int((1.0f - (0.8f * cosI + 0.1f)) * 255.0f));
        outShade[i] = std::min(std::max(shade, 0.0f), 255.0f);

        const float tx = poolX[i], tz = poolZ[i];
        const float d0 = faceDistance(-tx, tX);
        const float d1 = faceDistance(-(tx - aspect), tX);
        const float d2 = faceDistance(-tz, tZ);
        const float d3 = faceDistance(-(tz - 1.0f), tZ);
        const float d4 = faceDistance(depth, -tY);

        // The nearest face (0, 1: walls x = 0 and x = aspect; 2, 3: walls z = 0 and z = 1;
        // 4: the floor); ties keep the earlier one.
        float d = d0;
        float face = 0.0f;
        face = d1 < d ? 1.0f : face, d = d1 < d ? d1 : d;
        face = d2 < d ? 2.0f : face, d = d2 < d ? d2 : d;
        face = d3 < d ? 3.0f : face, d = d3 < d ? d3 : d;
        face = d4 < d ? 4.0f : face, d = d4 < d ? d4 : d;

        // A wall's band: X runs from the picture's edge (at the water line) in towards the
        // floor square (at the pool's depth); along the wall the hit point is spread over the
        // band's length.
        const float X = -0.25f * d * tY / depth;
        const float hitX = tx + d * tX, hitZ = tz + d * tZ;
        const float across = 1.0f - 2.0f * X;
        const float xWallS = face == 0.0f ? X : 1.0f - X, xWallT = X + hitZ * across;
        const float zWallT = face == 2.0f ? X : 1.0f - X, zWallS = X + hitX * across / aspect;
        const float floorS = hitX / aspect * 0.5f + 0.25f, floorT = hitZ * 0.5f + 0.25f;
        outS[i] = face <= 1.0f ? xWallS : face <= 3.0f ? zWallS : floorS;
        outT[i] = face <= 1.0f ? xWallT : face <= 3.0f ? zWallT : floorT;
    }
}

} // namespace

// The refracted view ray of each vertex, traced to the nearest of the pool's five faces in the
// pool's unit space (x 0..aspect, z 0..1, floor at -depth); the hit point's place in the
// unfolded pool picture becomes the vertex's texture coordinates. The floor fills the centre
// square 0.25..0.75, each wall the band between it and the picture's edge.
void WaterSurface::computeRefraction(const Vector3& eye)
{
    refract(height_.size(), eye.x, eye.y, eye.z, float(columns_) / float(rows_), depth_,
            x_.data(), height_.data(), z_.data(), nx_.data(), ny_.data(),
            nz_.data(), poolX_.data(), poolZ_.data(), s_.data(), t_.data(), shade_.data());
    if (!fresnelColour)
        std::fill(shade_.begin(), shade_.end(), 200.0f);
}

Matrix4x4 WaterSurface::projectiveTextureMatrix(const Matrix4x4& modelView, float scale)
{
    const Matrix4x4 S = Matrix4x4::scale(scale, scale, 1.0f, scale);
    const Matrix4x4 B = Matrix4x4::translation(0.5f, 0.5f, 0.0f) * Matrix4x4::scale(0.5f, 0.5f, 1.0f);
    Matrix4x4 P = Matrix4x4::identity();
    P.at(3, 2) = 1.0f;  // w = z
    P.at(3, 3) = 0.0f;
    const Matrix4x4 F = Matrix4x4::translation(0.0f, 0.0f, scale) * Matrix4x4::scale(-1.0f, -1.0f, 1.0f);
    return S * B * P * F * modelView.inverse();
}

void WaterSurface::begin()
{
    enableArrays();
    Matrix4x4 modelView;
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView.m);
    // GL keeps matrices column by column; Matrix4x4 row by row.
    const Matrix4x4 texture = projectiveTextureMatrix(modelView.transposed()).transposed();
    if (ext::glActiveTextureARB)
        ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glMatrixMode(GL_TEXTURE);
    glLoadMatrixf(texture.data());
    glMatrixMode(GL_MODELVIEW);
    if (ext::glActiveTextureARB)
        ext::glActiveTextureARB(GL_TEXTURE1_ARB);
}

void WaterSurface::end()
{
    textureMatrixIdentity(GL_TEXTURE1_ARB);
    textureMatrixIdentity(GL_TEXTURE0_ARB);
    disableArrays();
}
