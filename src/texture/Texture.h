// The texture family: a counted GL texture with lazily created GL object and its TextureState;
// 2D images, 1D and 3D textures and cube maps of six 2D faces.
#pragma once
#include "texture/NamedResource.h"
#include "texture/PixelType.h"
#include "texture/TextureState.h"

#include "core/GL.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

// Sets the extension flags texture code tests beyond those logged at start-up (edge clamping,
// S3TC compression). Needs the GL context current; TextureManager::createDefaults calls it.
void initTextureExtensions();

class Texture : public NamedResource {
public:
    explicit Texture(GLenum target) : target(target) {}
    ~Texture() override;

    // Makes the texture current on `unit` (GL_TEXTURE0_ARB + n), uploading first when no live GL
    // object exists; applies the environment of `state`. False when there is no GL object.
    virtual bool bind(GLenum unit);
    // Switches off generation and the target on `unit` (when a GL object exists).
    virtual void unbind(GLenum unit);
    // Creates the GL object and sends the pixels; the base only creates.
    virtual bool upload();
    // Re-sends changed pixels to an existing object; the base does nothing and returns false.
    virtual bool update();

    // Generates (when needed), binds on unit 0 and applies the state's parameters. False, doing
    // nothing, when a live GL object exists.
    bool create();
    // Deletes the GL object; false when there was none.
    virtual bool releaseGL();
    // A GL object exists and the driver still knows it.
    bool hasLiveObject() const;

    std::string alias;
    const GLenum target;
    GLuint glName = kNoGLName;
    TextureState state;

    static constexpr GLuint kNoGLName = GLuint(-1);
};

// A 2D picture in memory (row 0 first) and its GL texture.
class ImageTexture : public Texture {
public:
    ImageTexture() : Texture(GL_TEXTURE_2D) {}
    ~ImageTexture() override;

    bool upload() override;
    bool update() override;

    // Rescales the picture to the power-of-two square not above its larger side (at most 2048)
    // with gluScaleImage. Compressed codes are left alone (false).
    virtual bool scaleToPowerOfTwo();
    // Adopts `data` (allocated with new[], freed by the texture) when it is not null and no
    // buffer is held yet. False, leaving `data` with the caller, otherwise.
    virtual bool setImage(int width, int height, int pixelType, std::uint8_t* data);
    // A zeroed buffer of width x height x bytes-per-pixel, only when none is held yet.
    virtual bool allocateImage(int width, int height, int pixelType);

    // Writes one packed pixel (see packPixel) at column x, row y. Callers stay inside the image.
    void setPixel(std::uint32_t value, int x, int y)
    {
        packPixel(pixelType, value,
                  pixels.get() + (std::size_t(y) * std::size_t(width) + std::size_t(x)) *
                                     std::size_t(bytesPerPixel));
    }
    std::size_t imageBytes() const;

    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;
    int pixelType = kPixelNone;
    std::unique_ptr<std::uint8_t[]> pixels;

protected:
    // Level 0 (glTexImage2D, or the compressed call for codes 12 to 14) or, when `owner`'s
    // filter asks for mipmaps, gluBuild2DMipmaps with `mipmapComponents`, sent to `face`
    // (GL_TEXTURE_2D or a cube-map face).
    friend class CubeMapTexture;
    void sendImage(GLenum face, const TextureState& owner, GLint mipmapComponents) const;
};

// A row of texels.
class Texture1D : public Texture {
public:
    Texture1D() : Texture(GL_TEXTURE_1D) {}
    bool upload() override;
    bool allocateImage(int width, int pixelType);
    void setPixel(std::uint32_t value, int x)
    {
        packPixel(pixelType, value, pixels.get() + std::size_t(x) * std::size_t(bytesPerPixel));
    }
    std::size_t imageBytes() const { return std::size_t(width) * std::size_t(bytesPerPixel); }

    int width = 0;
    int bytesPerPixel = 0;
    int pixelType = kPixelNone;
    std::unique_ptr<std::uint8_t[]> pixels;
};

// A block of texels, slice 0 first.
class Texture3D : public Texture {
public:
    Texture3D() : Texture(GL_TEXTURE_3D) {}
    bool upload() override;
    bool allocateImage(int width, int height, int depth, int pixelType);
    std::size_t imageBytes() const;

    int width = 0;
    int height = 0;
    int depth = 0;
    int bytesPerPixel = 0;
    int pixelType = kPixelNone;
    std::unique_ptr<std::uint8_t[]> pixels;
};

// Six 2D faces (+X, -X, +Y, -Y, +Z, -Z), each held with one reference.
class CubeMapTexture : public Texture {
public:
    CubeMapTexture() : Texture(GL_TEXTURE_CUBE_MAP_ARB) {}
    // Gives every present face back through the texture manager.
    ~CubeMapTexture() override;

    bool upload() override;

    // Attaches `face` as slot i with one reference, only when the slot is empty.
    bool setFace(int i, ImageTexture* face);
    ImageTexture* face(int i) const { return faces[i]; }
    bool complete() const;

    // The face-file suffixes in slot order.
    static const char* const kFaceSuffixes[6];

private:
    std::array<ImageTexture*, 6> faces{};
};
