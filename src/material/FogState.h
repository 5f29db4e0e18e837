// Fog of a material: the "Fog {" block.
#pragma once
#include "material/RenderState.h"
#include "core/GL.h"

#include <istream>

class ScriptReader;

class FogState : public RenderState {
public:
    bool enabled = false;
    float start = 0.0f;
    float end = 1.0f;
    float density = 0.5f;
    float colour[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    GLenum mode = GL_EXP;
    GLenum hint = GL_NICEST;

    void apply() override;
    void restore() override;
    // Fills the state from the lines after "Fog {" up to its "}".
    void read(ScriptReader& reader, std::istream& stream);
};
