#include "material/ProgramState.h"

#include "material/BlockReader.h"
#include "core/ExtensionRegistry.h"
#include "material/MaterialLibrary.h"

namespace {
bool vertexShaders() { return ext::gl_EXT_vertex_shader && ext::glBindVertexShaderEXT; }
bool fragmentShaders() { return ext::gl_ATI_fragment_shader && ext::glBindFragmentShaderATI; }
} // namespace

void ProgramState::read(ScriptReader& reader, std::istream& stream, const MaterialLibrary& library)
{
    const std::string& line = reader.line;
    readBlock(reader, stream,
              {
                  {"Enable ", [&] { enabled = isYes(line); }},
                  {"Name ", [&] { program = resolve(library, reader.quotedText()); }},
              },
              unknownMessage());
}

GLuint VertexProgramState::resolve(const MaterialLibrary& library, const std::string& name) const
{
    return library.vertexProgram(name);
}

void VertexProgramState::apply()
{
    if (enabled && vertexShaders()) {
        glEnable(GL_VERTEX_SHADER_EXT);
        ext::glBindVertexShaderEXT(program);
    }
}

void VertexProgramState::restore()
{
    if (enabled && vertexShaders())
        glDisable(GL_VERTEX_SHADER_EXT);
}

GLuint FragmentProgramState::resolve(const MaterialLibrary& library, const std::string& name) const
{
    return library.fragmentProgram(name);
}

void FragmentProgramState::apply()
{
    if (enabled && fragmentShaders()) {
        glEnable(GL_FRAGMENT_SHADER_ATI);
        ext::glBindFragmentShaderATI(program);
    }
}

void FragmentProgramState::restore()
{
    if (enabled && fragmentShaders())
        glDisable(GL_FRAGMENT_SHADER_ATI);
}
