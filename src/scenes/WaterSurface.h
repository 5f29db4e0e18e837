// A pool's water surface: a height field on a grid mesh whose points are pulled towards their
// eight neighbours by springs. Each step also gives every vertex the texture coordinates where
// its refracted view ray meets the pool's floor or walls (an unfolded pool picture) and a
// view-dependent shade, and drawing loads a projective texture matrix for the picture on unit 0.
#pragma once
#include "geometry/Mesh.h"
#include "math/Matrix4x4.h"
#include "math/Vector3.h"

#include <vector>

class WaterSurface : public Mesh {
public:
    // A grid of columns × rows points spanning -halfSize..halfSize in x and z at height 0;
    // `depth` is the pool's depth in the unfolded picture's units. False when the mesh already
    // holds data or the grid has fewer than two points along either side.
    bool init(int columns, int rows, float depth, float halfSize);
    // Sets the height of grid point (column, row); points outside the grid are ignored.
    void addDrop(int column, int row, float height);
    // Springs, integration over dt seconds, normals, then refraction coordinates and shades for
    // the eye position (in the surface's coordinates).
    void step(float dt, const Vector3& eye);
    // The two halves of a step. moveHeights: springs and integration over dt seconds, heights
    // only. shade: normals, refraction coordinates and shades of the current heights for the
    // eye. A run of moveHeights followed by one shade leaves the surface as the same run of
    // steps would, at a fraction of the cost (a catch-up over many frames).
    void moveHeights(float dt);
    void shade(const Vector3& eye);

    // begin: the vertex arrays, the projective matrix on unit 0, unit 1 made active.
    void begin() override;
    // end: identity texture matrices on units 1 and 0 (unit 0 left active), arrays off.
    void end() override;

    // S × B × P × F × inverse(modelView) for the projective picture (row-major, column vectors).
    static Matrix4x4 projectiveTextureMatrix(const Matrix4x4& modelView, float scale = 1.0f);

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    float depth() const { return depth_; }
    const std::vector<float>& forces() const { return force_; }
    const std::vector<float>& velocities() const { return velocity_; }
    // Vertex (column, row) of the grid.
    int index(int column, int row) const { return row * columns_ + column; }

    // Shade the vertices by view angle; when false every shade is 200.
    bool fresnelColour = true;
    // Velocity damping per second.
    float damping = 0.05f;

private:
    void computeForces();
    void integrate(float dt);
    void computeNormals();
    void computeRefraction(const Vector3& eye);

    int columns_ = 0;
    int rows_ = 0;
    float depth_ = 1.0f;
    // Per-vertex values laid out as plain float arrays so the loops over them vectorise; the
    // mesh's vertex records receive the results at the end of each step.
    std::vector<float> height_, velocity_, force_;
    std::vector<float> interior_;         // 1 for points whose springs pull, else 0
    std::vector<float> x_, z_;            // grid positions
    std::vector<float> poolX_, poolZ_;    // the point's place in the pool's unit space
    std::vector<float> nx_, ny_, nz_;     // normals of the current step
    std::vector<float> s_, t_, shade_;    // refraction coordinates and shade
};
