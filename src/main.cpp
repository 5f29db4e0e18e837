// Process entry: parse the command line, settle the show's folder, build the program-wide
// singletons in their fixed order and run the show.
#include "app/CommandLine.h"
#include "app/ShowChecker.h"
#include "app/Exporter.h"
#include "app/ShowApplication.h"
#include "app/ShowLoading.h"
#include "core/Log.h"
#include "platform/Paths.h"
#include "effects/EffectTimeline.h"
#include "font/ConsoleFont.h"
#include "font/FontRegistry.h"
#include "geometry/MeshManager.h"
#include "material/MaterialLibrary.h"
#include "scenegraph/CameraManager.h"
#include "texture/TextureManager.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool holdsShow(const fs::path& dir)
{
    std::error_code ec;
    return fs::is_regular_file(dir / "data" / "scr" / "generic.effect", ec);
}

// The folder the show runs in: --data, else the current folder when it holds a show, else the
// data the build produced beside the executable, else the show installed with it.
bool chooseShowFolder(const CommandLine& cl, std::string& folder, std::string& error)
{
    std::error_code ec;
    if (!cl.dataDir.empty()) {
        if (!fs::is_directory(fs::path(cl.dataDir) / "data", ec)) {
            error = "\"" + cl.dataDir + "\" holds no data/ folder";
            return false;
        }
        folder = cl.dataDir;
        return true;
    }
    const fs::path current = fs::current_path(ec);
    if (!ec && holdsShow(current)) {
        folder = current.string();
        return true;
    }
    const std::string exeDir = platform::executableDir();
    if (!exeDir.empty() && holdsShow(exeDir)) {
        folder = exeDir;
        return true;
    }
    if (!exeDir.empty() && holdsShow(fs::path(exeDir) / OCULITH_INSTALLED_SHOW)) {
        folder = fs::weakly_canonical(fs::path(exeDir) / OCULITH_INSTALLED_SHOW, ec).string();
        return true;
    }
    error = "no show data found: neither the current folder, " +
            (exeDir.empty() ? std::string("the program's folder") : exeDir) + " nor the installed show" +
            " holds data/scr/generic.effect (use --data DIR)";
    return false;
}

// Where application.log goes: the show's folder, or where the show cannot be written (an
// installed show) the user's state folder, $XDG_STATE_HOME/oculith or ~/.local/state/oculith.
// Called from within the show's folder.
std::string logFile()
{
    if (access(".", W_OK) == 0)
        return "application.log";
    fs::path state;
    if (const char* xdg = std::getenv("XDG_STATE_HOME"); xdg && *xdg == '/')
        state = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        state = fs::path(home) / ".local" / "state";
    else
        return "application.log";
    std::error_code ec;
    fs::create_directories(state / "oculith", ec);
    return (state / "oculith" / "application.log").string();
}

// --check: the show's problems on standard output, exit 1 when there are any.
int runCheck(const CommandLine& commandLine, const std::string& logFile)
{
    if (Log::instance)
        Log::instance->open(logFile);
    ShowChecker checker(float(showloading::showEnd(commandLine.until)));
    std::string contextError;
    const std::vector<Problem> found = checker.run(contextError);
    if (Log::instance)
        Log::instance->close();
    if (!contextError.empty()) {
        std::fprintf(stderr, "oculith: --check needs an off-screen GL context: %s\n", contextError.c_str());
        return 1;
    }
    for (const std::string& note : checker.notes())
        std::printf("note: %s\n", note.c_str());
    return ShowChecker::print(found, stdout);
}

} // namespace

int main(int argc, char** argv)
{
    CommandLine commandLine;
    std::string error;
    if (!commandLine.parse(argc, argv, error)) {
        std::fprintf(stderr, "oculith: %s\n%s", error.c_str(), usageText());
        return 2;
    }
    if (commandLine.help) {
        std::fputs(usageText(), stdout);
        return 0;
    }
    if (commandLine.version) {
        std::printf("oculith %s\n", OCULITH_VERSION);
        return 0;
    }
    std::string folder;
    if (!chooseShowFolder(commandLine, folder, error)) {
        std::fprintf(stderr, "oculith: %s\n", error.c_str());
        return 1;
    }
    // Shot files named relative to where the user started the program stay there.
    for (ShotRequest& shot : commandLine.shots)
        shot.file = fs::absolute(shot.file).string();
    if (!commandLine.exportTarget.empty())
        commandLine.exportTarget = fs::absolute(commandLine.exportTarget).string();
    if (!commandLine.frameLog.empty())
        commandLine.frameLog = fs::absolute(commandLine.frameLog).string();
    std::error_code ec;
    fs::current_path(folder, ec);
    if (ec) {
        std::fprintf(stderr, "oculith: cannot enter \"%s\": %s\n", folder.c_str(), ec.message().c_str());
        return 1;
    }

    // The program-wide singletons, constructed in this order and destroyed in reverse.
    ConsoleFont consoleFont;
    EffectTimeline timeline;
    MeshManager meshes;
    FontRegistry fontRegistry;
    MaterialLibrary materials;
    TextureManager textures;
    Log log;
    CameraManager cameras;

    const std::string logPath = logFile();
    if (commandLine.check)
        return runCheck(commandLine, logPath);

    RunOptions options;
    options.logFile = logPath;
    options.headless = commandLine.headless;
    options.fps = commandLine.fps;
    options.shots = commandLine.shots;
    options.frameLog = commandLine.frameLog;
    // A watched headless run plays at the show's own speed, so edits land while it plays.
    options.realTime = commandLine.watch && commandLine.headless;
    ShowApplication app(commandLine);
    std::unique_ptr<Exporter> exporter;
    if (commandLine.exportKind != ExportKind::None) {
        exporter = std::make_unique<Exporter>(commandLine, showloading::showEnd(commandLine.until));
        if (!exporter->open())
            return 1;
        options.exporter = exporter.get();
    }
    return app.run(options);
}
