// The desktop window: one SDL window with an OpenGL compatibility context, its events, key state
// and the display modes of the primary display.
#pragma once
#include <string>
#include <vector>

struct SDL_Window;

namespace platform {

struct DisplayMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int refreshRate = 0;
};

// The index in `modes` of the mode with exactly this width, height and bits per pixel, and this
// refresh rate unless it is 0 or -1 (then the display's own rate); -1 when there is none.
int findExactMode(const std::vector<DisplayMode>& modes, const DisplayMode& wanted);

// Keys the show polls (One, Two, Escape) and the transport keys it takes as presses.
enum class Key { One, Two, Escape, Space, Left, Right, PageUp, PageDown, Home };

struct WindowEvent {
    enum Type { None, Close, Escape, Resized, KeyPressed } type = None;
    int width = 0;
    int height = 0;
    Key key = Key::Escape; // KeyPressed: which transport key (auto-repeat included)
};

class Window {
public:
    Window() = default;
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Starts SDL's video subsystem (once); false with `lastError()` when there is no display.
    static bool initVideo();
    static std::string lastError();
    // Every mode of the primary display in SDL's order.
    static std::vector<DisplayMode> displayModes();
    // Whether the primary display offers exactly this mode (full screen is entered on `create`
    // and `show`).
    static bool canUseMode(const DisplayMode& mode);

    // Creates the window and its context with these buffer sizes; a depth that the driver does
    // not offer is retried with 24 bits, a sample count with half as many down to none.
    // `fullscreenMode` non-null: full screen in exactly that mode; when the display refuses it
    // the window stays windowed at (0, 0) and `fullscreen()` says false.
    bool create(const std::string& title, int width, int height, int colourBits, int depthBits,
                int stencilBits, int accumBits, int samples, const DisplayMode* fullscreenMode);
    void destroy();
    // Shows the window; a full-screen window's display switch happens here, and when the display
    // did not end up in the asked mode the window goes back to windowed at (0, 0).
    void show();
    void swapBuffers();
    void showCursor(bool visible);
    // Sets the context's swap interval (1 vsync, -1 adaptive vsync, 0 none); false when the
    // driver refuses that interval.
    bool setSwapInterval(int interval);
    // The interval in effect as the driver reports it.
    int swapInterval() const;

    // Next waiting event; false when none is waiting.
    bool pollEvent(WindowEvent& event);
    bool isKeyDown(Key key) const;

    bool valid() const { return window_ != nullptr; }
    // Full screen in the asked mode (false after a refused switch, and for windowed windows).
    bool fullscreen() const { return fullscreen_; }
    int depthBits() const { return depthBits_; }
    int stencilBits() const { return stencilBits_; }
    int samples() const { return samples_; }

private:
    SDL_Window* window_ = nullptr;
    void* context_ = nullptr;
    int depthBits_ = 0;
    int stencilBits_ = 0;
    int samples_ = 0;
    bool fullscreen_ = false;
    DisplayMode fullscreenMode_;

    // Switches the display to the mode of `fullscreenMode_` for this window; false when the
    // display has no such mode or refuses it.
    bool enterFullscreen();
    // Back to a window at (0, 0) after a refused switch.
    void leaveFullscreen();
    bool tryCreate(const std::string& title, int width, int height, int colourBits, int depthBits,
                   int stencilBits, int accumBits, int samples, const DisplayMode* fullscreenMode);
};

} // namespace platform
