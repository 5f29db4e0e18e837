// Alpha test of a material: the "Alpha {" block.
#pragma once
#include "material/RenderState.h"
#include "core/GL.h"

#include <istream>

class ScriptReader;

class AlphaState : public RenderState {
public:
    bool enabled = false;
    GLenum function = GL_ALWAYS;
    float reference = 0.0f;

    void apply() override;
    void restore() override;
    // Fills the state from the lines after "Alpha {" up to its "}".
    void read(ScriptReader& reader, std::istream& stream);
};
