// The program's command line: what to play, how and for how long.
#pragma once
#include <string>
#include <vector>

struct ShotRequest {
    double time = 0.0;
    std::string file;
};

// What --export writes: a video file (.mp4, .mkv) or one PNG per frame (a %d pattern).
enum class ExportKind { None, Video, Frames };
// The kind of an --export target, None when it is neither (a pattern ends in .png and holds
// exactly one %d, optionally with a zero-padded width such as %05d, and no other % but %%).
ExportKind exportKindOf(const std::string& target);

struct CommandLine {
    std::string dataDir;           // "" = the default data folder
    bool windowed = false;         // --windowed WxH
    bool fullscreen = false;       // --fullscreen WxH
    int width = 640;
    int height = 480;
    double start = 0.0;            // --start
    double until = -1.0;           // --until (negative: the show's own end)
    bool mute = false;
    bool headless = false;
    int fps = 0;                   // 0: real clock (headless runs default to 60)
    std::vector<ShotRequest> shots;
    bool check = false;            // --check: list the show's problems instead of playing it
    bool watch = false;            // --watch: reload the show when a file under data/ changes
    std::string exportTarget;      // --export FILE.mp4 | PATTERN%05d.png (implies --headless)
    ExportKind exportKind = ExportKind::None;
    std::string frameLog;          // --frame-log FILE.csv: one line of timings per frame
    bool vsync = true;             // --no-vsync: swap without waiting for the display
    int msaa = -1;                 // --msaa N: samples per pixel; -1 picks by the renderer
    bool help = false;
    bool version = false;

    // Parses argv; false with a one-line reason in `error` for a bad command line.
    bool parse(int argc, const char* const* argv, std::string& error);
    // Whether the display-mode picker runs (no mode given, not headless).
    bool asksDisplayMode() const { return !windowed && !fullscreen && !headless; }
};

// The usage text printed by --help and after a bad command line.
const char* usageText();
