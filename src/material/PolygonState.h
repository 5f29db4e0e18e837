// Polygon rasterisation mode (points, lines, filled) of a material: the "Polygon {" block.
#pragma once
#include "material/RenderState.h"
#include "core/GL.h"

#include <istream>

class ScriptReader;

class PolygonState : public RenderState {
public:
    bool enabled = false;
    GLenum mode = GL_FILL;
    GLenum face = GL_FRONT_AND_BACK;

    void apply() override;
    void restore() override;
    // Fills the state from the lines after "Polygon {" up to its "}"; an unknown mode or face
    // word is an error.
    void read(ScriptReader& reader, std::istream& stream);
};
