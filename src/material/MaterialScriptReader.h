// Reads ".shader" material scripts: "Image {" blocks define textures, "Shader {" blocks define
// materials with their render states and texture stages, in a MaterialLibrary.
#pragma once
#include "script/ScriptReader.h"

#include <istream>

class Material;
class MaterialLibrary;

class MaterialScriptReader : public ScriptReader {
public:
    explicit MaterialScriptReader(MaterialLibrary& library) : library(library) {}

    // Reads a whole script from a stream that is already open (text in memory, tests, tools).
    bool read(std::istream& stream) { return parse(stream); }

protected:
    // Text between blocks is commentary. False as soon as an Image block fails without a
    // message; script errors throw ImageScriptException.
    bool parse(std::istream& stream) override;

private:
    // One "Image {" block: loads (or builds, for a cube map) one texture into the texture manager.
    bool readImage(std::istream& stream);
    // Reports an Image block that stopped the script (with the blocks left unread) to the
    // problem sink; true when the sink wants the rest read anyway.
    bool reportStop(std::istream& stream);
    // One "Shader {" block: one or more named materials with their states.
    void readShader(std::istream& stream);

    MaterialLibrary& library;
};
