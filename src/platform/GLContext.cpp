#include "platform/GLContext.h"

#include <EGL/egl.h>
#include <SDL.h>

namespace platform {

// A window's context answers through SDL (EGL underneath, as the window asks for it); the
// headless context is an EGL one.
void* getProcAddress(const char* name)
{
    if (!name)
        return nullptr;
    if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GL_GetCurrentContext())
        return SDL_GL_GetProcAddress(name);
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
