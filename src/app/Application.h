// The framework under the show: window settings, display-mode choice, the window and its GL
// context (or an off-screen one), the frame clock and the main loop that calls the derived
// class's update and render, GL error draining and screenshots.
#pragma once
#include "app/ClockLock.h"
#include "app/CommandLine.h"
#include "core/SampledFramebuffer.h"
#include "platform/HeadlessContext.h"
#include "platform/Window.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct WindowSettings {
    std::string title = "Application";
    int width = 640;
    int height = 480;
    int colourBits = 32;
    int depthBits = 32;
    int stencilBits = 0;
    int accumBits = 0;
    int refreshRate = -1; // -1: unspecified
    bool vsync = true;    // swap on the display's refresh (adaptive where offered)
    int samples = -1;     // anti-aliasing samples per pixel; -1: chosen by antialias::defaultSamples
    bool fullscreen = false;
    bool askDisplayMode = false;
};

class Exporter;

// How the loop runs, from the command line.
struct RunOptions {
    bool headless = false;
    int fps = 0; // 0: real clock; otherwise frame k shows time k / fps
    std::vector<ShotRequest> shots;
    // Fixed-step frames wait for the wall clock, so the show plays at its own speed (a watched
    // headless run, which the show maker edits while it plays).
    bool realTime = false;
    Exporter* exporter = nullptr; // receives every drawn frame and ends the run (--export)
    std::string frameLog;         // "" or the CSV file that receives each frame's timings
    std::string logFile = "application.log";
};

class Application {
public:
    virtual ~Application();

    // The whole program: log, window, init, frames until closed. Returns the exit status:
    // 0 after a normal end (or the picker's "Reboot"), 1 when start-up or an export failed.
    int run(const RunOptions& options);

    // Asks the loop to close the window before the next frame (the end time, Escape, close box).
    void requestClose() { closeRequested_ = true; }
    bool isKeyDown(platform::Key key) const;

    WindowSettings& windowSettings() { return settings; }
    double showTime = 0.0;  // seconds since the loop started
    double frameTime = 0.0; // seconds of the last frame

protected:
    virtual bool init() = 0;
    virtual bool shutdown() = 0;
    virtual void render() = 0;
    virtual void update(float frameTime) = 0;
    virtual void resize(int width, int height) = 0;
    // Added to showTime wherever the show time is needed (shots compare against it).
    virtual double timeOffset() const { return 0.0; }
    // The show time the listener hears (the music's played position); false when no music
    // plays. The real-time clock is steered toward it.
    virtual bool heardShowTime(double&) const { return false; }
    // A transport key was pressed (Space, arrows, Page Up/Down, Home).
    virtual void keyPressed(platform::Key) {}

    // The clock starts again from 0 with the current frame (a reload at a new start offset):
    // the next frame is the new run's second.
    void restartClock();
    // While paused the show time stands still (frames go on being drawn).
    void setPaused(bool paused);
    bool paused() const { return paused_; }

    bool createWindow();
    // 0 quit, 1 full screen, 2 windowed.
    int chooseDisplayMode();
    // True when the display offers exactly this mode; logs the "ScreenMode" section.
    bool changeDisplayMode(int width, int height, int bitsPerPixel, int refreshRate);
    // The display refused full screen: the box saying so, then a window (at (0, 0)).
    void fallBackToWindowed();
    // After the window asked for full screen: the fallback when it did not get it.
    void keepFullscreenOrFallBack();
    bool createContext();
    // Swap interval for a window: adaptive (-1) where offered, else 1; 0 without vsync. Logged.
    void applySwapInterval();
    void destroyContext();
    void reportGLErrors();
    void swapBuffers();
    bool headless() const { return options_.headless; }
    // Frames per show second of the fixed-step clock; 0 with the real clock.
    int fixedFps() const { return options_.fps; }
    // Samples per pixel of the frame being drawn (0: no anti-aliasing).
    int samples() const { return samples_; }
    // Once the GL extensions are known: where the window or off-screen surface has fewer samples
    // than wanted, the frame is drawn into a multisampled buffer resolved before each swap.
    void openFrameBuffer();

    WindowSettings settings;

private:
    void startClock();
    void tick();
    void takeShots();
    void closeWindow();
    bool openSurface(int samples, int& gotDepth, int& gotStencil, std::string& why);
    void logFrameStatistics(double startupSeconds) const;

    RunOptions options_;
    platform::Window window_;
    std::unique_ptr<platform::HeadlessContext> offscreen_;
    bool closeRequested_ = false;
    bool windowOpen_ = false;
    bool userQuit_ = false;
    bool paused_ = false;
    int samples_ = 0;        // the frame's samples per pixel
    int wantedSamples_ = 0;  // what the command line or the renderer asked for
    std::string samplesReason_;
    SampledFramebuffer frameBuffer_;
    bool frameResolved_ = true;
    // Averages the frame buffer's samples into the window's back buffer (once per frame).
    void resolveFrame();
    std::uint64_t paceStart_ = 0; // counter at the clock's start, for real-time pacing
    std::uint64_t lastCounter_ = 0, frequency_ = 1;
    std::int64_t frameIndex_ = 0;
    ClockLock clockLock_;
    std::vector<bool> shotTaken_;
    // Wall-clock cost of each frame (update, render, swap), for the closing log line.
    std::vector<float> frameCosts_;
    // Per-frame timings for --frame-log, written when the loop ends.
    struct FrameRecord {
        double showTime;
        float frameMs, updateMs, updateCpuMs;
    };
    std::vector<FrameRecord> frameRecords_;
    void writeFrameLog() const;
};

// The anti-aliasing choice when the command line leaves it open.
namespace antialias {
// Whether the GL renderer string names a software rasteriser (llvmpipe, softpipe, swrast).
bool softwareRenderer(const std::string& renderer);
// Samples per pixel: 4 off screen (shots and exports are made to be looked at), 4 for a window
// on a GPU, 0 for a window on a software renderer (it would halve the frame rate). `reason` says
// which applied.
int defaultSamples(bool headless, const std::string& renderer, std::string* reason = nullptr);
} // namespace antialias

// Picker entries and their parsing, shared with the tests.
namespace modes {
// "%dx%d %d BPP (%d Hz)" for every mode deeper than 8 bits and at least 640 wide, in order.
std::vector<std::string> listEntries(const std::vector<platform::DisplayMode>& all,
                                     std::vector<platform::DisplayMode>* listed = nullptr);
// Reads width, height, bits per pixel and refresh rate from an entry's text; a value the text
// does not give keeps its default (640, 480, 32, 0).
void parseEntry(const std::string& text, int& width, int& height, int& bitsPerPixel, int& refreshRate);
// The entry the picker starts on: the second, or the first when the display offers only one.
int initialEntry(size_t entryCount);
} // namespace modes
