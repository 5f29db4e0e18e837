// Face culling, winding and two-sided lighting of a material: the "Cull {" block.
#pragma once
#include "material/RenderState.h"
#include "core/GL.h"

#include <istream>

class ScriptReader;

class CullState : public RenderState {
public:
    bool enabled = true;
    bool twoSided = false;
    GLenum face = GL_BACK;
    GLenum winding = GL_CCW;

    void apply() override;
    void restore() override;
    // Fills the state from the lines after "Cull {" up to its "}".
    void read(ScriptReader& reader, std::istream& stream);
};
