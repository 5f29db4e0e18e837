#include "app/Application.h"

#include "app/Exporter.h"
#include "core/ExtensionRegistry.h"
#include "core/FramePixels.h"
#include "core/GL.h"
#include "core/Log.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/ModePicker.h"
#include "platform/PngWriter.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <cstdio>

namespace modes {

std::vector<std::string> listEntries(const std::vector<platform::DisplayMode>& all,
                                     std::vector<platform::DisplayMode>* listed)
{
    std::vector<std::string> entries;
    for (const auto& m : all) {
        if (m.bitsPerPixel <= 8 || m.width < 640)
            continue;
        char text[64];
        std::snprintf(text, sizeof text, "%dx%d %d BPP (%d Hz)", m.width, m.height, m.bitsPerPixel,
                      m.refreshRate);
        entries.push_back(text);
        if (listed)
            listed->push_back(m);
    }
    return entries;
}

void parseEntry(const std::string& text, int& width, int& height, int& bitsPerPixel, int& refreshRate)
{
    width = 640;
    height = 480;
    bitsPerPixel = 32;
    refreshRate = 0;
    std::sscanf(text.c_str(), "%d %*c %d %d %*s %*c %d", &width, &height, &bitsPerPixel, &refreshRate);
}

int initialEntry(size_t entryCount) { return entryCount > 1 ? 1 : 0; }

} // namespace modes

namespace antialias {

bool softwareRenderer(const std::string& renderer)
{
    static const char* const kSoftware[] = {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"};
    for (const char* name : kSoftware)
        if (renderer.find(name) != std::string::npos)
            return true;
    return false;
}

int defaultSamples(bool headless, const std::string& renderer, std::string* reason)
{
    const char* why = "a hardware renderer";
    int samples = 4;
    if (headless) {
        why = "off screen, made to be looked at";
    } else if (softwareRenderer(renderer)) {
        why = "a software renderer, too slow for it";
        samples = 0;
    }
    if (reason)
        *reason = why;
    return samples;
}

} // namespace antialias

Application::~Application() = default;

bool Application::isKeyDown(platform::Key key) const
{
    return !options_.headless && window_.valid() && window_.isKeyDown(key);
}

int Application::chooseDisplayMode()
{
    logBeginSection("VideoModes");
    std::vector<platform::DisplayMode> listed;
    const auto entries = modes::listEntries(platform::Window::displayModes(), &listed);
    for (const auto& m : listed)
        logPrint("%dx%dx%d %d Hz", m.width, m.height, m.bitsPerPixel, m.refreshRate);
    logEndSection("VideoModes");

    const std::vector<std::string> credits = {
        "Oculith", "2026", "Made by the Oculith makers", "Code: the engine crew",
        "Models: the geometry crew", "Graphics: the pixel crew", "Music: the synth crew"};
    const auto result = platform::runModePicker(settings.title, entries, modes::initialEntry(entries.size()), credits);
    if (result.button == 1005)
        return 0;
    int width, height, bits, refresh;
    modes::parseEntry(result.selected >= 0 && result.selected < int(entries.size()) ? entries[result.selected] : "",
                      width, height, bits, refresh);
    settings.width = width;
    settings.height = height;
    settings.colourBits = bits;
    settings.refreshRate = refresh;
    return result.button == 1 ? 1 : 2;
}

bool Application::changeDisplayMode(int width, int height, int bitsPerPixel, int refreshRate)
{
    logBeginSection("ScreenMode");
    logPrint("Width : %d", width);
    logPrint("Height: %d", height);
    logPrint("BPP   : %d", bitsPerPixel);
    logPrint("Freq  : %d", refreshRate);
    const bool ok = platform::Window::canUseMode({width, height, bitsPerPixel, refreshRate});
    if (!ok)
        logPrint("ChangeDisplaySettings() FAILED");
    logEndSection("ScreenMode");
    return ok;
}

bool Application::createWindow()
{
    if (!options_.headless && !platform::Window::initVideo()) {
        std::fprintf(stderr, "oculith: no display to open a window on (%s); --headless renders without one\n",
                     platform::Window::lastError().c_str());
        return false;
    }
    if (settings.askDisplayMode && !options_.headless) {
        const int choice = chooseDisplayMode();
        if (choice == 0) {
            userQuit_ = true;
            return false;
        }
        settings.fullscreen = choice == 1;
    }
    if (settings.fullscreen && !options_.headless &&
        !changeDisplayMode(settings.width, settings.height, settings.colourBits, settings.refreshRate))
        fallBackToWindowed();
    if (!createContext())
        return false;
    keepFullscreenOrFallBack();
    return true;
}

void Application::keepFullscreenOrFallBack()
{
    // The display may still refuse the mode when the window asks for it, or when it is shown.
    if (settings.fullscreen && !options_.headless && !window_.fullscreen()) {
        logPrint("Full-screen switch FAILED: %s", platform::Window::lastError().c_str());
        fallBackToWindowed();
    }
}

void Application::fallBackToWindowed()
{
    platform::showMessageBox("Error", "Couldn't change screen resolution.\nRunning In Windowed Mode.",
                             platform::MessageIcon::Warning);
    settings.fullscreen = false;
    window_.showCursor(true);
}

// Whether the window's default framebuffer really blends the samples of an edge: some software
// drivers offer multisampled formats that draw like single-sampled ones. A half-covered tilted
// edge is drawn into a corner of the back buffer (cleared again before anything is shown).
static bool windowBlendsSamples()
{
    constexpr int kSize = 16;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, kSize, 0, kSize, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_SCISSOR_TEST);
    glViewport(0, 0, kSize, kSize);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    glBegin(GL_TRIANGLES);
    glVertex2f(0, 0);
    glVertex2f(kSize, 0);
    glVertex2f(0, kSize * 0.63f);
    glEnd();
    unsigned char pixels[kSize * kSize * 4];
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
    for (int i = 0; i < kSize * kSize; ++i)
        if (pixels[i * 4] > 8 && pixels[i * 4] < 247)
            return true;
    return false;
}

bool Application::createContext()
{
    logBeginSection("OpenGL");
    logBeginSection("Buffers");
    logPrint("Color       : %d", settings.colourBits);
    logPrint("Depth       : %d", settings.depthBits);
    logPrint("Stencil     : %d", settings.stencilBits);
    logPrint("Accumulation: %d", settings.accumBits);
    int gotDepth = 0, gotStencil = 0;
    std::string why;
    auto glText = [](GLenum name) {
        const GLubyte* s = glGetString(name);
        return s ? reinterpret_cast<const char*>(s) : "";
    };
    // Without a sample count given, a window opens without samples first: only the renderer
    // says whether anti-aliasing is affordable, and on a GPU the window is made again with it.
    std::string reason = "--msaa";
    int samples = settings.samples;
    if (samples < 0 && options_.headless)
        samples = antialias::defaultSamples(true, "", &reason);
    bool ok = openSurface(std::max(samples, 0), gotDepth, gotStencil, why);
    if (ok && samples < 0) {
        samples = antialias::defaultSamples(false, glText(GL_RENDERER), &reason);
        if (samples > 0)
            ok = openSurface(samples, gotDepth, gotStencil, why);
    }
    // A window whose samples do not blend is made again without them; the frame buffer takes
    // over (openFrameBuffer).
    if (ok && samples_ > 0 && !windowBlendsSamples()) {
        logPrint("Samples     : the window's %d samples draw no smooth edges on this driver", samples_);
        ok = openSurface(0, gotDepth, gotStencil, why);
    }
    wantedSamples_ = std::max(samples, 0);
    samplesReason_ = reason;
    if (ok)
        logPrint("Samples     : %d (%d wanted: %s)", samples_, samples, reason.c_str());
    if (ok && (gotDepth != settings.depthBits || gotStencil != settings.stencilBits))
        logPrint("Obtained    : depth %d, stencil %d", gotDepth, gotStencil);
    logEndSection("Buffers");
    if (!ok) {
        logPrint("CreateContext() FAILED: %s", why.c_str());
        logEndSection("OpenGL");
        platform::showMessageBox("ERROR", "Unable to create an OpenGL context: " + why,
                                 platform::MessageIcon::Warning);
        return false;
    }
    logExtensions();
    logBeginSection("Driver");
    logPrint("Vendor: %s", glText(GL_VENDOR));
    logPrint("Version: %s", glText(GL_VERSION));
    logPrint("Renderer: %s", glText(GL_RENDERER));
    logEndSection("Driver");
    if (!options_.headless)
        applySwapInterval();
    logEndSection("OpenGL");
    windowOpen_ = true;
    return true;
}

void Application::applySwapInterval()
{
    if (!settings.vsync) {
        window_.setSwapInterval(0);
        logPrint("Swap interval: 0 (no vsync asked)");
        return;
    }
    if (window_.setSwapInterval(-1)) {
        logPrint("Swap interval: adaptive (-1)");
        return;
    }
    if (window_.setSwapInterval(1)) {
        logPrint("Swap interval: 1 (the driver has no adaptive vsync)");
        return;
    }
    logPrint("Swap interval: %d (the driver sets none: %s)", window_.swapInterval(),
             platform::Window::lastError().c_str());
}

// The window or off-screen surface with its context; a window with `samples` per pixel or fewer.
bool Application::openSurface(int samples, int& gotDepth, int& gotStencil, std::string& why)
{
    bool ok = false;
    if (options_.headless) {
        offscreen_ = std::make_unique<platform::HeadlessContext>();
        // The off-screen surface has no samples of its own: openFrameBuffer adds them.
        ok = offscreen_->create(settings.width, settings.height, settings.depthBits, settings.stencilBits);
        if (ok) {
            gotDepth = offscreen_->depthBits();
            gotStencil = offscreen_->stencilBits();
            samples_ = 0;
        } else {
            why = offscreen_->error();
            offscreen_.reset();
        }
        return ok;
    }
    platform::DisplayMode mode{settings.width, settings.height, settings.colourBits, settings.refreshRate};
    ok = window_.create(settings.title, settings.width, settings.height, settings.colourBits, settings.depthBits,
                        settings.stencilBits, settings.accumBits, samples, settings.fullscreen ? &mode : nullptr);
    if (ok) {
        gotDepth = window_.depthBits();
        gotStencil = window_.stencilBits();
        samples_ = window_.samples();
        if (window_.fullscreen())
            window_.showCursor(false);
    } else {
        why = platform::Window::lastError();
    }
    return ok;
}

void Application::openFrameBuffer()
{
    if (wantedSamples_ <= samples_ || frameBuffer_.created())
        return;
    if (frameBuffer_.create(settings.width, settings.height, wantedSamples_)) {
        samples_ = frameBuffer_.samples();
        SampledFramebuffer::frame = &frameBuffer_;
        frameBuffer_.bind();
        frameResolved_ = false;
        logPrint("Samples     : %d in a frame buffer resolved before each swap (%d wanted: %s)", samples_,
                 wantedSamples_, samplesReason_.c_str());
    } else {
        logPrint("Samples     : %d (the driver has no multisampled frame buffers)", samples_);
    }
}

void Application::resolveFrame()
{
    if (!frameBuffer_.created() || frameResolved_)
        return;
    frameBuffer_.resolveInto(0, GL_BACK);
    frameResolved_ = true;
}

void Application::destroyContext()
{
    if (SampledFramebuffer::frame == &frameBuffer_)
        SampledFramebuffer::frame = nullptr;
    if (windowOpen_)
        frameBuffer_.destroy();
    offscreen_.reset();
    window_.destroy();
    windowOpen_ = false;
}

void Application::swapBuffers()
{
    resolveFrame();
    if (offscreen_)
        offscreen_->swapBuffers();
    else
        window_.swapBuffers();
    if (frameBuffer_.created()) {
        frameBuffer_.bind();
        frameResolved_ = false;
    }
}

void Application::reportGLErrors()
{
    static const struct {
        GLenum code;
        const char* text;
    } kErrors[] = {
        {GL_INVALID_ENUM, "GL_INVALID_ENUM - An unacceptable value is specified for an enumerated argument. The offending function is ignored, having no side effect other than to set the error flag."},
        {GL_INVALID_VALUE, "GL_INVALID_VALUE - A numeric argument is out of range. The offending function is ignored, having no side effect other than to set the error flag."},
        {GL_INVALID_OPERATION, "GL_INVALID_OPERATION - The specified operation is not allowed in the current state. The offending function is ignored, having no side effect other than to set the error flag."},
        {GL_STACK_OVERFLOW, "GL_STACK_OVERFLOW - This function would cause a stack overflow. The offending function is ignored, having no side effect other than to set the error flag."},
        {GL_STACK_UNDERFLOW, "GL_STACK_UNDERFLOW - This function would cause a stack underflow. The offending function is ignored, having no side effect other than to set the error flag."},
        {GL_OUT_OF_MEMORY, "GL_OUT_OF_MEMORY - There is not enough memory left to execute the function. The state of OpenGL is undefined, except for the state of the error flags, after this error is recorded."},
    };
    // A lost context reports errors forever; the cap keeps one frame from looping on it.
    for (int guard = 0; guard < 64; ++guard) {
        const GLenum code = glGetError();
        if (code == GL_NO_ERROR)
            return;
        const char* text = " - UNKNOWN OPENGL ERROR ENUM";
        for (const auto& e : kErrors)
            if (e.code == code)
                text = e.text;
        logPrint("%s", text);
    }
}

void Application::startClock()
{
    lastCounter_ = platform::performanceCounter();
    paceStart_ = lastCounter_;
    frequency_ = platform::performanceFrequency();
    showTime = 0.0;
    frameTime = 0.0;
    frameIndex_ = 0;
}

void Application::restartClock()
{
    lastCounter_ = paceStart_ = platform::performanceCounter();
    showTime = 0.0;
    frameIndex_ = 1;
    clockLock_.restart();
}

void Application::setPaused(bool paused)
{
    paused_ = paused;
    lastCounter_ = platform::performanceCounter();
}

void Application::tick()
{
    if (paused_) {
        frameTime = 0.0;
        lastCounter_ = platform::performanceCounter();
        return;
    }
    if (options_.fps > 0) {
        // Fixed step: every run renders the same frames.
        frameTime = 1.0 / options_.fps;
        showTime = double(frameIndex_) / options_.fps;
    } else {
        const std::uint64_t current = platform::performanceCounter();
        const std::int64_t delta = std::int64_t(current - lastCounter_);
        lastCounter_ = current;
        frameTime = double(delta) / double(frequency_);
        showTime += frameTime;
        // The counter runs the picture; the sound card's clock runs the music. The picture is
        // steered toward what is heard, so both stay together for the whole show.
        double heard = 0.0;
        if (heardShowTime(heard)) {
            const double correction = clockLock_.step(heard - (showTime + timeOffset()), frameTime);
            showTime += correction;
            frameTime += correction;
        }
    }
    ++frameIndex_;
}

void Application::takeShots()
{
    if (options_.shots.empty())
        return;
    const double now = showTime + timeOffset();
    std::vector<unsigned char> pixels;
    bool allTaken = true;
    for (size_t i = 0; i < options_.shots.size(); ++i) {
        if (shotTaken_[i])
            continue;
        if (now + 1e-9 < options_.shots[i].time) {
            allTaken = false;
            continue;
        }
        if (pixels.empty()) {
            std::vector<unsigned char> raw;
            frame::readPixels(settings.width, settings.height, raw);
            frame::toPictureRows(raw, settings.width, settings.height, pixels);
        }
        if (platform::writePng(options_.shots[i].file, settings.width, settings.height, 4, pixels.data()))
            logPrint("Shot %.3f s written to %s", now, options_.shots[i].file.c_str());
        else
            std::fprintf(stderr, "oculith: cannot write %s\n", options_.shots[i].file.c_str());
        shotTaken_[i] = true;
    }
    // An export runs to its own end, whatever shots it takes on the way.
    if (allTaken && options_.headless && !options_.exporter)
        requestClose();
}

void Application::closeWindow()
{
    shutdown();
    destroyContext();
}

void Application::logFrameStatistics(double startupSeconds) const
{
    if (frameCosts_.empty())
        return;
    std::vector<float> sorted = frameCosts_;
    std::sort(sorted.begin(), sorted.end());
    logPrint("Frames: %zu, start-up %.1f ms, frame cost median %.3f ms, 95th percentile %.3f ms, worst %.3f ms",
             sorted.size(), startupSeconds * 1000.0, sorted[sorted.size() / 2] * 1000.0,
             sorted[sorted.size() * 95 / 100] * 1000.0, sorted.back() * 1000.0);
}

void Application::writeFrameLog() const
{
    if (options_.frameLog.empty())
        return;
    FILE* file = std::fopen(options_.frameLog.c_str(), "w");
    if (!file) {
        std::fprintf(stderr, "oculith: cannot write %s\n", options_.frameLog.c_str());
        return;
    }
    std::fprintf(file, "time,frame_ms,update_ms,update_cpu_ms\n");
    for (const FrameRecord& r : frameRecords_)
        std::fprintf(file, "%.4f,%.3f,%.3f,%.3f\n", r.showTime, r.frameMs, r.updateMs, r.updateCpuMs);
    if (std::fclose(file) != 0)
        std::fprintf(stderr, "oculith: cannot write %s\n", options_.frameLog.c_str());
}

int Application::run(const RunOptions& options)
{
    const std::uint64_t launched = platform::performanceCounter();
    double startupSeconds = 0.0;
    options_ = options;
    if (options_.headless && options_.fps <= 0)
        options_.fps = 60;
    shotTaken_.assign(options_.shots.size(), false);
    platform::setMessageBoxHeadless(options_.headless);
    platform::setMessageBoxListener([](const std::string& title, const std::string& text) {
        // One log line per box: line breaks in the text become blanks.
        std::string line = text;
        std::replace(line.begin(), line.end(), '\n', ' ');
        logPrint("%s: %s", title.c_str(), line.c_str());
    });
    if (Log::instance)
        Log::instance->open(options_.logFile);

    if (!createWindow()) {
        if (Log::instance)
            Log::instance->close();
        return userQuit_ ? 0 : 1;
    }
    if (!options_.headless) {
        window_.show();
        keepFullscreenOrFallBack();
    }
    if (!init()) {
        destroyContext();
        if (Log::instance)
            Log::instance->close();
        return 1;
    }
    resize(settings.width, settings.height);
    startClock();

    for (;;) {
        if (closeRequested_) {
            closeWindow();
            break;
        }
        platform::WindowEvent event;
        if (!options_.headless && window_.pollEvent(event)) {
            if (event.type == platform::WindowEvent::Close || event.type == platform::WindowEvent::Escape) {
                requestClose();
            } else if (event.type == platform::WindowEvent::KeyPressed) {
                keyPressed(event.key);
            } else if (event.type == platform::WindowEvent::Resized) {
                settings.width = event.width;
                settings.height = event.height;
                if (frameBuffer_.created()) {
                    frameBuffer_.create(event.width, event.height, wantedSamples_);
                    bindFrameFramebuffer();
                }
                resize(event.width, event.height);
            }
            continue;
        }
        const std::uint64_t frameStart = platform::performanceCounter();
        tick();
        const double updateCpuStart = platform::threadCpuSeconds();
        update(float(frameTime));
        const double updateCpuEnd = platform::threadCpuSeconds();
        const std::uint64_t updateEnd = platform::performanceCounter();
        render();
        resolveFrame();
        takeShots();
        if (options_.exporter && !options_.exporter->frameDrawn(settings.width, settings.height))
            requestClose();
        swapBuffers();
        reportGLErrors();
        const std::uint64_t frameEnd = platform::performanceCounter();
        if (frameCosts_.empty())
            startupSeconds = double(frameEnd - launched) / double(frequency_);
        frameCosts_.push_back(float(double(frameEnd - frameStart) / double(frequency_)));
        if (!options_.frameLog.empty())
            frameRecords_.push_back({showTime + timeOffset(), frameCosts_.back() * 1000.0f,
                                     float(double(updateEnd - frameStart) * 1000.0 / double(frequency_)),
                                     float((updateCpuEnd - updateCpuStart) * 1000.0)});
        if (options_.realTime && options_.fps > 0 && !paused_) {
            const double ahead = showTime - double(frameEnd - paceStart_) / double(frequency_);
            if (ahead > 0.0)
                std::this_thread::sleep_for(std::chrono::duration<double>(ahead));
        }
    }
    logFrameStatistics(startupSeconds);
    if (clockLock_.measured())
        logPrint("Music lock: offset at start %+.1f ms, largest correction %.2f ms in a frame, largest offset "
                 "once settled %.1f ms, %ld of %ld settled frames more than 16.7 ms apart",
                 clockLock_.startOffset() * 1000.0, clockLock_.largestCorrection() * 1000.0,
                 clockLock_.largestLockedOffset() * 1000.0, clockLock_.framesApart(), clockLock_.settledFrames());
    writeFrameLog();
    for (size_t i = 0; i < options_.shots.size(); ++i) {
        if (shotTaken_[i])
            continue;
        // The show ended first (--until, Escape, the end time): say so rather than stay silent.
        std::fprintf(stderr, "oculith: no shot at %.3f s (%s): the show ended at %.3f s\n",
                     options_.shots[i].time, options_.shots[i].file.c_str(), showTime + timeOffset());
        logPrint("No shot at %.3f s: the show ended first", options_.shots[i].time);
    }
    const int status = options_.exporter ? options_.exporter->finish() : 0;
    if (Log::instance)
        Log::instance->close();
    return status;
}
