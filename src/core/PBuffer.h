// The show's render-to-texture buffer: an off-screen colour target whose image is bound directly
// as a 2D texture (no copy). Here it is a framebuffer object with an RGBA8 colour texture and a
// 24-bit depth, 8-bit stencil renderbuffer. With samples, drawing goes into multisampled
// renderbuffers that are resolved into the texture when the drawing ends.
#pragma once
#include "core/GL.h"
#include "core/SampledFramebuffer.h"

class PBuffer {
public:
    virtual ~PBuffer() = default;

    // The program-wide buffer created at start-up (null when none exists).
    static PBuffer* instance;

    // `samples` > 0: anti-aliased drawing with that many samples (fewer where the driver's
    // maximum is lower; `samples()` says what was obtained).
    virtual bool create(int width, int height, int samples = 0) = 0;
    virtual bool destroy() = 0;
    // Draw into the buffer with a viewport of width × height.
    virtual bool beginRender(int width, int height) = 0;
    // Back to the window of width × height, drawing into its centred 4:3 viewport.
    virtual bool endRender(int width, int height) = 0;
    // Binds the buffer's image on a texture unit (GL_TEXTURE0 and up), enabled, wrap GL_CLAMP.
    virtual bool bindTexture(GLenum textureUnit) = 0;
    virtual bool releaseTexture(GLenum textureUnit) = 0;

    bool created() const { return created_; }
    int width() const { return width_; }
    int height() const { return height_; }
    int samples() const { return samples_; }
    virtual GLuint textureName() const = 0;

protected:
    bool created_ = false;
    int width_ = 0;
    int height_ = 0;
    int samples_ = 0;
};

class FramebufferPBuffer : public PBuffer {
public:
    ~FramebufferPBuffer() override;
    bool create(int width, int height, int samples = 0) override;
    bool destroy() override;
    bool beginRender(int width, int height) override;
    bool endRender(int width, int height) override;
    bool bindTexture(GLenum textureUnit) override;
    bool releaseTexture(GLenum textureUnit) override;
    GLuint textureName() const override { return texture_; }

private:
    GLuint framebuffer_ = 0;
    GLuint depthStencil_ = 0;
    GLuint texture_ = GLuint(-1);
    // Multisampled drawing, resolved into the texture when the drawing ends.
    SampledFramebuffer sampled_;
};

// The square render-target size for an output of this many lines: 512 up to 480 lines, then the
// next power of two at or above 512 × lines / 480, at most 2048 and `driverLimit`.
int renderTargetSize(int outputLines, int driverLimit);
// The largest render-target size this context allows.
int renderTargetLimit();

// A new, not yet created buffer, or null (logging "Unable to create PBuffer") when the driver
// has no framebuffer objects.
PBuffer* createPBuffer();
