#include "app/ShowApplication.h"

#include "app/ShowLoading.h"
#include "core/ExtensionRegistry.h"
#include "core/GL.h"
#include "core/Log.h"
#include "core/RestingGLState.h"
#include "core/ScreenSpace.h"
#include "core/ShowValues.h"
#include "platform/MessageBox.h"
#include "effects/EffectTimeline.h"
#include "font/ConsoleFont.h"
#include "geometry/MeshManager.h"
#include "material/MaterialLibrary.h"
#include "scenegraph/CameraManager.h"
#include "texture/TextureManager.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {
// An editor's save settles within this many seconds of its first write.
constexpr double kQuietSeconds = 0.1;
// How far the arrow keys and Page Up/Down seek.
constexpr float kShortSeek = 5.0f;
constexpr float kLongSeek = 30.0f;

// What the loaded show holds, one log line after start-up and after every reload, so a reload
// that leaks (or loses) textures, materials or meshes shows in the log.
void logShowLoaded()
{
    logPrint("Show loaded: %zu textures, %zu materials, %zu meshes",
             TextureManager::instance ? TextureManager::instance->textures().size() : std::size_t(0),
             MaterialLibrary::instance ? MaterialLibrary::instance->materials().size() : std::size_t(0),
             MeshManager::instance ? MeshManager::instance->meshes().size() : std::size_t(0));
}
} // namespace

ShowApplication::ShowApplication(const CommandLine& commandLine)
{
    settings.title = "Oculith";
    settings.width = commandLine.width;
    settings.height = commandLine.height;
    settings.colourBits = 32;
    settings.depthBits = 32;
    settings.stencilBits = 8;
    settings.accumBits = 0;
    settings.fullscreen = commandLine.fullscreen;
    settings.askDisplayMode = commandLine.asksDisplayMode();
    settings.refreshRate = -1;
    show::startOffset = float(commandLine.start);
    if (commandLine.until >= 0)
        endTime = float(commandLine.until);
    playMusic_ = !commandLine.mute && !commandLine.headless;
    watch_ = commandLine.watch;
}

ShowApplication::~ShowApplication()
{
    if (PBuffer::instance == pbuffer_.get())
        PBuffer::instance = nullptr;
}

double ShowApplication::timeOffset() const { return show::startOffset; }

float ShowApplication::currentShowTime() const { return float(showTime + show::startOffset); }

bool ShowApplication::init()
{
    // Render targets are framebuffer objects here; without them the show cannot run.
    std::string missing;
    if (!initExtensions(kRequiredExtensions, &missing)) {
        platform::showMessageBox("ERROR", "Needs GL extensions: " + missing);
        return false;
    }
    applyRestingGLState();

    showloading::setUpManagers();

    pbuffer_.reset(createPBuffer());
    if (!pbuffer_ || !pbuffer_->create(512, 512)) {
        platform::showMessageBox("OPENGL ERROR", "UNABLE TO INITIATE PBUFFER");
        return false;
    }
    PBuffer::instance = pbuffer_.get();

    drawLoadingScreen();
    if (!showloading::loadScripts())
        return false;
    logShowLoaded();
    if (playMusic_ && !startMusic())
        return false;
    show::clearColourBuffer = true;
    if (watch_ && !watcher_.watch("data"))
        std::fprintf(stderr, "oculith: --watch: %s\n", watcher_.error().c_str());
    return true;
}

// The loading picture, drawn once before the scripts load: first image row at the top. A
// missing picture is skipped quietly; nothing later needs it.
void ShowApplication::drawLoadingScreen()
{
    TextureManager* textures = TextureManager::instance;
    Texture* picture = textures ? textures->load("loading.jpg", 8, GL_TEXTURE_2D) : nullptr;
    // The first resize comes after start-up; the picture already keeps its 4:3 shape.
    screen::setViewport(settings.width, settings.height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    if (!picture) {
        swapBuffers();
        return;
    }
    screen::push();
    glColor3f(1.0f, 1.0f, 1.0f);
    picture->bind(GL_TEXTURE0);
    glBegin(GL_QUADS);
    glTexCoord2f(1, 0); glVertex2f(640, 480);
    glTexCoord2f(0, 0); glVertex2f(0, 480);
    glTexCoord2f(0, 1); glVertex2f(0, 0);
    glTexCoord2f(1, 1); glVertex2f(640, 0);
    glEnd();
    picture->unbind(GL_TEXTURE0);
    textures->release(picture);
    textures->releaseByName("loading.jpg");
    screen::pop();
    swapBuffers();
}

bool ShowApplication::startMusic()
{
    if (!music_.init(44100)) {
        platform::showMessageBox("ERROR", "Unable to initiate Sound System");
        return false;
    }
    if (!music_.load(showloading::kMusicFile)) {
        platform::showMessageBox("ERROR", "Unable to load sample");
        return false;
    }
    music_.play(show::startOffset);
    return true;
}

void ShowApplication::reload(float time, const char* why)
{
    const ShowReloader::Result result = reloader_.reload(time, pbuffer_.get());
    std::vector<std::string> lines;
    for (const Problem& problem : result.problems) {
        lines.push_back(problems::format(problem));
        std::fprintf(stderr, "%s\n", lines.back().c_str());
        logPrint("%s", lines.back().c_str());
    }
    // Only a reload that failed writes its problems over the picture: a show that loaded (a
    // scene's missing file included) looks exactly as a fresh start at that time would.
    problemLines_.clear();
    if (!result.loaded) {
        problemLines_ = std::move(lines);
        std::fprintf(stderr, "oculith: %s: the show at %.3f s did not load; the last good show plays on\n",
                     why, double(time));
        logPrint("Reload at %.9g s (%s) failed; the last good show plays on", double(time), why);
        return;
    }
    // From here the run is a fresh start at `time`, music included.
    restartClock();
    if (music_.loaded()) {
        music_.play(time);
        if (paused())
            music_.pause();
    }
    std::fprintf(stderr, "oculith: %s: reloaded at %.3f s in %.1f ms\n", why, double(time), result.milliseconds);
    logPrint("Reloaded at %.9g s (%s) in %.1f ms", double(time), why, result.milliseconds);
    logShowLoaded();
}

void ShowApplication::keyPressed(platform::Key key)
{
    const float now = currentShowTime();
    auto seek = [&](float to) { reload(std::clamp(to, 0.0f, endTime), "seek"); };
    switch (key) {
    case platform::Key::Space:
        setPaused(!paused());
        if (paused())
            music_.pause();
        else
            music_.resume();
        break;
    case platform::Key::Left: seek(now - kShortSeek); break;
    case platform::Key::Right: seek(now + kShortSeek); break;
    case platform::Key::PageUp: seek(now + kLongSeek); break;
    case platform::Key::PageDown: seek(now - kLongSeek); break;
    case platform::Key::Home: seek(0.0f); break;
    default: break;
    }
}

void ShowApplication::update(float)
{
    std::string changed;
    if (watch_ && watcher_.poll(kQuietSeconds, &changed))
        reload(currentShowTime(), ("changed " + changed).c_str());
    const float now = currentShowTime();
    if (TextureManager::instance)
        TextureManager::instance->time = now;
    if (EffectTimeline::instance)
        EffectTimeline::instance->update(now);
    if (endTime < now)
        requestClose();
    if (isKeyDown(platform::Key::One))
        overlayVisible = true;
    else if (isKeyDown(platform::Key::Two))
        overlayVisible = false;
}

void ShowApplication::render()
{
    if (show::clearColourBuffer)
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    else
        glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glColor3f(1.0f, 1.0f, 1.0f);
    if (EffectTimeline::instance)
        EffectTimeline::instance->renderAll();
    if (overlayVisible)
        drawOverlay();
    if (!problemLines_.empty())
        drawProblems();
}

// Frame rate of the last frame (not an average) and the show time, in blue at the top left.
// Without a loaded font there is nothing to draw with.
void ShowApplication::drawOverlay()
{
    ConsoleFont* font = ConsoleFont::instance;
    if (!font || !font->isLoaded())
        return;
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    screen::push();
    glColor3f(0.0f, 0.0f, 1.0f);
    font->begin2D();
    font->printAt(0, 464, "FPS %4.2f Time %3.3f%s", frameTime > 0.0 ? 1.0 / frameTime : 0.0,
                  double(currentShowTime()), paused() ? " PAUSED" : "");
    font->end2D();
    screen::pop();
    glPopAttrib();
}

// The last reload's problems in red along the bottom, wrapped to the screen's width, a few rows
// of them, over everything.
void ShowApplication::drawProblems()
{
    ConsoleFont* font = ConsoleFont::instance;
    if (!font || !font->isLoaded())
        return;
    constexpr std::size_t kRows = 6;
    constexpr std::size_t kColumns = 42; // characters that fit across 640 units
    std::vector<std::string> rows;
    for (const std::string& line : problemLines_)
        for (std::size_t at = 0; at < line.size() && rows.size() < kRows; at += kColumns)
            rows.push_back(line.substr(at, kColumns));
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    screen::push();
    glColor3f(1.0f, 0.2f, 0.2f);
    font->begin2D();
    for (std::size_t i = 0; i < rows.size(); ++i)
        font->print(0, float(22 * (rows.size() - 1 - i)), rows[i].c_str());
    font->end2D();
    screen::pop();
    glPopAttrib();
}

void ShowApplication::resize(int width, int height)
{
    show::screenWidth = width;
    show::screenHeight = height;
    // Both set the letterboxed 4:3 viewport; the camera manager also tells the current camera.
    if (CameraManager::instance)
        CameraManager::instance->setViewport(width, height);
    else
        screen::setViewport(width, height);
}

bool ShowApplication::shutdown()
{
    music_.shutdown();
    if (pbuffer_) {
        pbuffer_->destroy();
        if (PBuffer::instance == pbuffer_.get())
            PBuffer::instance = nullptr;
        pbuffer_.reset();
    }
    showloading::tearDown();
    return true;
}
