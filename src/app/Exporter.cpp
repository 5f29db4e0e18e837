#include "app/Exporter.h"

#include "app/ShowApplication.h"
#include "core/FramePixels.h"
#include "core/Log.h"
#include "platform/Console.h"
#include "platform/PngWriter.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int) { interrupted = 1; }

double wallSeconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// "1:02:03" or "2:03".
std::string clockText(double seconds)
{
    const long s = std::lround(std::max(seconds, 0.0));
    char text[32];
    if (s >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    return text;
}

std::string sizeText(std::int64_t bytes)
{
    char text[32];
    if (bytes >= 1 << 20)
        std::snprintf(text, sizeof text, "%.1f MB", double(bytes) / (1 << 20));
    else
        std::snprintf(text, sizeof text, "%.1f kB", double(bytes) / 1024);
    return text;
}

} // namespace

Exporter::Exporter(const CommandLine& commandLine, double endTime)
    : target_(commandLine.exportTarget),
      kind_(commandLine.exportKind),
      width_(commandLine.width),
      height_(commandLine.height),
      fps_(commandLine.fps > 0 ? commandLine.fps : 60),
      start_(commandLine.start),
      withMusic_(!commandLine.mute && commandLine.exportKind == ExportKind::Video)
{
    // The end as the user wrote it: the show keeps its end as a float, which would add a frame
    // to ends such as 131.1.
    total_ = frameCount(start_, commandLine.until >= 0 ? commandLine.until : endTime, fps_);
}

Exporter::~Exporter()
{
    if (open_)
        std::signal(SIGINT, SIG_DFL);
}

std::int64_t Exporter::frameCount(double start, double end, int fps)
{
    // The small allowance keeps an end that falls on a frame from gaining one more frame
    // through rounding (3 s at 60 fps is 180 frames, the last at 2.983 s).
    const double frames = std::ceil((end - start) * fps - 1e-6);
    return std::max<std::int64_t>(1, std::int64_t(frames));
}

std::string Exporter::frameFileName(const std::string& pattern, std::int64_t index)
{
    // The pattern holds exactly one integer conversion (the command line checked it).
    const int n = std::snprintf(nullptr, 0, pattern.c_str(), int(index));
    std::string name(size_t(std::max(n, 0)), '\0');
    std::snprintf(name.data(), name.size() + 1, pattern.c_str(), int(index));
    return name;
}

bool Exporter::failed(const std::string& message)
{
    if (!failed_) {
        error_ = message;
        if (terminal_ && done_ > 0)
            std::fputs("\n", stderr);
        std::fprintf(stderr, "oculith: export failed: %s\n", message.c_str());
        logPrint("Export failed: %s", message.c_str());
    }
    failed_ = true;
    return false;
}

bool Exporter::open()
{
    terminal_ = platform::standardErrorIsTerminal();
    // A target in a folder that is not there fails now, before anything is read or drawn.
    const std::string first = kind_ == ExportKind::Video ? target_ : frameFileName(target_, 0);
    const fs::path folder = fs::path(first).parent_path();
    std::error_code ec;
    if (!folder.empty() && !fs::is_directory(folder, ec))
        return failed("cannot write " + first + ": " + folder.string() + " is no folder");
    if (kind_ == ExportKind::Video) {
        if (withMusic_ && !music_.decodeFile(ShowApplication::kMusicFile))
            return failed("cannot read the music (" + music_.error() + "); --mute exports without it");
        platform::VideoSettings settings;
        settings.width = width_;
        settings.height = height_;
        settings.fps = fps_;
        settings.audio = withMusic_ ? &music_ : nullptr;
        settings.audioStart = start_;
        if (!video_.open(target_, settings)) {
            const std::string why = video_.error();
            video_.abort();
            return failed(why);
        }
    }
    interrupted = 0;
    std::signal(SIGINT, onInterrupt);
    open_ = true;
    return true;
}

bool Exporter::writeFramePicture(int width, int height)
{
    frame::toPictureRows(pixels_, width, height, picture_);
    // A picture appears under its name only once it is complete.
    const std::string name = frameFileName(target_, done_);
    const std::string temp = name + ".part";
    std::error_code ec;
    if (!platform::writePng(temp, width, height, 4, picture_.data())) {
        fs::remove(temp, ec);
        return failed("cannot write " + name);
    }
    fs::rename(temp, name, ec);
    if (ec) {
        fs::remove(temp, ec);
        return failed("cannot write " + name + ": " + ec.message());
    }
    return true;
}

bool Exporter::frameDrawn(int width, int height)
{
    if (!open_ || failed_)
        return false;
    if (done_ == 0)
        begun_ = lastProgress_ = wallSeconds();
    if (interrupted) {
        if (terminal_)
            std::fputs("\n", stderr);
        std::fprintf(stderr, "oculith: interrupted: finishing %s with the %lld frames drawn\n",
                     target_.c_str(), static_cast<long long>(done_));
        return false;
    }
    if (kind_ == ExportKind::Video) {
        pixels_ = video_.takeBuffer();
        frame::readPixels(width, height, pixels_);
        if (!video_.addFrame(std::move(pixels_)))
            return false; // finish() reports why
    } else {
        frame::readPixels(width, height, pixels_);
        if (!writeFramePicture(width, height))
            return false;
    }
    ++done_;
    showProgress(done_ == total_);
    return done_ < total_;
}

void Exporter::showProgress(bool force)
{
    const double now = wallSeconds();
    // On a terminal the line is redrawn a few times a second; in a log, a line every ten seconds.
    if (!force && now - lastProgress_ < (terminal_ ? 0.25 : 10.0))
        return;
    lastProgress_ = now;
    const double elapsed = now - begun_;
    const double rate = elapsed > 0 ? double(done_) / elapsed : 0.0;
    const double left = rate > 0 ? double(total_ - done_) / rate : 0.0;
    std::fprintf(stderr, "%sexport: frame %lld/%lld, show %.2f s, %.1f fps, %s left%s",
                 terminal_ ? "\r" : "", static_cast<long long>(done_), static_cast<long long>(total_),
                 start_ + double(done_) / fps_, rate, clockText(left).c_str(), terminal_ ? "\033[K" : "\n");
    std::fflush(stderr);
}

int Exporter::finish()
{
    if (!open_)
        return 1;
    std::signal(SIGINT, SIG_DFL);
    open_ = false;
    if (terminal_ && done_ > 0 && !failed_)
        std::fputs("\n", stderr);
    std::int64_t bytes = 0;
    if (kind_ == ExportKind::Video) {
        if (!video_.finish()) {
            failed(video_.error());
            return 1;
        }
        bytes = video_.fileSize();
    } else {
        if (failed_)
            return 1;
        std::error_code ec;
        for (std::int64_t k = 0; k < done_; ++k)
            bytes += std::int64_t(fs::file_size(frameFileName(target_, k), ec));
    }
    if (failed_)
        return 1;
    const double wall = done_ > 0 ? wallSeconds() - begun_ : 0.0;
    const double duration = double(done_) / fps_;
    std::fprintf(stderr, "export: %s: %lld frames, %.3f s at %dx%d and %d fps, %s, %.2fx real time (%s)\n",
                 target_.c_str(), static_cast<long long>(done_), duration, width_, height_, fps_,
                 sizeText(bytes).c_str(), wall > 0 ? duration / wall : 0.0, clockText(wall).c_str());
    logPrint("Exported %lld frames (%.3f s) to %s in %.1f s", static_cast<long long>(done_), duration,
             target_.c_str(), wall);
    return 0;
}
