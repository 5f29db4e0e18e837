// Depth test, depth function and depth writes of a material: the "ZBuffer {" block.
#pragma once
#include "material/RenderState.h"
#include "core/GL.h"

#include <istream>

class ScriptReader;

class DepthState : public RenderState {
public:
    bool enabled = false;
    bool write = true;
    GLenum function = GL_LEQUAL;

    void apply() override;
    void restore() override;
    // Fills the state from the lines after "ZBuffer {" up to its "}".
    void read(ScriptReader& reader, std::istream& stream);
};
