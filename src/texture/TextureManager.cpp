#include "texture/TextureManager.h"

#include "texture/CtxReader.h"
#include "texture/CtxWriter.h"
#include "texture/JpegReader.h"
#include "texture/PngReader.h"
#include "texture/TgaReader.h"

#include "platform/Paths.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

TextureManager* TextureManager::instance = nullptr;

TextureManager::TextureManager()
{
    instance = this;
}

TextureManager::~TextureManager()
{
    releaseAll();
    if (instance == this)
        instance = nullptr;
}

void TextureManager::releaseAll()
{
    // Cube maps first: they give their faces back through the manager.
    for (;;) {
        auto it = std::find_if(list.rbegin(), list.rend(), [](Texture* t) {
            return dynamic_cast<CubeMapTexture*>(t) != nullptr;
        });
        if (it == list.rend())
            break;
        Texture* cube = *it;
        list.erase(std::next(it).base());
        destroy(cube);
    }
    while (!list.empty()) {
        Texture* t = list.back();
        list.pop_back();
        destroy(t);
    }
}

void TextureManager::destroy(Texture* texture)
{
    delete texture;
}

void TextureManager::addSearchPath(const std::string& prefix)
{
    paths.push_back(prefix);
}

void TextureManager::addReader(std::unique_ptr<ImageReader> reader)
{
    readers.push_back(std::move(reader));
}

void TextureManager::addWriter(std::unique_ptr<ImageWriter> writer)
{
    writers.push_back(std::move(writer));
}

void TextureManager::createDefaults()
{
    initTextureExtensions();
    addReader(std::make_unique<ImageReader>("bmp"));
    addReader(std::make_unique<JpegReader>());
    addReader(std::make_unique<PngReader>());
    addReader(std::make_unique<TgaReader>());
    addReader(std::make_unique<ImageReader>("tif"));
    addReader(std::make_unique<CtxReader>());
    for (const char* extension : {"bmp", "jpg", "png", "tga", "tif"})
        addWriter(std::make_unique<ImageWriter>(extension));
    addWriter(std::make_unique<CtxWriter>());
    createNormalizationCubeMap(kNormalizationCubeSize);
}

ImageReader* TextureManager::readerFor(const std::string& name) const
{
    for (const auto& reader : readers)
        if (reader->handles(name))
            return reader.get();
    return nullptr;
}

ImageWriter* TextureManager::writerFor(const std::string& name) const
{
    for (const auto& writer : writers)
        if (writer->handles(name))
            return writer.get();
    return nullptr;
}

bool TextureManager::locate(const std::string& name, std::string& prefix) const
{
    for (const std::string& path : paths) {
        if (std::FILE* file = platform::openFile(path + name, "rb")) {
            std::fclose(file);
            prefix = path;
            return true;
        }
    }
    return false;
}

std::string TextureManager::findFile(const std::string& name) const
{
    std::string prefix;
    locate(name, prefix);
    return prefix;
}

Texture* TextureManager::load(const std::string& name, int pixelType, GLenum target)
{
    std::string prefix;
    if (!locate(name, prefix))
        return nullptr;
    ImageReader* reader = readerFor(name);
    if (!reader)
        return nullptr;
    const std::string path = prefix + name;
    std::unique_ptr<Texture> texture;
    switch (target) {
    case GL_TEXTURE_1D:
        texture = reader->read1D(path, pixelType);
        break;
    case GL_TEXTURE_2D:
        texture = reader->read2D(path, pixelType);
        break;
    case GL_TEXTURE_3D:
        texture = reader->read3D(path, pixelType);
        break;
    default:
        break;
    }
    if (!texture)
        return nullptr;
    texture->name = name;
    Texture* result = texture.release();
    add(result);
    result->addRef();
    return result;
}

Texture* TextureManager::loadCubeMap(const std::string& name, int pixelType)
{
    const auto dot = name.find('.');
    const std::string stem = name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
    auto* cube = new CubeMapTexture;
    for (int i = 0; i < 6; ++i) {
        Texture* loaded = load(stem + CubeMapTexture::kFaceSuffixes[i] + extension, pixelType,
                               GL_TEXTURE_2D);
        if (!loaded) {
            destroy(cube);
            return nullptr;
        }
        cube->setFace(i, static_cast<ImageTexture*>(loaded));
        release(loaded);
    }
    cube->name = name;
    add(cube);
    cube->addRef();
    return cube;
}

Texture* TextureManager::findEntry(const std::string& name) const
{
    for (Texture* t : list)
        if (t->alias == name || t->name == name)
            return t;
    return nullptr;
}

bool TextureManager::isListed(const Texture* texture) const
{
    return std::find(list.begin(), list.end(), texture) != list.end();
}

void TextureManager::unlist(Texture* texture)
{
    list.erase(std::remove(list.begin(), list.end(), texture), list.end());
}

Texture* TextureManager::find(const std::string& name)
{
    Texture* t = findEntry(name);
    if (t)
        t->addRef();
    return t;
}

bool TextureManager::release(Texture*& ref)
{
    if (!ref)
        return false;
    Texture* t = ref;
    ref = nullptr;
    t->releaseRef();
    if (isListed(t)) {
        // Only the manager's own reference left: the texture goes.
        if (t->references() <= 1) {
            t->releaseRef();
            unlist(t);
            destroy(t);
        }
    } else if (t->references() <= 0) {
        // A texture that never made it into the list (a second load of a listed file) has no
        // other owner.
        destroy(t);
    }
    return true;
}

bool TextureManager::releaseByName(const std::string& name)
{
    Texture* t = findEntry(name);
    if (!t)
        return false;
    t->releaseRef();
    if (t->references() <= 0) {
        unlist(t);
        destroy(t);
    }
    return true;
}

Texture* TextureManager::detach(const std::string& name)
{
    Texture* t = findEntry(name);
    if (!t)
        return nullptr;
    t->releaseRef();
    if (t->references() <= 0)
        unlist(t);
    return t;
}

bool TextureManager::add(Texture* texture)
{
    if (!texture)
        return false;
    const Texture* existing = findEntry(texture->name);
    if (existing && existing->alias == texture->alias)
        return false;
    texture->addRef();
    list.push_back(texture);
    return true;
}

Texture* TextureManager::loadAndBindLoadingPicture()
{
    Texture* picture = load("loading.jpg", kPixelRGB, GL_TEXTURE_2D);
    if (picture)
        picture->bind(GL_TEXTURE0_ARB);
    return picture;
}

void fillNormalizationFace(ImageTexture& face, int i)
{
    const int n = face.width;
    const float h = float(n) * 0.5f;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const float s = float(x) + 0.5f - h;
            const float t = float(y) + 0.5f - h;
            float v[3];
            switch (i) {
            case 0: v[0] = h; v[1] = -t; v[2] = -s; break;
            case 1: v[0] = -h; v[1] = -t; v[2] = s; break;
            case 2: v[0] = s; v[1] = h; v[2] = t; break;
            case 3: v[0] = s; v[1] = -h; v[2] = -t; break;
            case 4: v[0] = s; v[1] = -t; v[2] = h; break;
            default: v[0] = -s; v[1] = -t; v[2] = -h; break;
            }
            const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
            std::uint32_t packed = 0;
            for (float c : v)
                packed = packed << 8 | std::uint32_t((c / length * 0.5f + 0.5f) * 255.0f);
            face.setPixel(packed, x, y);
        }
    }
}

void TextureManager::createNormalizationCubeMap(int size)
{
    static const char* const kFaceNames[6] = {
        "NormalizationCubeMap_Positive_X", "NormalizationCubeMap_Negative_X",
        "NormalizationCubeMap_Positive_Y", "NormalizationCubeMap_Negative_Y",
        "NormalizationCubeMap_Positive_Z", "NormalizationCubeMap_Negative_Z",
    };
    auto* cube = new CubeMapTexture;
    cube->name = cube->alias = "NormalizationCubeMap";
    for (int i = 0; i < 6; ++i) {
        if (Texture* existing = find(kFaceNames[i])) {
            // Made earlier: left as it is and not attached.
            existing->releaseRef();
            continue;
        }
        auto* face = new ImageTexture;
        face->name = kFaceNames[i];
        face->allocateImage(size, size, kPixelRGB);
        add(face);
        cube->setFace(i, face);
        fillNormalizationFace(*face, i);
    }
    cube->state.wrap = kWrapEdge3;
    cube->state.minFilter = GL_LINEAR;
    cube->state.envMode = GL_COMBINE_ARB;
    cube->state.combineRGB = GL_DOT3_RGB_ARB;
    cube->state.sourceRGB[0] = GL_TEXTURE;
    cube->state.sourceRGB[1] = GL_PREVIOUS_ARB;
    if (!add(cube))
        destroy(cube);
}
