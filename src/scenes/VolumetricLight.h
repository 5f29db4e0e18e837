// A volumetric light: a solid body drawn with its own materials, wrapped in up to 25 copies of
// itself that grow and fade outwards (shells), their number breathing with the light's angle.
#pragma once
#include "math/Vector3.h"

class Material;
class Mesh;

struct LightShell {
    float intensity;  // colour and alpha of the shell
    float scale;      // uniform scale of the shell
};

struct VolumetricShells {
    static constexpr int kMost = 25;
    int count = 0;
    // Shell k (0 .. count - 1): intensity 1 - k / count, scale 1 + 0.05 k.
    LightShell operator[](int k) const;
};

// The shells at angle a: (sin a + 1) × 12.5 of them, 0 at sin a = -1, 25 at sin a = 1.
VolumetricShells volumetricShells(float angle);

// The light at `position`: the mesh turned by angle × 17.5°, × 45° and × 30° about x, y and z
// and moved by (1, 1, 1), drawn white with its materials, then its shells drawn with
// `shellMaterial` (bound around them when not null). Lighting is left as the caller set it.
void drawVolumetricLight(Mesh& mesh, Material* shellMaterial, const Vector3& position, float angle);
