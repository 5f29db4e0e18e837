// An off-screen OpenGL compatibility context through EGL (Mesa's llvmpipe without a GPU): the
// default framebuffer is a pbuffer surface of the requested size with RGBA8, depth and stencil.
#pragma once
#include <string>

namespace platform {

class HeadlessContext {
public:
    HeadlessContext() = default;
    ~HeadlessContext();
    HeadlessContext(const HeadlessContext&) = delete;
    HeadlessContext& operator=(const HeadlessContext&) = delete;

    // Creates the context and makes it current. On failure `error()` says why.
    bool create(int width, int height, int depthBits = 24, int stencilBits = 8);
    void destroy();
    bool makeCurrent();
    // Finishes the frame (there is nothing to show; glFinish keeps timings honest).
    void swapBuffers();

    bool valid() const { return context_ != nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }
    int depthBits() const { return depthBits_; }
    int stencilBits() const { return stencilBits_; }
    const std::string& error() const { return error_; }

private:
    void* display_ = nullptr;
    void* surface_ = nullptr;
    void* context_ = nullptr;
    int width_ = 0, height_ = 0, depthBits_ = 0, stencilBits_ = 0;
    std::string error_;
};

} // namespace platform
