#include "texture/Texture.h"

#include "texture/TextureManager.h"

#include "core/ExtensionRegistry.h"
#include "core/Log.h"

#include <algorithm>
#include <cstring>

namespace {

void selectUnit(GLenum unit)
{
    if (ext::glActiveTextureARB)
        ext::glActiveTextureARB(unit);
}

// Rows of 1- and 3-byte pixels are packed without padding; GL's default row alignment of 4
// would read past the end of such buffers.
class TightUnpack {
public:
    TightUnpack()
    {
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpack);
        glGetIntegerv(GL_PACK_ALIGNMENT, &pack);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
    }
    ~TightUnpack()
    {
        glPixelStorei(GL_UNPACK_ALIGNMENT, unpack);
        glPixelStorei(GL_PACK_ALIGNMENT, pack);
    }

private:
    GLint unpack = 4;
    GLint pack = 4;
};

bool canSendCompressed()
{
    return ext::gl_EXT_texture_compression_s3tc && ext::glCompressedTexImage2DARB;
}

} // namespace

void initTextureExtensions()
{
    for (const char* name : {"GL_EXT_texture_edge_clamp", "GL_EXT_texture_compression_s3tc",
                             "GL_ARB_texture_border_clamp", "GL_ARB_texture_env_add",
                             "GL_ARB_texture_env_combine", "GL_ARB_texture_env_crossbar",
                             "GL_ATI_texture_env_combine3", "GL_ARB_texture_env_dot3",
                             "GL_ARB_texture_cube_map", "GL_ARB_texture_compression",
                             "GL_ARB_multitexture", "GL_EXT_texture3D"})
        initExtension(name);
}

// ---------------------------------------------------------------------------------------------
// Texture

Texture::~Texture()
{
    if (glName != kNoGLName)
        glDeleteTextures(1, &glName);
}

bool Texture::hasLiveObject() const
{
    return glName != kNoGLName && glIsTexture(glName);
}

bool Texture::create()
{
    if (hasLiveObject())
        return false;
    if (glName == kNoGLName)
        glGenTextures(1, &glName);
    selectUnit(GL_TEXTURE0_ARB);
    glEnable(target);
    glBindTexture(target, glName);
    state.applyParameters(target);
    return true;
}

bool Texture::releaseGL()
{
    if (glName == kNoGLName)
        return false;
    glDeleteTextures(1, &glName);
    glName = kNoGLName;
    return true;
}

bool Texture::bind(GLenum unit)
{
    if (!hasLiveObject())
        upload();
    if (!hasLiveObject())
        return false;
    selectUnit(unit);
    glEnable(target);
    glBindTexture(target, glName);
    state.applyEnvironment(target);
    return true;
}

void Texture::unbind(GLenum unit)
{
    if (glName == kNoGLName)
        return;
    selectUnit(unit);
    state.restoreEnvironment(target);
    glDisable(target);
}

bool Texture::upload()
{
    return create();
}

bool Texture::update()
{
    return false;
}

// ---------------------------------------------------------------------------------------------
// ImageTexture

ImageTexture::~ImageTexture() = default;

std::size_t ImageTexture::imageBytes() const
{
    return std::size_t(width) * std::size_t(height) * std::size_t(bytesPerPixel);
}

bool ImageTexture::allocateImage(int w, int h, int type)
{
    if (pixels || w < 0 || h < 0)
        return false;
    width = w;
    height = h;
    pixelType = type;
    bytesPerPixel = bytesPerPixel2D(type, bytesPerPixel);
    pixels.reset(new std::uint8_t[std::max<std::size_t>(imageBytes(), 1)]());
    return true;
}

bool ImageTexture::setImage(int w, int h, int type, std::uint8_t* data)
{
    if (pixels || !data || w < 0 || h < 0)
        return false;
    width = w;
    height = h;
    pixelType = type;
    bytesPerPixel = bytesPerPixel2D(type, bytesPerPixel);
    pixels.reset(data);
    return true;
}

void ImageTexture::sendImage(GLenum face, const TextureState& owner, GLint mipmapComponents) const
{
    const PixelTypeInfo& info = pixelTypeInfo(pixelType);
    if (!pixels || info.format == 0 || width <= 0 || height <= 0)
        return;
    TightUnpack tight;
    if (isCompressedPixelType(pixelType)) {
        // GLU can't build mipmaps of block-compressed data: level 0 only.
        if (canSendCompressed())
            ext::glCompressedTexImage2DARB(face, 0, info.format, width, height, 0,
                                           GLsizei(compressedImageSize(pixelType, width, height)),
                                           pixels.get());
        else
            logPrint("Texture %s: S3TC compressed image not supported by the driver", name.c_str());
        return;
    }
    if (!owner.usesMipmaps())
        glTexImage2D(face, 0, GLint(info.internalFormat), width, height, 0, info.format,
                     GL_UNSIGNED_BYTE, pixels.get());
    else
        gluBuild2DMipmaps(face, mipmapComponents, width, height, info.format, GL_UNSIGNED_BYTE,
                          pixels.get());
}

bool ImageTexture::upload()
{
    if (!create())
        return false;
    sendImage(GL_TEXTURE_2D, state, bytesPerPixel);
    unbind(GL_TEXTURE0_ARB);
    return true;
}

bool ImageTexture::update()
{
    if (!bind(GL_TEXTURE0_ARB))
        return false;
    const PixelTypeInfo& info = pixelTypeInfo(pixelType);
    if (pixels && info.format != 0 && width > 0 && height > 0) {
        TightUnpack tight;
        if (isCompressedPixelType(pixelType)) {
            if (canSendCompressed() && ext::glCompressedTexSubImage2DARB)
                ext::glCompressedTexSubImage2DARB(
                    GL_TEXTURE_2D, 0, 0, 0, width, height, info.format,
                    GLsizei(compressedImageSize(pixelType, width, height)), pixels.get());
        } else {
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, info.format, GL_UNSIGNED_BYTE,
                            pixels.get());
        }
    }
    unbind(GL_TEXTURE0_ARB);
    return true;
}

bool ImageTexture::scaleToPowerOfTwo()
{
    if (isCompressedPixelType(pixelType))
        return false;
    const int larger = std::max(width, height);
    if (width == height)
        for (int side = 1; side <= 1024; side *= 2)
            if (side == width)
                return true;
    const PixelTypeInfo& info = pixelTypeInfo(pixelType);
    if (!pixels || info.format == 0 || larger <= 0 || bytesPerPixel <= 0)
        return false;
    int side = 1;
    while (side < 2048 && side * 2 <= larger)
        side *= 2;
    std::unique_ptr<std::uint8_t[]> scaled(
        new std::uint8_t[std::size_t(side) * std::size_t(side) * std::size_t(bytesPerPixel)]());
    TightUnpack tight;
    if (gluScaleImage(info.format, width, height, GL_UNSIGNED_BYTE, pixels.get(), side, side,
                      GL_UNSIGNED_BYTE, scaled.get()) != 0)
        return false;
    pixels = std::move(scaled);
    width = height = side;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Texture1D and Texture3D

bool Texture1D::allocateImage(int w, int type)
{
    if (pixels || w < 0)
        return false;
    width = w;
    pixelType = type;
    bytesPerPixel = bytesPerPixel1D3D(type, bytesPerPixel);
    pixels.reset(new std::uint8_t[std::max<std::size_t>(imageBytes(), 1)]());
    return true;
}

bool Texture1D::upload()
{
    if (!create())
        return false;
    const PixelTypeInfo& info = pixelTypeInfo(pixelType);
    if (pixels && info.format != 0 && bytesPerPixel > 0 && width > 0) {
        TightUnpack tight;
        if (!state.usesMipmaps())
            glTexImage1D(GL_TEXTURE_1D, 0, bytesPerPixel, width, 0, info.format,
                         GL_UNSIGNED_BYTE, pixels.get());
        else
            gluBuild1DMipmaps(GL_TEXTURE_1D, bytesPerPixel, width, info.format, GL_UNSIGNED_BYTE,
                              pixels.get());
    }
    unbind(GL_TEXTURE0_ARB);
    return true;
}

std::size_t Texture3D::imageBytes() const
{
    return std::size_t(width) * std::size_t(height) * std::size_t(depth) *
           std::size_t(bytesPerPixel);
}

bool Texture3D::allocateImage(int w, int h, int d, int type)
{
    if (pixels || w < 0 || h < 0 || d < 0)
        return false;
    width = w;
    height = h;
    depth = d;
    pixelType = type;
    bytesPerPixel = bytesPerPixel1D3D(type, bytesPerPixel);
    pixels.reset(new std::uint8_t[std::max<std::size_t>(imageBytes(), 1)]());
    return true;
}

bool Texture3D::upload()
{
    if (!create())
        return false;
    const PixelTypeInfo& info = pixelTypeInfo(pixelType);
    if (ext::glTexImage3DEXT && pixels && info.format != 0 && bytesPerPixel > 0 && width > 0 &&
        height > 0 && depth > 0) {
        TightUnpack tight;
        ext::glTexImage3DEXT(GL_TEXTURE_3D, 0, GLenum(bytesPerPixel), width, height, depth, 0,
                             info.format, GL_UNSIGNED_BYTE, pixels.get());
    }
    unbind(GL_TEXTURE0_ARB);
    return true;
}

// ---------------------------------------------------------------------------------------------
// CubeMapTexture

const char* const CubeMapTexture::kFaceSuffixes[6] = {"_pos_x", "_neg_x", "_pos_y",
                                                      "_neg_y", "_pos_z", "_neg_z"};

CubeMapTexture::~CubeMapTexture()
{
    for (ImageTexture*& face : faces) {
        if (!face)
            continue;
        if (TextureManager::instance)
            TextureManager::instance->release(face);
        else
            face->releaseRef();
        face = nullptr;
    }
}

bool CubeMapTexture::setFace(int i, ImageTexture* face)
{
    if (i < 0 || i >= 6 || faces[i] || !face)
        return false;
    face->addRef();
    faces[i] = face;
    return true;
}

bool CubeMapTexture::complete() const
{
    for (const ImageTexture* face : faces)
        if (!face)
            return false;
    return true;
}

bool CubeMapTexture::upload()
{
    if (!complete() || !create())
        return false;
    bind(GL_TEXTURE0_ARB);
    for (int i = 0; i < 6; ++i) {
        const ImageTexture& face = *faces[i];
        face.sendImage(GLenum(GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB + i), state,
                       GLint(pixelTypeInfo(face.pixelType).internalFormat));
    }
    unbind(GL_TEXTURE0_ARB);
    return true;
}
