// The classic marching-cubes lookup tables. Corners of the cube at grid cell (i, j, k): 0 (i, j, k),
// 1 (i, j, k+1), 2 (i, j+1, k+1), 3 (i, j+1, k), 4 to 7 the same at i+1; a corner's bit in the cube
// index is set when its value is below the iso level.
#pragma once
#include <cstdint>

namespace marchingcubes {

// The two corners of each of the twelve edges.
inline constexpr int kEdgeCorners[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                                            {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
// For each cube index, the mask of the edges the surface cuts.
extern const std::uint16_t* const kEdgeTable;
// For each cube index, up to five triangles as edge numbers, ended by -1 (16 entries).
const std::int8_t* triangles(int cubeIndex);

} // namespace marchingcubes
