#include "platform/Window.h"

#include <SDL.h>

namespace platform {

Window::~Window() { destroy(); }

bool Window::initVideo()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    // EGL on X11 as well as on Wayland: the extension registry reads the EGL string.
    SDL_SetHint(SDL_HINT_VIDEO_X11_FORCE_EGL, "1");
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

std::string Window::lastError() { return SDL_GetError(); }

std::vector<DisplayMode> Window::displayModes()
{
    std::vector<DisplayMode> modes;
    if (!initVideo())
        return modes;
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode m;
        if (SDL_GetDisplayMode(0, i, &m) != 0)
            break;
        modes.push_back({m.w, m.h, int(SDL_BITSPERPIXEL(m.format)) == 24 ? 32 : int(SDL_BITSPERPIXEL(m.format)),
                         m.refresh_rate});
    }
    return modes;
}

int findExactMode(const std::vector<DisplayMode>& modes, const DisplayMode& wanted)
{
    const bool anyRate = wanted.refreshRate == 0 || wanted.refreshRate == -1;
    for (std::size_t i = 0; i < modes.size(); ++i) {
        const DisplayMode& m = modes[i];
        if (m.width == wanted.width && m.height == wanted.height && m.bitsPerPixel == wanted.bitsPerPixel &&
            (anyRate || m.refreshRate == wanted.refreshRate))
            return int(i);
    }
    return -1;
}

bool Window::canUseMode(const DisplayMode& mode)
{
    return findExactMode(displayModes(), mode) >= 0;
}

bool Window::enterFullscreen()
{
    // displayModes() lists SDL's modes in SDL's order, so the index names SDL's own record.
    const int index = findExactMode(displayModes(), fullscreenMode_);
    SDL_DisplayMode mode{};
    if (index < 0) {
        SDL_SetError("the display has no %dx%d %d-bit mode", fullscreenMode_.width, fullscreenMode_.height,
                     fullscreenMode_.bitsPerPixel);
        return false;
    }
    return SDL_GetDisplayMode(0, index, &mode) == 0 && SDL_SetWindowDisplayMode(window_, &mode) == 0 &&
           SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN) == 0;
}

void Window::leaveFullscreen()
{
    SDL_SetWindowFullscreen(window_, 0);
    SDL_SetWindowPosition(window_, 0, 0);
    fullscreen_ = false;
}

bool Window::create(const std::string& title, int width, int height, int colourBits, int depthBits,
                    int stencilBits, int accumBits, int samples, const DisplayMode* fullscreenMode)
{
    destroy();
    if (!initVideo())
        return false;
    for (int depth : {depthBits, 24})
        for (int s = samples; s >= 0; s = s >= 2 ? s / 2 : -1)
            if (tryCreate(title, width, height, colourBits, depth, stencilBits, accumBits, s >= 2 ? s : 0,
                          fullscreenMode))
                return true;
    return false;
}

bool Window::tryCreate(const std::string& title, int width, int height, int colourBits, int depth,
                       int stencilBits, int accumBits, int samples, const DisplayMode* fullscreenMode)
{
    const int channel = colourBits >= 24 ? 8 : 5;
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, colourBits >= 32 ? 8 : 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depth);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, stencilBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, accumBits / 4);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, samples > 0 ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, samples);
    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
    const int position = fullscreenMode ? 0 : int(SDL_WINDOWPOS_UNDEFINED);
    window_ = SDL_CreateWindow(title.c_str(), position, position, width, height, flags);
    if (!window_)
        return false;
    fullscreen_ = false;
    if (fullscreenMode) {
        fullscreenMode_ = *fullscreenMode;
        fullscreen_ = enterFullscreen();
        if (!fullscreen_)
            leaveFullscreen();
    }
    context_ = SDL_GL_CreateContext(window_);
    if (context_) {
        SDL_GL_MakeCurrent(window_, context_);
        SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depthBits_);
        SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &stencilBits_);
        int buffers = 0;
        SDL_GL_GetAttribute(SDL_GL_MULTISAMPLEBUFFERS, &buffers);
        SDL_GL_GetAttribute(SDL_GL_MULTISAMPLESAMPLES, &samples_);
        if (!buffers)
            samples_ = 0;
        return true;
    }
    SDL_DestroyWindow(window_);
    window_ = nullptr;
    return false;
}

void Window::destroy()
{
    if (context_) {
        SDL_GL_MakeCurrent(window_, nullptr);
        SDL_GL_DeleteContext(context_);
        context_ = nullptr;
    }
    if (window_) {
        SDL_DestroyWindow(window_);
        window_ = nullptr;
    }
    fullscreen_ = false;
}

void Window::show()
{
    if (!window_)
        return;
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
    if (!fullscreen_)
        return;
    // A hidden window switches the display only when it is shown: check what the display became.
    SDL_DisplayMode current{};
    const int display = SDL_GetWindowDisplayIndex(window_);
    const bool switched = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0 && display >= 0 &&
                          SDL_GetCurrentDisplayMode(display, &current) == 0 &&
                          current.w == fullscreenMode_.width && current.h == fullscreenMode_.height;
    if (!switched) {
        SDL_SetError("the display did not switch to %dx%d", fullscreenMode_.width, fullscreenMode_.height);
        leaveFullscreen();
    }
}

void Window::swapBuffers()
{
    if (window_ && context_)
        SDL_GL_SwapWindow(window_);
}

bool Window::setSwapInterval(int interval)
{
    return context_ && SDL_GL_SetSwapInterval(interval) == 0;
}

int Window::swapInterval() const { return context_ ? SDL_GL_GetSwapInterval() : 0; }

void Window::showCursor(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

namespace {
// The keys that pause and seek the show.
constexpr struct {
    SDL_Keycode sym;
    Key key;
} kTransportKeys[] = {
    {SDLK_SPACE, Key::Space},    {SDLK_LEFT, Key::Left},          {SDLK_RIGHT, Key::Right},
    {SDLK_PAGEUP, Key::PageUp},  {SDLK_PAGEDOWN, Key::PageDown},  {SDLK_HOME, Key::Home},
};
} // namespace

bool Window::pollEvent(WindowEvent& event)
{
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_QUIT:
            event = {WindowEvent::Close};
            return true;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                event = {WindowEvent::Close};
                return true;
            }
            if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                event = {WindowEvent::Resized, e.window.data1, e.window.data2};
                return true;
            }
            break;
        case SDL_KEYDOWN:
            if (e.key.keysym.sym == SDLK_ESCAPE) {
                event = {WindowEvent::Escape};
                return true;
            }
            for (const auto& transport : kTransportKeys) {
                if (e.key.keysym.sym == transport.sym) {
                    event = {WindowEvent::KeyPressed, 0, 0, transport.key};
                    return true;
                }
            }
            break;
        default:
            break;
        }
    }
    return false;
}

bool Window::isKeyDown(Key key) const
{
    const Uint8* state = SDL_GetKeyboardState(nullptr);
    switch (key) {
    case Key::One: return state[SDL_SCANCODE_1] || state[SDL_SCANCODE_KP_1];
    case Key::Two: return state[SDL_SCANCODE_2] || state[SDL_SCANCODE_KP_2];
    case Key::Escape: return state[SDL_SCANCODE_ESCAPE];
    default: break;
    }
    return false;
}

} // namespace platform
