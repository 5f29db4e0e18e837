#include "app/ShowApplication.h"

#include "core/ExtensionRegistry.h"
#include "core/GL.h"
#include "core/Log.h"
#include "core/ShowValues.h"
#include "platform/MessageBox.h"
#include "script/ImageScriptException.h"

#include <cstdio>

namespace {
const char* const kMusicFile = "data\\snd\\oculith - edit 2 (64k).mp3";
}

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
}

ShowApplication::~ShowApplication()
{
    if (PBuffer::instance == pbuffer_.get())
        PBuffer::instance = nullptr;
}

double ShowApplication::timeOffset() const { return show::startOffset; }

float ShowApplication::currentShowTime() const { return float(showTime + show::startOffset); }

void ShowApplication::setDefaultGLState()
{
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_FOG_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glDisable(GL_POLYGON_SMOOTH);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_POINT_SMOOTH);
    glPointSize(1.0f);
    glLineWidth(1.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearStencil(0);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_NORMALIZE);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    for (int i = 0; i < 8; ++i)
        glDisable(GL_LIGHT0 + i);
    glDisable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
}

bool ShowApplication::init()
{
    // Render targets are framebuffer objects here; without them the show cannot run.
    std::string missing;
    if (!initExtensions(kRequiredExtensions, &missing)) {
        platform::showMessageBox("ERROR", "Needs GL extensions: " + missing);
        return false;
    }
    setDefaultGLState();

    pbuffer_.reset(createPBuffer());
    if (!pbuffer_ || !pbuffer_->create(512, 512)) {
        platform::showMessageBox("OPENGL ERROR", "UNABLE TO INITIATE PBUFFER");
        return false;
    }
    PBuffer::instance = pbuffer_.get();

    drawLoadingScreen();
    if (!loadScripts())
        return false;
    if (playMusic_ && !startMusic())
        return false;
    show::clearColourBuffer = true;
    return true;
}

void ShowApplication::drawLoadingScreen()
{
}

bool ShowApplication::loadScripts()
{
    try {
    } catch (const ImageScriptException& e) {
        logPrint("SCRIPTING ERROR in %s", e.location().c_str());
        std::fprintf(stderr, "oculith: script error in %s\n", e.location().c_str());
        platform::showMessageBox("SCRIPTING ERROR", e.what());
        return false;
    } catch (...) {
        platform::showMessageBox("EXCEPTION CATCHED", "UNKNOWN EXCEPTION");
        return false;
    }
    return true;
}

bool ShowApplication::startMusic()
{
    if (!music_.init(44100)) {
        platform::showMessageBox("ERROR", "Unable to initiate Sound System");
        return false;
    }
    if (!music_.load(kMusicFile)) {
        platform::showMessageBox("ERROR", "Unable to load sample");
        return false;
    }
    music_.play(show::startOffset);
    return true;
}

void ShowApplication::update(float)
{
    const float now = currentShowTime();
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
    if (overlayVisible)
        drawOverlay();
}

void ShowApplication::drawOverlay()
{
}

void ShowApplication::resize(int width, int height)
{
    show::screenWidth = width;
    show::screenHeight = height;
    glViewport(0, 0, width, height);
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
    return true;
}
