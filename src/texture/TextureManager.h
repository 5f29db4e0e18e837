// The one owner of every texture: search paths, image readers by extension, counted lookups by
// name or alias, the normalization cube map and the show time for texture animation.
#pragma once
#include "texture/ImageReader.h"
#include "texture/Texture.h"

#include <memory>
#include <string>
#include <vector>

class TextureManager {
public:
    // The program-wide manager: set by the constructor, cleared by the destructor.
    static TextureManager* instance;

    TextureManager();
    // Destroys every remaining texture (and its GL object), then the readers and writers.
    ~TextureManager();

    // Destroys every texture and its GL object (shutdown, while the GL context still exists).
    void releaseAll();

    TextureManager(const TextureManager&) = delete;
    TextureManager& operator=(const TextureManager&) = delete;

    // Appends a directory prefix ending in a backslash ("data\art\").
    void addSearchPath(const std::string& prefix);
    // Registers the readers and writers and adds the normalization cube map (32 texels a side).
    void createDefaults();

    // Reads `name` from the first search path that has it with the first reader that handles its
    // extension, as a GL_TEXTURE_1D, GL_TEXTURE_2D or GL_TEXTURE_3D texture of `pixelType`. The
    // result carries one reference for the caller (give it back with release); none on failure.
    Texture* load(const std::string& name, int pixelType, GLenum target);
    // A cube map from the six files stem + "_pos_x" ... "_neg_z" + extension (each a 2D texture
    // of `pixelType`), named `name`, added and handed out with one reference; none (with nothing
    // left behind) when a face is missing.
    Texture* loadCubeMap(const std::string& name, int pixelType);
    // The first entry whose alias or else whose name equals `name`, with one new reference.
    Texture* find(const std::string& name);
    // Gives back one reference and clears `ref`; a texture left with only the manager's
    // reference is removed and destroyed (so is an unlisted texture left with none). False when
    // `ref` was empty. Holders that want the manager to keep the texture cached (an Image block
    // of a material script) drop their reference with releaseRef() instead.
    bool release(Texture*& ref);
    template <class T>
    bool release(T*& ref)
    {
        Texture* t = ref;
        ref = nullptr;
        return release(t);
    }
    // Finds as find does, drops one reference, and at zero removes and destroys the entry.
    bool releaseByName(const std::string& name);
    // Finds as find does, drops one reference, and at zero removes the entry without destroying
    // it; the caller then owns the texture.
    Texture* detach(const std::string& name);
    // Registers a texture made elsewhere with one reference for the manager. False (nothing
    // added, the caller keeps the texture) when it is null or an entry with its name and the
    // same alias exists.
    bool add(Texture* texture);
    // The first search path under which `name` opens for reading, or "".
    std::string findFile(const std::string& name) const;

    // The loading picture: "loading.jpg" as RGB, bound on unit 0. Returns the caller's reference.
    Texture* loadAndBindLoadingPicture();

    void addReader(std::unique_ptr<ImageReader> reader);
    void addWriter(std::unique_ptr<ImageWriter> writer);
    ImageReader* readerFor(const std::string& name) const;
    ImageWriter* writerFor(const std::string& name) const;

    const std::vector<Texture*>& textures() const { return list; }
    const std::vector<std::string>& searchPaths() const { return paths; }

    // Show time in seconds, written by the application every frame (texture-matrix animation).
    float time = 0.0f;

    static constexpr int kNormalizationCubeSize = 32;
    // Builds (or completes) the normalization cube map with `size` texels a side and adds it.
    void createNormalizationCubeMap(int size);

private:
    Texture* findEntry(const std::string& name) const;
    bool locate(const std::string& name, std::string& prefix) const;
    bool isListed(const Texture* texture) const;
    void unlist(Texture* texture);
    void destroy(Texture* texture);

    std::vector<Texture*> list;
    std::vector<std::unique_ptr<ImageReader>> readers;
    std::vector<std::unique_ptr<ImageWriter>> writers;
    std::vector<std::string> paths;
};

// Fills face i (+X, -X, +Y, -Y, +Z, -Z) of a normalization cube map, an RGB square: texel (x, y)
// holds the unit direction through it, each component c as the byte (c * 0.5 + 0.5) * 255.
void fillNormalizationFace(ImageTexture& face, int i);
