// Fixed-function material colours of a material, or the colour-material diffuse colour when off:
// the "Material {" block.
#pragma once
#include "material/RenderState.h"
#include "core/GL.h"

#include <istream>

class ScriptReader;

class MaterialColourState : public RenderState {
public:
    bool enabled = false;
    float ambient[4] = {0, 0, 0, 1};
    float diffuse[4] = {0.8f, 0.8f, 0.8f, 1};
    float specular[4] = {1, 1, 1, 1};
    float emission[4] = {0, 0, 0, 0};
    float shininess = 0.0f;

    void apply() override;
    void restore() override;
    // Fills the state from the lines after "Material {" up to its "}".
    void read(ScriptReader& reader, std::istream& stream);
};
