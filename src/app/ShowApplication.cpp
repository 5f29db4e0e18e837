#include "app/ShowApplication.h"

#include "app/ShowLoading.h"
#include "core/ExtensionRegistry.h"
#include "core/GL.h"
#include "core/Log.h"
#include "core/RestingGLState.h"
#include "core/ScreenSpace.h"
#include "core/ShowValues.h"
#include "platform/MessageBox.h"
#include "script/ProblemSink.h"
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
// How long a run shows its problems over the picture (seconds of the run).
constexpr double kNoticeSeconds = 10.0;
// The notice: rows of console-font text across the 640 units (15 units per character).
constexpr std::size_t kNoticeRows = 6;
constexpr std::size_t kNoticeColumns = 42;
constexpr float kNoticeRowHeight = 22.0f;

// A problem in the notice's few words: the file's own name, the line and the message; the
// line's text and the cost are on standard error.
std::string noticeText(const Problem& problem)
{
    std::string place = problem.file.substr(problem.file.find_last_of("\\/") + 1);
    if (!place.empty() && problem.line > 0)
        place += ":" + std::to_string(problem.line);
    return place.empty() ? problem.message : place + " " + problem.message;
}

// The notice's rows: a head line, then each problem wrapped at blanks (continuation rows
// indented), at most kNoticeRows in all.
std::vector<std::string> noticeRows(const std::vector<Problem>& found)
{
    std::vector<std::string> rows;
    if (found.empty())
        return rows;
    rows.push_back(std::to_string(found.size()) + (found.size() == 1 ? " problem" : " problems") +
                   " (all on standard error):");
    for (const Problem& problem : found) {
        std::string text = problems::printable(noticeText(problem));
        std::string indent;
        while (!text.empty() && rows.size() < kNoticeRows) {
            const std::size_t room = kNoticeColumns - indent.size();
            std::size_t cut = text.size() <= room ? text.size() : text.rfind(' ', room);
            if (cut == std::string::npos || cut == 0)
                cut = std::min(room, text.size());
            rows.push_back(indent + text.substr(0, cut));
            const std::size_t next = text.find_first_not_of(' ', cut);
            text.erase(0, next == std::string::npos ? text.size() : next);
            indent = "  ";
        }
    }
    return rows;
}

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
    settings.vsync = commandLine.vsync;
    settings.samples = commandLine.msaa;
    show::startOffset = float(commandLine.start);
    // --until, else the show folder's own end (its timeline's "ShowEnd" line), else 358.109.
    endTime = float(showloading::showEnd(commandLine.until));
    playMusic_ = !commandLine.mute && !commandLine.headless;
    watch_ = commandLine.watch;
}

ShowApplication::~ShowApplication()
{
    if (PBuffer::instance == pbuffer_.get())
        PBuffer::instance = nullptr;
}

double ShowApplication::timeOffset() const { return show::startOffset; }

bool ShowApplication::heardShowTime(double& time) const
{
    if (!music_.loaded())
        return false;
    time = music_.playedPosition();
    return true;
}

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
    openFrameBuffer();

    showloading::setUpManagers();

    pbuffer_.reset(createPBuffer());
    if (!pbuffer_ || !createRenderTarget(settings.width, settings.height)) {
        platform::showMessageBox("OPENGL ERROR", "UNABLE TO INITIATE PBUFFER");
        return false;
    }
    PBuffer::instance = pbuffer_.get();

    bool loaded = false;
    {
        // Start-up shows its boxes as ever; the collector takes every problem beside them.
        ProblemCollector collector(false, false);
        drawLoadingScreen();
        loaded = showloading::loadScripts();
        standing_ = collector.problems();
    }
    announce(standing_);
    if (!loaded)
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
// missing picture is skipped quietly (nothing later needs it); one that cannot be read is a
// problem.
void ShowApplication::drawLoadingScreen()
{
    Texture* picture = showloading::loadLoadingPicture();
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
    showloading::releaseLoadingPicture(picture);
    screen::pop();
    swapBuffers();
}

bool ShowApplication::startMusic()
{
    if (!music_.init(44100)) {
        // The box only says what failed; the way on goes to the terminal first, while the box
        // waits for its button.
        std::fprintf(stderr, "oculith: no sound device could be opened; to play the show without sound, "
                             "start it with --mute\n");
        logPrint("No sound device: --mute plays the show without sound");
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

void ShowApplication::announce(const std::vector<Problem>& found)
{
    for (const Problem& problem : found) {
        if (problem.boxed)
            continue;
        const std::string line = problems::format(problem);
        std::fprintf(stderr, "%s\n", line.c_str());
        logPrint("%s", line.c_str());
    }
    std::fflush(stderr);
    // New problems first: the notice has room for a few, and those are what the last edit did.
    std::vector<Problem> ordered = found;
    std::stable_partition(ordered.begin(), ordered.end(), [&](const Problem& problem) {
        return std::none_of(standing_.begin(), standing_.end(),
                            [&](const Problem& old) { return problems::same(problem, old); });
    });
    noticeRows_ = noticeRows(ordered);
    noticeUntil_ = showTime + kNoticeSeconds;
}

bool ShowApplication::noticeShown() const
{
    if (noticeRows_.empty())
        return false;
    return watch_ || (!headless() && showTime < noticeUntil_);
}

void ShowApplication::reload(float time, const char* why)
{
    const ShowReloader::Result result = reloader_.reload(time, pbuffer_.get(), standing_);
    announce(result.problems); // before standing_ changes, so the new problems lead the notice
    if (!result.loaded || result.losesMore) {
        const char* what = result.loaded ? "loses what the last good show plays" : "did not load";
        std::fprintf(stderr, "oculith: %s: the show at %.3f s %s; the last good show plays on\n", why, double(time),
                     what);
        logPrint("Reload at %.9g s (%s) %s; the last good show plays on", double(time), why, what);
        return;
    }
    standing_ = result.problems;
    // From here the run is a fresh start at `time`, music included.
    restartClock();
    noticeUntil_ = kNoticeSeconds;
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
    if (EffectTimeline* timeline = EffectTimeline::instance) {
        // Catch-ups step as the show does: its fixed step, or 60 frames a second on the real clock.
        timeline->frameStep = fixedFps() > 0 ? 1.0f / float(fixedFps()) : 1.0f / 60.0f;
        timeline->update(now);
    }
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
    if (noticeShown())
        drawNotice();
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

// The notice along the bottom, over everything: a dark band so the text reads over any
// picture, and the rows in red.
void ShowApplication::drawNotice()
{
    ConsoleFont* font = ConsoleFont::instance;
    if (!font || !font->isLoaded())
        return;
    const float height = kNoticeRowHeight * float(noticeRows_.size()) + 4.0f;
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    screen::push();
    glColor4f(0.0f, 0.0f, 0.0f, 0.75f);
    glBegin(GL_QUADS);
    glVertex2f(0.0f, 0.0f);
    glVertex2f(640.0f, 0.0f);
    glVertex2f(640.0f, height);
    glVertex2f(0.0f, height);
    glEnd();
    glColor3f(1.0f, 0.3f, 0.3f);
    font->begin2D();
    for (std::size_t i = 0; i < noticeRows_.size(); ++i)
        font->print(0, kNoticeRowHeight * float(noticeRows_.size() - 1 - i), noticeRows_[i].c_str());
    font->end2D();
    screen::pop();
    glPopAttrib();
}

// The render target follows the output's height (512 at 480 lines), with the frame's samples.
// An unchanged size keeps the buffer and its picture.
bool ShowApplication::createRenderTarget(int width, int height)
{
    const int size = renderTargetSize(screen::letterbox(width, height).height, renderTargetLimit());
    if (pbuffer_->created() && pbuffer_->width() == size)
        return true;
    if (!pbuffer_->create(size, size, samples()))
        return false;
    logPrint("Render target: %d x %d, %d samples", size, size, pbuffer_->samples());
    return true;
}

void ShowApplication::resize(int width, int height)
{
    if (pbuffer_ && pbuffer_->created() && !createRenderTarget(width, height))
        logPrint("Render target not resized: the driver refused %d lines", height);
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
