#include "core/SampledFramebuffer.h"

#include "core/ExtensionRegistry.h"

#include <algorithm>

SampledFramebuffer* SampledFramebuffer::frame = nullptr;

int maxFramebufferSamples()
{
    GLint samples = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &samples);
    return samples;
}

SampledFramebuffer::~SampledFramebuffer()
{
    if (frame == this)
        frame = nullptr;
    destroy();
}

bool SampledFramebuffer::create(int width, int height, int samples)
{
    destroy();
    if (!ext::gl_ARB_framebuffer_object || width <= 0 || height <= 0)
        return false;
    for (samples = std::min(samples, maxFramebufferSamples()); samples >= 2; samples /= 2) {
        ext::glGenRenderbuffers(1, &colour_);
        ext::glBindRenderbuffer(GL_RENDERBUFFER, colour_);
        ext::glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGBA8, width, height);
        ext::glGenRenderbuffers(1, &depthStencil_);
        ext::glBindRenderbuffer(GL_RENDERBUFFER, depthStencil_);
        ext::glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH24_STENCIL8, width, height);
        ext::glBindRenderbuffer(GL_RENDERBUFFER, 0);
        ext::glGenFramebuffers(1, &framebuffer_);
        ext::glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        ext::glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
        ext::glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthStencil_);
        ext::glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthStencil_);
        if (ext::glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE) {
            samples_ = samples;
            width_ = width;
            height_ = height;
            glDrawBuffer(GL_COLOR_ATTACHMENT0);
            GLfloat clearColour[4] = {};
            glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
            glClearColor(0, 0, 0, 0);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
            glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
            ext::glBindFramebuffer(GL_FRAMEBUFFER, 0);
            return true;
        }
        ext::glBindFramebuffer(GL_FRAMEBUFFER, 0);
        destroy();
    }
    return false;
}

void SampledFramebuffer::destroy()
{
    if (!ext::gl_ARB_framebuffer_object)
        return;
    if (framebuffer_)
        ext::glDeleteFramebuffers(1, &framebuffer_);
    if (colour_)
        ext::glDeleteRenderbuffers(1, &colour_);
    if (depthStencil_)
        ext::glDeleteRenderbuffers(1, &depthStencil_);
    framebuffer_ = colour_ = depthStencil_ = 0;
    samples_ = width_ = height_ = 0;
}

void SampledFramebuffer::bind() const
{
    ext::glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
}

void SampledFramebuffer::resolveInto(GLuint target, GLenum targetBuffer) const
{
    // The blit obeys the scissor test; the whole picture is resolved whatever a scene left.
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    ext::glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    ext::glBindFramebuffer(GL_DRAW_FRAMEBUFFER, target);
    glDrawBuffer(targetBuffer);
    ext::glBlitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    ext::glBindFramebuffer(GL_FRAMEBUFFER, target);
    glDrawBuffer(targetBuffer);
    glReadBuffer(targetBuffer);
    if (scissor)
        glEnable(GL_SCISSOR_TEST);
}

void bindFrameFramebuffer()
{
    if (SampledFramebuffer::frame && SampledFramebuffer::frame->created()) {
        SampledFramebuffer::frame->bind();
        return;
    }
    ext::glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDrawBuffer(GL_BACK);
    glReadBuffer(GL_BACK);
}
