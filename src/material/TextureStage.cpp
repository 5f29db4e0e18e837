#include "material/TextureStage.h"

#include "material/BlockReader.h"
#include "core/ExtensionRegistry.h"
#include "texture/TextureManager.h"
#include "script/ProblemSink.h"

#include <cmath>

namespace {
constexpr GLWord kUnits[] = {
    {"UNIT0", GL_TEXTURE0_ARB},
    {"UNIT1", GL_TEXTURE1_ARB},
    {"UNIT2", GL_TEXTURE2_ARB},
    {"UNIT3", GL_TEXTURE3_ARB},
};

float curveAt(const std::unique_ptr<Envelope>& curve, float time)
{
    return curve ? curve->evaluate(time) : 0.0f;
}
} // namespace

TextureStage::~TextureStage() { setTexture(nullptr); }

void TextureStage::setTexture(Texture* texture)
{
    // At program exit the texture manager may already be gone, and the texture with it.
    if (held && TextureManager::instance)
        TextureManager::instance->release(held);
    held = texture;
}

bool TextureStage::read(ScriptReader& reader, std::istream& stream)
{
    const std::string& line = reader.line;
    // The envelope is read from the following lines; the rest up to the Coord block's "}" is
    // skipped. An envelope that does not read stops the block: the Shader block goes on from
    // the line after the one that stopped it.
    auto curve = [&](std::unique_ptr<Envelope>& target, const char* block) {
        return [&target, &reader, &stream, block] {
            auto envelope = std::make_unique<Envelope>();
            if (!envelope->read(reader, stream)) {
                problems::reportHere(std::string("envelope not read in ") + block);
                return false;
            }
            target = std::move(envelope);
            for (int c = stream.get(); c != std::char_traits<char>::eof() && c != '}';
                 c = stream.get()) {
            }
            return true;
        };
    };
    return readBlock(reader, stream,
              {
                  {"Image ",
                   [&] {
                       if (!TextureManager::instance)
                           return;
                       if (Texture* found = TextureManager::instance->find(reader.quotedText()))
                           setTexture(found);
                       else
                           problems::reportHere("no script defines the texture " +
                                                problems::quoted(reader.quotedText()));
                   }},
                  {"TexUnit ", [&] { setFromWords(line, kUnits, unit); }},
                  {"CoordU {", curve(uCurve, "CoordU")},
                  {"CoordV {", curve(vCurve, "CoordV")},
                  {"CoordR {", curve(rotationCurve, "CoordR")},
              },
              "PARSE ERROR! Unknown Texture Token");
}

void TextureStage::selectUnit() const
{
    if (ext::gl_ARB_multitexture && ext::glActiveTextureARB)
        ext::glActiveTextureARB(unit);
}

void TextureStage::prepare()
{
    if (held && held->glName == Texture::kNoGLName)
        held->upload();
}

void TextureStage::apply()
{
    if (held)
        held->bind(unit);
    if (!animated())
        return;
    const float time = TextureManager::instance ? TextureManager::instance->time : 0.0f;
    const float u = curveAt(uCurve, time);
    const float v = curveAt(vCurve, time);
    const float r = curveAt(rotationCurve, time);
    selectUnit();
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    // The remainder keeps the sign of its argument: -0.5 stays -0.5, 1.25 becomes 0.25.
    glTranslatef(std::fmod(u, 1.0f), std::fmod(v, 1.0f), 0.0f);
    if (r != 0.0f) {
        glTranslatef(0.5f, 0.5f, 0.0f);
        glRotatef(r, 0.0f, 0.0f, 1.0f);
        glTranslatef(-0.5f, -0.5f, 0.0f);
    }
    glMatrixMode(GL_MODELVIEW);
}

void TextureStage::restore()
{
    if (animated()) {
        selectUnit();
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
    }
    if (held)
        held->unbind(unit);
    // Code that binds textures without naming a unit expects unit 0 to be the selected one.
    if (unit != GL_TEXTURE0_ARB && ext::gl_ARB_multitexture && ext::glActiveTextureARB)
        ext::glActiveTextureARB(GL_TEXTURE0_ARB);
}
