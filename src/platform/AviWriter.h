// Writes RGB pictures as a Motion-JPEG video in an AVI file (the show's own video clips).
#pragma once
#include <memory>
#include <string>

namespace platform {

class AviWriter {
public:
    AviWriter();
    // An unfinished file (open without a successful close) is deleted.
    ~AviWriter();
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;

    // Creates `path` for a `width` × `height` (even numbers) video at `fps` frames per second.
    // `quality` is the JPEG quantiser scale, 2 (finest) to 31 (coarsest), the same for every
    // frame. False, with error() set and no file left behind, when the file cannot be created.
    bool open(const std::string& path, int width, int height, int fps, int quality = 4);
    // One picture: `height` rows of `width` RGB pixels (3 bytes each), first row at the top.
    // On failure the file is abandoned (deleted) and every later call fails.
    bool addFrame(const unsigned char* rgb);
    // Flushes the encoder and writes the AVI index. False (file deleted) when nothing was
    // written or the file could not be finished.
    bool close();

    int framesWritten() const { return frames_; }
    const std::string& error() const { return error_; }

private:
    struct Encoder;
    bool fail(const std::string& message);
    // Sends one picture (or nullptr: the end) to the encoder and writes what comes out.
    bool encode(bool flush);
    void abandon();

    std::unique_ptr<Encoder> encoder_;
    std::string path_;
    std::string error_;
    int frames_ = 0;
};

} // namespace platform
