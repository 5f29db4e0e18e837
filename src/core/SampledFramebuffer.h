// A multisampled framebuffer object (colour RGBA8, 24-bit depth, 8-bit stencil) whose picture is
// resolved, the samples of each pixel averaged, into another framebuffer. The render target
// draws through one; so does the frame when the window or off-screen surface has no samples of
// its own.
#pragma once
#include "core/GL.h"

class SampledFramebuffer {
public:
    SampledFramebuffer() = default;
    ~SampledFramebuffer();
    SampledFramebuffer(const SampledFramebuffer&) = delete;
    SampledFramebuffer& operator=(const SampledFramebuffer&) = delete;

    // The frame's buffer while one exists (null: the frame is drawn straight into the window).
    // Drawing that leaves a render target returns to it.
    static SampledFramebuffer* frame;

    // Makes the buffers with `samples` per pixel, halving the count until the driver accepts it
    // (never more than its maximum). False, with nothing made, when not even 2 are possible.
    // The picture starts cleared to transparent black. Leaves framebuffer 0 bound.
    bool create(int width, int height, int samples);
    void destroy();
    // Draws into it (colour attachment 0).
    void bind() const;
    // Averages the samples into `target` (same size) and leaves `target` bound for drawing and
    // reading, with `targetBuffer` (GL_BACK for a window, GL_COLOR_ATTACHMENT0 for an object)
    // as its draw and read buffer.
    void resolveInto(GLuint target, GLenum targetBuffer) const;

    bool created() const { return framebuffer_ != 0; }
    GLuint name() const { return framebuffer_; }
    int samples() const { return samples_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    GLuint framebuffer_ = 0, colour_ = 0, depthStencil_ = 0;
    int samples_ = 0, width_ = 0, height_ = 0;
};

// The most samples the driver allows in a framebuffer object (0 without multisampling).
int maxFramebufferSamples();

// Binds the framebuffer the frame is drawn into (the frame's sampled buffer, else the window's)
// with its colour buffer for drawing and reading.
void bindFrameFramebuffer();
