#include "platform/HeadlessContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <cstring>

namespace platform {
namespace {

// Mesa's surfaceless platform needs no display server; a GPU driver may only offer the default
// display, so both are tried.
EGLDisplay openDisplay()
{
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    const char* clientExt = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (getPlatformDisplay && clientExt && std::strstr(clientExt, "EGL_MESA_platform_surfaceless")) {
        EGLDisplay d = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (d != EGL_NO_DISPLAY && eglInitialize(d, nullptr, nullptr))
            return d;
    }
    if (getPlatformDisplay && clientExt && std::strstr(clientExt, "EGL_EXT_platform_device")) {
        auto queryDevices = reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(
            eglGetProcAddress("eglQueryDevicesEXT"));
        EGLDeviceEXT devices[8];
        EGLint count = 0;
        if (queryDevices && queryDevices(8, devices, &count)) {
            for (EGLint i = 0; i < count; ++i) {
                EGLDisplay d = getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, devices[i], nullptr);
                if (d != EGL_NO_DISPLAY && eglInitialize(d, nullptr, nullptr))
                    return d;
            }
        }
    }
    EGLDisplay d = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    if (d != EGL_NO_DISPLAY && eglInitialize(d, nullptr, nullptr))
        return d;
    return EGL_NO_DISPLAY;
}

} // namespace

HeadlessContext::~HeadlessContext() { destroy(); }

bool HeadlessContext::create(int width, int height, int depthBits, int stencilBits)
{
    destroy();
    EGLDisplay display = openDisplay();
    if (display == EGL_NO_DISPLAY) {
        error_ = "no EGL display";
        return false;
    }
    display_ = display;
    if (!eglBindAPI(EGL_OPENGL_API)) {
        error_ = "EGL has no desktop OpenGL";
        destroy();
        return false;
    }
    // Ask for the requested depth first, then fall back to 24 bits as a window would.
    EGLConfig config = nullptr;
    EGLint found = 0;
    for (int depth : {depthBits, 24, 16}) {
        const EGLint attribs[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                  EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
                                  EGL_DEPTH_SIZE, depth, EGL_STENCIL_SIZE, stencilBits, EGL_NONE};
        if (eglChooseConfig(display, attribs, &config, 1, &found) && found == 1)
            break;
    }
    if (found != 1) {
        error_ = "no EGL configuration with RGBA8, depth and stencil";
        destroy();
        return false;
    }
    const EGLint surfaceAttribs[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    surface_ = eglCreatePbufferSurface(display, config, surfaceAttribs);
    if (surface_ == EGL_NO_SURFACE) {
        surface_ = nullptr;
        error_ = "cannot create an EGL pbuffer surface";
        destroy();
        return false;
    }
    // A compatibility profile: the show draws with the fixed-function pipeline.
    const EGLint contextAttribs[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                     EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    context_ = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttribs);
    if (context_ == EGL_NO_CONTEXT) {
        context_ = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
        if (context_ == EGL_NO_CONTEXT) {
            context_ = nullptr;
            error_ = "cannot create an OpenGL context";
            destroy();
            return false;
        }
    }
    width_ = width;
    height_ = height;
    eglGetConfigAttrib(display, config, EGL_DEPTH_SIZE, &depthBits_);
    eglGetConfigAttrib(display, config, EGL_STENCIL_SIZE, &stencilBits_);
    if (!makeCurrent()) {
        error_ = "cannot make the OpenGL context current";
        destroy();
        return false;
    }
    glDrawBuffer(GL_BACK);
    glReadBuffer(GL_BACK);
    return true;
}

bool HeadlessContext::makeCurrent()
{
    return context_ && eglMakeCurrent(display_, surface_, surface_, context_);
}

void HeadlessContext::swapBuffers()
{
    if (context_)
        glFinish();
}

void HeadlessContext::destroy()
{
    if (display_) {
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (context_)
            eglDestroyContext(display_, context_);
        if (surface_)
            eglDestroySurface(display_, surface_);
        eglTerminate(display_);
    }
    display_ = surface_ = context_ = nullptr;
}

} // namespace platform
