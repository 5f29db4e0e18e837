#include "app/CommandLine.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

bool parseNumber(const char* text, double& out)
{
    if (!text || !*text)
        return false;
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(text, &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

bool parseSize(const char* text, int& w, int& h)
{
    int a = 0, b = 0;
    char x = 0, rest = 0;
    if (!text || std::sscanf(text, "%d%c%d%c", &a, &x, &b, &rest) != 3 || (x != 'x' && x != 'X'))
        return false;
    if (a < 64 || b < 64 || a > 16384 || b > 16384)
        return false;
    w = a;
    h = b;
    return true;
}

bool endsWith(const std::string& text, const char* suffix)
{
    const size_t n = std::strlen(suffix);
    if (text.size() < n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(text[text.size() - n + i])) != suffix[i])
            return false;
    return true;
}

} // namespace

ExportKind exportKindOf(const std::string& target)
{
    int conversions = 0;
    for (size_t i = 0; i < target.size(); ++i) {
        if (target[i] != '%')
            continue;
        if (i + 1 < target.size() && target[i + 1] == '%') {
            ++i;
            continue;
        }
        size_t j = i + 1;
        if (j < target.size() && target[j] == '0')
            ++j;
        const size_t digits = j;
        while (j < target.size() && std::isdigit(static_cast<unsigned char>(target[j])))
            ++j;
        if (j >= target.size() || target[j] != 'd' || j - digits > 2)
            return ExportKind::None;
        ++conversions;
        i = j;
    }
    if (conversions == 1 && endsWith(target, ".png"))
        return ExportKind::Frames;
    if (conversions == 0 && (endsWith(target, ".mp4") || endsWith(target, ".mkv")))
        return ExportKind::Video;
    return ExportKind::None;
}

const char* usageText()
{
    return "usage: oculith [--data DIR] [--windowed WxH | --fullscreen WxH] [--start SECONDS]\n"
           "               [--until SECONDS] [--mute] [--headless] [--fps N]\n"
           "               [--shot SECONDS:FILE.png]... [--export FILE.mp4 | --export PATTERN%05d.png]\n"
           "               [--check] [--watch] [--frame-log FILE.csv] [--msaa N] [--no-vsync]\n"
           "               [--help] [--version]\n"
           "\n"
           "Plays the show. Without options it asks for a display mode first.\n"
           "\n"
           "  --data DIR              folder holding the show's data/ folder; application.log is\n"
           "                          written there (default: the current folder when it holds\n"
           "                          data/scr/generic.effect, else the data built beside the program)\n"
           "  --windowed WxH          skip the mode picker: a window with a WxH drawing area\n"
           "  --fullscreen WxH        skip the mode picker: full screen in the WxH display mode\n"
           "  --start SECONDS         start the show (and the music) at this show time\n"
           "  --until SECONDS         end the show at this show time (default: ShowEnd, else 358.109)\n"
           "  --mute                  no audio device, no music\n"
           "  --headless              no window, picker or audio: render off screen (EGL) at the\n"
           "                          window size, message boxes on standard error, fixed-step clock\n"
           "  --fps N                 fixed-step clock: frame k shows time start + k/N\n"
           "                          (headless runs default to 60)\n"
           "  --shot SECONDS:FILE.png save the first frame at or after SECONDS as a PNG; repeatable.\n"
           "                          Headless runs end after the last shot\n"
           "  --check                 load the whole show off screen and list every problem as\n"
           "                          FILE:LINE: message; exit 0 when clean, 1 otherwise\n"
           "  --watch                 reload the show at the current time when a file under data/\n"
           "                          changes (a broken change keeps the last good show)\n"
           "  --export FILE.mp4       render headless, frame by frame, from --start to --until at\n"
           "                          --fps (60) and the --windowed size (640x480) into an H.264/AAC\n"
           "                          video with the music (.mp4 or .mkv); with a %d pattern such\n"
           "                          as frames/f%05d.png, one PNG per frame and no audio\n"
           "  --frame-log FILE.csv    write one line per frame: show time, frame cost, update\n"
           "                          (simulation) wall and CPU time, all in ms (bench/show.sh)\n"
           "  --msaa N                anti-aliasing with N samples per pixel (0, 2, 4 or 8; fewer\n"
           "                          where the driver has fewer). Default: 4 off screen (shots,\n"
           "                          exports), in a window 4 on a GPU and 0 on a software renderer\n"
           "  --no-vsync              swap frames without waiting for the display (benchmarks)\n"
           "  --help                  this text\n"
           "  --version               the program's version\n"
           "\n"
           "Keys while playing: 1 shows the frame-rate and time overlay, 2 hides it, Escape ends,\n"
           "Space pauses, Left/Right seek 5 s, Page Down/Page Up 30 s, Home restarts.\n"
           "Exit status: 0 the show ended, 1 start-up or an export failed, 2 bad command line.\n";
}

bool CommandLine::parse(int argc, const char* const* argv, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        auto value = [&](const char*& out) {
            if (i + 1 >= argc) {
                error = std::string(arg) + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        const char* v = nullptr;
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            help = true;
        } else if (std::strcmp(arg, "--version") == 0) {
            version = true;
        } else if (std::strcmp(arg, "--mute") == 0) {
            mute = true;
        } else if (std::strcmp(arg, "--headless") == 0) {
            headless = true;
        } else if (std::strcmp(arg, "--check") == 0) {
            check = true;
        } else if (std::strcmp(arg, "--watch") == 0) {
            watch = true;
        } else if (std::strcmp(arg, "--no-vsync") == 0) {
            vsync = false;
        } else if (std::strcmp(arg, "--msaa") == 0) {
            if (!value(v))
                return false;
            double n = 0;
            if (!parseNumber(v, n) || (n != 0 && n != 2 && n != 4 && n != 8)) {
                error = std::string("--msaa takes 0, 2, 4 or 8 samples, not \"") + v + "\"";
                return false;
            }
            msaa = int(n);
        } else if (std::strcmp(arg, "--data") == 0) {
            if (!value(v))
                return false;
            if (!*v) {
                error = "--data needs a folder";
                return false;
            }
            dataDir = v;
        } else if (std::strcmp(arg, "--windowed") == 0 || std::strcmp(arg, "--fullscreen") == 0) {
            if (!value(v))
                return false;
            if (!parseSize(v, width, height)) {
                error = std::string(arg) + " takes WIDTHxHEIGHT (64 to 16384), not \"" + v + "\"";
                return false;
            }
            (arg[2] == 'w' ? windowed : fullscreen) = true;
        } else if (std::strcmp(arg, "--start") == 0 || std::strcmp(arg, "--until") == 0) {
            if (!value(v))
                return false;
            double t = 0;
            if (!parseNumber(v, t) || t < 0) {
                error = std::string(arg) + " takes a non-negative number of seconds, not \"" + v + "\"";
                return false;
            }
            (arg[2] == 's' ? start : until) = t;
        } else if (std::strcmp(arg, "--fps") == 0) {
            if (!value(v))
                return false;
            double n = 0;
            if (!parseNumber(v, n) || n < 1 || n > 1000 || n != std::floor(n)) {
                error = std::string("--fps takes a whole number from 1 to 1000, not \"") + v + "\"";
                return false;
            }
            fps = int(n);
        } else if (std::strcmp(arg, "--shot") == 0) {
            if (!value(v))
                return false;
            const char* colon = std::strchr(v, ':');
            ShotRequest shot;
            if (!colon || !parseNumber(std::string(v, colon).c_str(), shot.time) || shot.time < 0 ||
                !colon[1]) {
                error = std::string("--shot takes SECONDS:FILE.png, not \"") + v + "\"";
                return false;
            }
            shot.file = colon + 1;
            shots.push_back(shot);
        } else if (std::strcmp(arg, "--frame-log") == 0) {
            if (!value(v))
                return false;
            if (!*v) {
                error = "--frame-log needs a file";
                return false;
            }
            frameLog = v;
        } else if (std::strcmp(arg, "--export") == 0) {
            if (!value(v))
                return false;
            exportTarget = v;
            exportKind = exportKindOf(exportTarget);
            if (exportKind == ExportKind::None) {
                error = std::string("--export takes FILE.mp4, FILE.mkv or a PNG pattern with one %d, not \"") +
                        v + "\"";
                return false;
            }
        } else {
            error = std::string("unknown option \"") + arg + "\"";
            return false;
        }
    }
    if (windowed && fullscreen) {
        error = "--windowed and --fullscreen exclude each other";
        return false;
    }
    if (check && (watch || !shots.empty() || exportKind != ExportKind::None || !frameLog.empty())) {
        error = "--check plays nothing: it takes neither --watch, --shot, --export nor --frame-log";
        return false;
    }
    if (watch && exportKind != ExportKind::None) {
        error = "--export renders a fixed show: it does not take --watch";
        return false;
    }
    if (exportKind != ExportKind::None) {
        if (fullscreen) {
            error = "--export renders off screen: give its size with --windowed, not --fullscreen";
            return false;
        }
        // H.264 in 4:2:0 halves both dimensions for the colour planes.
        if (exportKind == ExportKind::Video && (width % 2 || height % 2)) {
            error = "--export to a video needs an even width and height";
            return false;
        }
        headless = true;
    }
    if (until >= 0 && until < start) {
        error = "--until is before --start";
        return false;
    }
    return true;
}
