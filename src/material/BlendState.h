// Blending of a material (factors, separate alpha factors, equation, constant colour) and its
// lighting switch: the "Blend {" block.
#pragma once
#include "material/RenderState.h"
#include "core/GL.h"

#include <istream>

class ScriptReader;

class BlendState : public RenderState {
public:
    bool lighting = true;
    bool enabled = false;
    bool separate = false;
    GLenum srcRGB = GL_ONE;
    GLenum dstRGB = GL_ONE;
    GLenum srcAlpha = GL_ONE;
    GLenum dstAlpha = GL_ONE;
    GLenum equation = 0; // 0: the equation is left alone
    float colour[4] = {0, 0, 0, 0};

    void apply() override;
    void restore() override;
    // Fills the state from the lines after "Blend {" up to its "}".
    void read(ScriptReader& reader, std::istream& stream);

private:
    // Whether lighting was on when `Lighting no` switched it off, so restore gives back exactly
    // that (2D drawing runs unlit, scenes lit).
    bool lightingWasOn = false;
};
