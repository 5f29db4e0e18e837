// Per-texture sampling parameters, texture environment and coordinate generation, as the
// "State {" block of an Image block sets them.
#pragma once
#include "core/GL.h"

#include <istream>

class ScriptReader;

// Wrap codes: S and T (codes 1, 5, 7 and 9 also R).
enum TextureWrap : int {
    kWrapClampClamp = 0,
    kWrapClampClampClamp = 1,
    kWrapClampRepeat = 2,
    kWrapRepeatClamp = 3,
    kWrapRepeatRepeat = 4,
    kWrapRepeatRepeatRepeat = 5,
    kWrapBorder = 6,
    kWrapBorder3 = 7,
    kWrapEdge = 8,
    kWrapEdge3 = 9,
};

// Texture-coordinate generation codes.
enum TextureGen : int {
    kGenNone = 0,
    kGenIgnore = 1,
    kGenSphere = 2,
    kGenObject = 3,
    kGenEye = 4,
    kGenReflectionMap = 5,
    kGenNormalMap = 6,
};

class TextureState {
public:
    virtual ~TextureState() = default;

    float priority = 1.0f;
    GLenum envMode = GL_MODULATE;
    float borderColour[4] = {0, 0, 0, 0};
    float envColour[4] = {0, 0, 0, 0};
    float planeS[4] = {1, 0, 0, 0};
    float planeT[4] = {0, 1, 0, 0};
    float planeR[4] = {0, 0, 1, 0};
    float planeQ[4] = {0, 0, 0, 1};
    int wrap = kWrapClampClamp;
    GLenum magFilter = GL_LINEAR;
    GLenum minFilter = GL_LINEAR;
    int texGen = kGenNone;
    GLenum combineRGB = GL_MODULATE;
    GLenum combineAlpha = GL_MODULATE;
    GLenum sourceRGB[3] = {GL_PREVIOUS_ARB, GL_TEXTURE, GL_CONSTANT_ARB};
    GLenum sourceAlpha[3] = {GL_PREVIOUS_ARB, GL_TEXTURE, GL_CONSTANT_ARB};
    GLenum operandRGB[3] = {GL_SRC_COLOR, GL_SRC_COLOR, GL_SRC_COLOR};
    GLenum operandAlpha[3] = {GL_SRC_ALPHA, GL_SRC_ALPHA, GL_SRC_ALPHA};
    int scaleRGB = 1;
    int scaleAlpha = 1;

    // True when the minification filter samples mipmaps (anything but GL_NEAREST or GL_LINEAR):
    // uploads then build the mipmap chain.
    bool usesMipmaps() const { return minFilter != GL_NEAREST && minFilter != GL_LINEAR; }

    // Priority, wrap (with the extension fallbacks), filters and border colour of the texture
    // bound on `target`; called once when the GL object is made.
    virtual void applyParameters(GLenum target) const;
    // Nothing to give back; kept for the state family's shape.
    virtual void release() {}
    // Environment mode (combiner included), constant colour and coordinate generation of the
    // selected unit; a mode the driver can't do disables `target` on that unit.
    virtual void applyEnvironment(GLenum target) const;
    // Switches off the coordinate generation that applyEnvironment switched on.
    virtual void restoreEnvironment(GLenum target) const;

    // Reads a "State {" block from the line after its opening line up to its "}" (the
    // "Apply {" and "Envmap {" sub-blocks included) into this state. Unknown lines throw
    // ImageScriptException through reader.error. The Image block passes a fresh state and copies
    // it over the texture's.
    void parse(ScriptReader& reader, std::istream& stream);

private:
    void parseApply(ScriptReader& reader, std::istream& stream);
    void parseEnvmap(ScriptReader& reader, std::istream& stream);
};

// The State block parser as a function: a fresh state filled from the block.
TextureState parseTextureState(ScriptReader& reader, std::istream& stream);
