// --export: every frame of a headless, fixed-step run goes into a video file with the music cut to
// the same time range, or into one PNG file per frame. Shows progress on standard error, ends
// the run after the last frame (or on Ctrl-C, keeping what was drawn) and reports the result.
#pragma once
#include "app/CommandLine.h"
#include "platform/AudioDecoder.h"
#include "platform/VideoEncoder.h"

#include <cstdint>
#include <string>
#include <vector>

class Exporter {
public:
    // `endTime`: the show time the export runs to (the show's own end unless --until says).
    Exporter(const CommandLine& commandLine, double endTime);
    ~Exporter();
    Exporter(const Exporter&) = delete;
    Exporter& operator=(const Exporter&) = delete;

    // The number of frames: frame k shows start + k / fps, for every k with k / fps before the
    // end (at least one frame).
    static std::int64_t frameCount(double start, double end, int fps);
    // The file name of frame `index` for a %d pattern.
    static std::string frameFileName(const std::string& pattern, std::int64_t index);

    // Reads the music (for a video) and creates the output, in the show's folder. False, with
    // the reason on standard error, when it cannot.
    bool open();
    // Called once the frame of `width` × `height` is drawn and before it is shown: reads it back
    // and hands it on. False when the run should end: the last frame is done, Ctrl-C came or
    // writing failed.
    bool frameDrawn(int width, int height);
    // After the run: completes the file and prints the summary. The exit status: 0, or 1 when
    // the export failed (nothing is left under the target's name then).
    int finish();

    std::int64_t totalFrames() const { return total_; }

private:
    bool writeFramePicture(int width, int height);
    void showProgress(bool force);
    bool failed(const std::string& message);

    std::string target_;
    ExportKind kind_;
    int width_, height_, fps_;
    double start_;
    bool withMusic_;
    std::int64_t total_ = 0, done_ = 0;
    bool open_ = false, failed_ = false;
    std::string error_;

    platform::AudioDecoder music_;
    platform::VideoEncoder video_;
    std::vector<unsigned char> pixels_, picture_;

    bool terminal_ = false;
    double begun_ = 0.0, lastProgress_ = 0.0;
};
