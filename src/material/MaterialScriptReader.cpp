#include "material/MaterialScriptReader.h"

#include "material/AlphaState.h"
#include "material/BlendState.h"
#include "material/BlockReader.h"
#include "material/CullState.h"
#include "material/DepthState.h"
#include "material/FogState.h"
#include "material/MaterialColourState.h"
#include "material/MaterialLibrary.h"
#include "material/PolygonState.h"
#include "material/ProgramState.h"
#include "material/StencilState.h"
#include "material/TextureStage.h"
#include "platform/Paths.h"
#include "script/ProblemSink.h"
#include "texture/ImageReader.h"
#include "texture/TextureManager.h"

#include <algorithm>

namespace {

struct ImageType {
    const char* word;
    GLenum target;
};
constexpr ImageType kImageTypes[] = {
    {"1D", GL_TEXTURE_1D},
    {"2D", GL_TEXTURE_2D},
    {"CUBEMAP", GL_TEXTURE_CUBE_MAP_ARB},
};

struct ImageFormat {
    const char* word;
    int pixelType;
};
// Longer words before the words they contain: LUMINANCE_ALPHA before ALPHA and LUMINANCE,
// RGBA before RGB.
constexpr ImageFormat kImageFormats[] = {
    {"RED", kPixelRed},
    {"GREEN", kPixelGreen},
    {"BLUE", kPixelBlue},
    {"LUMINANCE_ALPHA", kPixelLuminanceAlpha},
    {"ALPHA", kPixelAlpha},
    {"LUMINANCE", kPixelLuminance},
    {"INTENSITY", kPixelIntensity},
    {"RGBA", kPixelRGBA},
    {"RGB", kPixelRGB},
};

// The value text of a line: from its last blank to the end.
std::string valueText(const std::string& line)
{
    const auto blank = line.rfind(' ');
    return blank == std::string::npos ? line : line.substr(blank);
}

template <class Table>
const auto* findEntry(const Table& table, const std::string& text)
{
    for (const auto& entry : table) {
        if (ScriptReader::contains(text, entry.word))
            return &entry;
    }
    return static_cast<decltype(&table[0])>(nullptr);
}

// The Image block's own reference on its current texture, given back however the block ends.
// A listed texture keeps the manager's reference and stays for the materials that name it; one
// the manager did not list (a second load of a listed file) has no other owner and goes.
class HeldTexture {
public:
    ~HeldTexture() { reset(); }
    Texture* get() const { return texture; }
    void reset(Texture* next = nullptr)
    {
        if (texture) {
            TextureManager* manager = TextureManager::instance;
            const auto& listed = manager->textures();
            if (std::find(listed.begin(), listed.end(), texture) != listed.end())
                texture->releaseRef();
            else
                manager->release(texture);
        }
        texture = next;
    }

private:
    Texture* texture = nullptr;
};

} // namespace

bool MaterialScriptReader::parse(std::istream& stream)
{
    lineCount = 0;
    while (next(stream)) {
        try {
            if (contains("Image {")) {
                if (!readImage(stream) && !reportStop(stream))
                    return false;
            } else if (contains("Shader {")) {
                readShader(stream);
            }
        } catch (ImageScriptException& e) {
            // A check reports the block and reads on with the next one; start-up stops here.
            if (!problems::readsOn())
                throw;
            if (e.fileName.empty())
                e.fileName = fileName;
            problems::report(e, "start-up stops here with a SCRIPTING ERROR box");
        }
    }
    return true;
}

bool MaterialScriptReader::reportStop(std::istream& stream)
{
    if (!problems::active())
        return false;
    const int lost = countAhead(stream, [](const ScriptReader& r) {
        return r.contains("Image {") || r.contains("Shader {");
    });
    Problem problem;
    problem.file = fileName;
    problem.line = fileLine;
    problem.message = "the Image block stops at this line (an unknown type or format, or a cube map face that is missing)";
    problem.text = line;
    problem.cost = problems::blocksLost(lost);
    problem.loses = true;
    problems::report(problem);
    return problems::readsOn();
}

bool MaterialScriptReader::readImage(std::istream& stream)
{
    int pixelType = kPixelRGB;
    GLenum target = GL_TEXTURE_2D;
    HeldTexture current;
    return readBlock(
        *this, stream,
        {
            {"Type ",
             [&] {
                 const auto* type = findEntry(kImageTypes, valueText(line));
                 if (type)
                     target = type->target;
                 return type != nullptr;
             }},
            {"Format ",
             [&] {
                 const auto* format = findEntry(kImageFormats, valueText(line));
                 if (format)
                     pixelType = format->pixelType;
                 return format != nullptr;
             }},
            {"Name ",
             [&] {
                 const std::string file = quotedText();
                 TextureManager* textures = TextureManager::instance;
                 if (target == GL_TEXTURE_CUBE_MAP_ARB) {
                     // A missing face leaves nothing behind and fails the block quietly.
                     Texture* cube = textures ? textures->loadCubeMap(file, pixelType) : nullptr;
                     if (!cube)
                         return false;
                     current.reset(cube);
                 } else if (Texture* loaded =
                                textures ? textures->load(file, pixelType, target) : nullptr) {
                     current.reset(loaded);
                 }
                 if (!current.get()) {
                     ImageScriptException e = error("PARSE ERROR! Image not loaded " + file);
                     const std::string path = (textures ? textures->findFile(file) : std::string()) + file;
                     e.plain = "cannot read " + file + ": " +
                               (platform::fileExists(path) ? imageReadProblem(path)
                                                           : std::string("no file of that name in the picture folders"));
                     throw e;
                 }
                 return true;
             }},
            {"Alias ",
             [&] {
                 if (current.get())
                     current.get()->alias = quotedText();
             }},
            {"State {",
             [&] {
                 if (!current.get())
                     return false;
                 TextureState state;
                 state.parse(*this, stream);
                 current.get()->state = state;
                 return true;
             }},
            {"}", [] {}},
            {"Info ", [] {}},
        },
        "PARSE ERROR! Unknown Image Token");
}

void MaterialScriptReader::readShader(std::istream& stream)
{
    Material* material = nullptr;
    // Every state block attaches to the material of the last "Name" line; one before any is
    // rejected, as it has nothing to belong to.
    auto attach = [&](auto state) -> auto& {
        if (!material)
            throw error("PARSE ERROR! Shader Token before Name");
        return material->addState(std::move(state));
    };
    auto block = [&](auto make) {
        return [&, make] { attach(make()).read(*this, stream); };
    };
    readBlock(
        *this, stream,
        {
            {"Info ", [] {}},
            {"Name ",
             [&] {
                 material = new Material(quotedText());
                 library.add(material);
             }},
            {"Alpha {", block([] { return std::make_unique<AlphaState>(); })},
            {"Blend {", block([] { return std::make_unique<BlendState>(); })},
            {"Cull {", block([] { return std::make_unique<CullState>(); })},
            {"Fog {", block([] { return std::make_unique<FogState>(); })},
            {"Texture {", block([] { return std::make_unique<TextureStage>(); })},
            {"Stencil {", block([] { return std::make_unique<StencilState>(); })},
            {"ZBuffer {", block([] { return std::make_unique<DepthState>(); })},
            {"Vertex {",
             [&] { attach(std::make_unique<VertexProgramState>()).read(*this, stream, library); }},
            {"Fragment {",
             [&] { attach(std::make_unique<FragmentProgramState>()).read(*this, stream, library); }},
            {"Material {", block([] { return std::make_unique<MaterialColourState>(); })},
            {"Polygon {", block([] { return std::make_unique<PolygonState>(); })},
        },
        "PARSE ERROR! Unknown Shader Token");
}
