// Vertex and fragment programs of a material: the "Vertex {" (GL_EXT_vertex_shader) and
// "Fragment {" (GL_ATI_fragment_shader) blocks, with names resolved through the library.
#pragma once
#include "material/RenderState.h"
#include "core/GL.h"

#include <istream>

class MaterialLibrary;
class ScriptReader;

// What the two program states share: the switch, the program id and the block reading.
class ProgramState : public RenderState {
public:
    bool enabled = false;
    GLuint program = 0;

    // Fills the state from the lines after the block's opening line up to its "}"; "Name "
    // resolves the quoted name through `library` (0 when it is not registered).
    void read(ScriptReader& reader, std::istream& stream, const MaterialLibrary& library);

protected:
    virtual GLuint resolve(const MaterialLibrary& library, const std::string& name) const = 0;
    virtual const char* unknownMessage() const = 0;
};

class VertexProgramState : public ProgramState {
public:
    void apply() override;
    void restore() override;

protected:
    GLuint resolve(const MaterialLibrary& library, const std::string& name) const override;
    const char* unknownMessage() const override { return "PARSE ERROR! Unknown Vertex Token"; }
};

class FragmentProgramState : public ProgramState {
public:
    void apply() override;
    void restore() override;

protected:
    GLuint resolve(const MaterialLibrary& library, const std::string& name) const override;
    const char* unknownMessage() const override { return "PARSE ERROR! Unknown Fragment Token"; }
};
