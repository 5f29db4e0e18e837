// Stencil test of a material: the "Stencil {" block.
#pragma once
#include "material/RenderState.h"
#include "core/GL.h"

#include <cstdint>
#include <istream>

class ScriptReader;

class StencilState : public RenderState {
public:
    bool enabled = false;
    GLenum function = GL_ALWAYS;
    std::int32_t reference = 0;
    std::int32_t mask = 0;
    std::int32_t writeMask = 255; // read and kept; the stencil write mask is not touched
    GLenum failOp = GL_ZERO;
    GLenum depthFailOp = GL_ZERO;
    GLenum depthPassOp = GL_ZERO;

    void apply() override;
    void restore() override;
    // Fills the state from the lines after "Stencil {" up to its "}".
    void read(ScriptReader& reader, std::istream& stream);
};
