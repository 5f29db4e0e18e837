#include "app/ShowLoading.h"

#include "app/ShowScenes.h"
#include "core/ShowValues.h"
#include "core/GL.h"
#include "core/Log.h"
#include "effects/EffectLoader.h"
#include "effects/EffectTimeline.h"
#include "font/ConsoleFont.h"
#include "font/DisplayListFont.h"
#include "font/FontRegistry.h"
#include "geometry/MeshManager.h"
#include "material/MaterialLibrary.h"
#include "platform/MessageBox.h"
#include "scenegraph/CameraManager.h"
#include "platform/Paths.h"
#include "script/ImageScriptException.h"
#include "script/ProblemSink.h"
#include "texture/ImageReader.h"
#include "texture/TextureManager.h"

#include <cstdio>

namespace showloading {
namespace {

std::vector<std::string> g_notes;

void loadMaterials()
{
    if (MaterialLibrary::instance)
        MaterialLibrary::instance->load("data\\scr\\generic.shader");
}

// The console font, and its glyphs registered as the display-list font "confont" that the
// timeline's Text effects name: fonts are looked up while the timeline script is read.
void loadConsoleFont()
{
    ConsoleFont* font = ConsoleFont::instance;
    if (font && !font->load())
        problems::report("", 0, "no script defines the console font's texture \"confont\"");
    if (font && font->isLoaded() && FontRegistry::instance && !FontRegistry::instance->find("confont"))
        if (std::unique_ptr<DisplayListFont> lists = font->makeListFont("confont"))
            FontRegistry::instance->add(std::move(lists));
}

void loadTimeline()
{
    if (EffectTimeline* timeline = EffectTimeline::instance) {
        EffectLoader loader(timeline);
        if (!loader.load(kTimelineFile) && !platform::fileExists(kTimelineFile))
            problems::report(kTimelineFile, 0, "the timeline script is missing");
    }
}

// The hand-written scenes join the timeline behind the script's effects, gated by the start time;
// a scene none of whose files this show folder holds is not part of the show (a show of one's
// own plays without the built-in scenes' boxes).
void addScenes()
{
    EffectTimeline* timeline = EffectTimeline::instance;
    if (!timeline)
        return;
    for (const std::string& scene : addShowScenes(*timeline, show::startOffset, platform::fileExists)) {
        g_notes.push_back("scene " + scene + ": no files in this show, not played");
        logPrint("%s", g_notes.back().c_str());
    }
}

// Each effect prepares with its own block as the place its problems are reported at; an effect
// made in code (a hand-written scene) is named instead, as its boxes name only their files.
void prepareTimeline()
{
    if (EffectTimeline* timeline = EffectTimeline::instance)
        timeline->prepareAll([](const Effect& effect) {
            if (effect.origin.empty())
                problems::setHere(showSceneName(effect), 0);
            else
                problems::setHere(effect.origin, effect.originLine);
        });
}

// Start-up's loading steps in their order: materials before the effects that look them up by
// name; the scenes' registration joins before prepareAll.
constexpr void (*kSteps[])() = {loadMaterials, loadConsoleFont, loadTimeline, addScenes,
                                        prepareTimeline};

// One step under start-up's guard: false when it threw. Script errors are reported with their
// place: to the sink when one is installed, else in a box (and the log and standard error).
bool guarded(void (*step)())
{
    try {
        step();
        return true;
    } catch (const ImageScriptException& e) {
        logPrint("SCRIPTING ERROR in %s", e.location().c_str());
        problems::report(e, "start-up stops here with a SCRIPTING ERROR box");
        if (problems::divertsBoxes())
            return false;
        std::fprintf(stderr, "oculith: script error in %s\n", e.location().c_str());
        platform::showMessageBox("SCRIPTING ERROR", e.what());
    } catch (...) {
        platform::showMessageBox("EXCEPTION CATCHED", "UNKNOWN EXCEPTION");
    }
    return false;
}

} // namespace

Texture* loadLoadingPicture()
{
    TextureManager* textures = TextureManager::instance;
    Texture* picture = textures ? textures->load("loading.jpg", 8, GL_TEXTURE_2D) : nullptr;
    if (!picture && platform::fileExists(kLoadingPicture))
        problems::report(kLoadingPicture, 0,
                         "cannot read the loading picture: " + imageReadProblem(kLoadingPicture) +
                             "; start-up shows a black screen instead");
    return picture;
}

void releaseLoadingPicture(Texture* picture)
{
    TextureManager* textures = TextureManager::instance;
    if (!picture || !textures)
        return;
    textures->release(picture);
    textures->releaseByName("loading.jpg");
}

void setUpManagers()
{
    if (MeshManager* meshes = MeshManager::instance) {
        meshes->registerDefaultHandlers();
        meshes->addSearchPath("data\\obj\\");
    }
    if (TextureManager* textures = TextureManager::instance) {
        textures->createDefaults();
        textures->addSearchPath("data\\art\\");
        textures->addSearchPath("data\\fnt\\");
    }
}

double showEnd(double until)
{
    if (until >= 0.0)
        return until;
    return EffectLoader::readShowEnd(kTimelineFile).value_or(kDefaultEndTime);
}

const std::vector<std::string>& notes() { return g_notes; }

bool loadScripts()
{
    g_notes.clear();
    bool ok = true;
    for (auto step : kSteps) {
        if (!guarded(step)) {
            ok = false;
            if (!problems::readsOn())
                return false;
        }
    }
    return ok;
}

void tearDown()
{
    if (FontRegistry::instance)
        FontRegistry::instance->clear();
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
}

} // namespace showloading
