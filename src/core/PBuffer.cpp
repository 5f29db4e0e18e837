#include "core/PBuffer.h"

#include "core/ExtensionRegistry.h"
#include "core/Log.h"
#include "core/ScreenSpace.h"

#include <algorithm>
#include <cstdint>

PBuffer* PBuffer::instance = nullptr;

PBuffer* createPBuffer()
{
    if (!ext::gl_ARB_framebuffer_object) {
        logPrint("Unable to create PBuffer");
        return nullptr;
    }
    logPrint("Creating PBuffer (framebuffer object)");
    return new FramebufferPBuffer();
}

FramebufferPBuffer::~FramebufferPBuffer()
{
    if (created_)
        destroy();
}

int renderTargetSize(int outputLines, int driverLimit)
{
    constexpr int kBase = 512, kMost = 2048;
    int size = kBase;
    while (size < kMost && std::int64_t(size) * 480 < std::int64_t(kBase) * outputLines)
        size *= 2;
    while (size > 64 && size > driverLimit)
        size /= 2;
    return size;
}

int renderTargetLimit()
{
    GLint texture = 0, renderbuffer = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    return std::min(texture, renderbuffer);
}

bool FramebufferPBuffer::create(int width, int height, int samples)
{
    if (!ext::gl_ARB_framebuffer_object)
        return false;
    if (created_)
        destroy();
    if (width <= 0 || height <= 0)
        return false;
    width_ = width;
    height_ = height;

    GLint previousTexture = 0, previousFramebuffer = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previousTexture);
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previousFramebuffer);

    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glBindTexture(GL_TEXTURE_2D, GLuint(previousTexture));

    ext::glGenRenderbuffers(1, &depthStencil_);
    ext::glBindRenderbuffer(GL_RENDERBUFFER, depthStencil_);
    ext::glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    ext::glBindRenderbuffer(GL_RENDERBUFFER, 0);

    ext::glGenFramebuffers(1, &framebuffer_);
    ext::glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    ext::glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
    ext::glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthStencil_);
    ext::glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthStencil_);
    const GLenum status = ext::glCheckFramebufferStatus(GL_FRAMEBUFFER);
    // With samples the drawing goes into multisampled buffers beside the texture; where the
    // driver has none it goes straight into the texture as without.
    if (status == GL_FRAMEBUFFER_COMPLETE && samples >= 2)
        sampled_.create(width, height, samples);
    samples_ = sampled_.samples();
    ext::glBindFramebuffer(GL_FRAMEBUFFER, GLuint(previousFramebuffer));
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        // Nothing is kept: what was made so far is deleted at once and the buffer stays not
        // created (destroy only runs for a created buffer, hence the brief flag).
        created_ = true;
        destroy();
        created_ = false;
        return false;
    }
    created_ = true;
    return true;
}

bool FramebufferPBuffer::destroy()
{
    if (!created_ || !ext::gl_ARB_framebuffer_object)
        return false;
    if (texture_ != GLuint(-1))
        glDeleteTextures(1, &texture_);
    texture_ = GLuint(-1);
    if (depthStencil_)
        ext::glDeleteRenderbuffers(1, &depthStencil_);
    if (framebuffer_)
        ext::glDeleteFramebuffers(1, &framebuffer_);
    depthStencil_ = framebuffer_ = 0;
    sampled_.destroy();
    samples_ = 0;
    return true;
}

bool FramebufferPBuffer::beginRender(int width, int height)
{
    if (!created_ || !framebuffer_)
        return false;
    if (sampled_.created()) {
        sampled_.bind();
    } else {
        ext::glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glDrawBuffer(GL_COLOR_ATTACHMENT0);
        glReadBuffer(GL_COLOR_ATTACHMENT0);
    }
    glViewport(0, 0, width, height);
    return true;
}

bool FramebufferPBuffer::endRender(int width, int height)
{
    if (!created_ || !framebuffer_)
        return false;
    // The samples averaged into the texture the scenes sample; the multisampled picture stays,
    // so a scene that draws over its last frame goes on from it.
    if (sampled_.created())
        sampled_.resolveInto(framebuffer_, GL_COLOR_ATTACHMENT0);
    bindFrameFramebuffer();
    screen::setViewport(width, height);
    return true;
}

bool FramebufferPBuffer::bindTexture(GLenum textureUnit)
{
    if (!created_ || !framebuffer_)
        return false;
    ext::glActiveTextureARB(textureUnit);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glEnable(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    return true;
}

bool FramebufferPBuffer::releaseTexture(GLenum textureUnit)
{
    if (!created_ || !framebuffer_)
        return false;
    ext::glActiveTextureARB(textureUnit);
    glDisable(GL_TEXTURE_2D);
    return true;
}
