#include "platform/GLContext.h"

#include <EGL/egl.h>

namespace platform {

// Both the headless context and the SDL window (which is told to use EGL) are EGL contexts, so
// one lookup serves them.
void* getProcAddress(const char* name)
{
    if (!name)
        return nullptr;
    return reinterpret_cast<void*>(eglGetProcAddress(name));
}

std::string windowSystemExtensions()
{
    EGLDisplay display = eglGetCurrentDisplay();
    if (display == EGL_NO_DISPLAY)
        return {};
    const char* ext = eglQueryString(display, EGL_EXTENSIONS);
    return ext ? ext : "";
}

} // namespace platform
