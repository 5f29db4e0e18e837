#include "app/ShowApplication.h"

#include "core/ExtensionRegistry.h"
#include "core/GL.h"
#include "core/Log.h"
#include "core/RestingGLState.h"
#include "core/ScreenSpace.h"
#include "core/ShowValues.h"
#include "platform/MessageBox.h"
#include "script/ImageScriptException.h"
#include "effects/EffectLoader.h"
#include "effects/EffectTimeline.h"
#include "font/ConsoleFont.h"
#include "geometry/MeshManager.h"
#include "material/MaterialLibrary.h"
#include "scenegraph/CameraManager.h"
#include "texture/TextureManager.h"

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

bool ShowApplication::init()
{
    // Render targets are framebuffer objects here; without them the show cannot run.
    std::string missing;
    if (!initExtensions(kRequiredExtensions, &missing)) {
        platform::showMessageBox("ERROR", "Needs GL extensions: " + missing);
        return false;
    }
    applyRestingGLState();

    if (MeshManager* meshes = MeshManager::instance) {
        meshes->registerDefaultHandlers();
        meshes->addSearchPath("data\\obj\\");
    }
    if (TextureManager* textures = TextureManager::instance) {
        textures->createDefaults();
        textures->addSearchPath("data\\art\\");
        textures->addSearchPath("data\\fnt\\");
    }

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

// The loading picture, drawn once before the scripts load: first image row at the top. A
// missing picture is skipped quietly; nothing later needs it.
void ShowApplication::drawLoadingScreen()
{
    TextureManager* textures = TextureManager::instance;
    Texture* picture = textures ? textures->load("loading.jpg", 8, GL_TEXTURE_2D) : nullptr;
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

bool ShowApplication::loadScripts()
{
    try {
        // Materials first: effects look them up by name while they load.
        if (MaterialLibrary::instance)
            MaterialLibrary::instance->load("data\\scr\\generic.shader");
        if (ConsoleFont::instance)
            ConsoleFont::instance->load();
        if (EffectTimeline* timeline = EffectTimeline::instance) {
            EffectLoader loader(timeline);
            loader.load("data\\scr\\generic.effect");
            timeline->prepareAll();
        }
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
    font->printAt(0, 464, "FPS %4.2f Time %3.3f", frameTime > 0.0 ? 1.0 / frameTime : 0.0,
                  double(currentShowTime()));
    font->end2D();
    screen::pop();
    glPopAttrib();
}

void ShowApplication::resize(int width, int height)
{
    show::screenWidth = width;
    show::screenHeight = height;
    glViewport(0, 0, width, height);
    if (CameraManager::instance)
        CameraManager::instance->setViewport(width, height);
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
    if (ConsoleFont::instance)
        ConsoleFont::instance->release();
    if (EffectTimeline::instance)
        EffectTimeline::instance->clear();
    if (MeshManager::instance)
        MeshManager::instance->releaseAll();
    if (CameraManager::instance)
        CameraManager::instance->releaseAll();
    if (MaterialLibrary::instance)
        MaterialLibrary::instance->destroyAll();
    if (TextureManager::instance)
        TextureManager::instance->releaseAll();
    return true;
}
