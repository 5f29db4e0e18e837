// Writes a video file: H.264 pictures (libx264, 4:2:0, constant quality) and, when given, a
// stretch of sound as AAC, muxed into MP4 (index at the front, so it streams) or Matroska. The
// file is written under a temporary name beside the target and renamed into place only when it
// is complete. Encoding runs on a worker thread so the caller can draw the next picture meanwhile.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace platform {

class AudioDecoder;

struct VideoSettings {
    int width = 640;  // even
    int height = 480; // even
    int fps = 60;
    int quality = 20; // x264's constant rate factor: lower is better and larger
    // The sound to put beside the pictures (null: none): its samples from audioStart seconds on,
    // as long as the pictures last; silence where the sound ends first.
    const AudioDecoder* audio = nullptr;
    double audioStart = 0.0;
};

class VideoEncoder {
public:
    VideoEncoder();
    // Removes the temporary file unless finish() succeeded.
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // Creates the temporary file and both encoders; the extension of `path` (.mp4 or .mkv)
    // picks the container. False with error() set when any of it fails.
    bool open(const std::string& path, const VideoSettings& settings);
    // A buffer for the next picture (width × height × 4 bytes), reused from earlier pictures.
    std::vector<unsigned char> takeBuffer();
    // Queues one picture: RGBA rows, bottom row first (as glReadPixels returns them); waits while
    // the encoder is several pictures behind. False once encoding has failed.
    bool addFrame(std::vector<unsigned char> rgba);
    // Encodes what is queued, the sound up to the end of the last picture, writes the index and
    // renames the file into place. False with error() set (and no file left) on failure.
    bool finish();
    // Stops and removes the temporary file.
    void abort();

    const std::string& error() const { return error_; }
    std::int64_t framesWritten() const { return framesQueued_; }
    // The finished file's size in bytes.
    std::int64_t fileSize() const { return fileSize_; }

private:
    struct State;
    void work();
    bool encodePicture(const std::vector<unsigned char>& rgba);
    bool encodeSoundUpTo(std::int64_t sampleCount, bool last);
    bool drain(int stream);
    bool fail(const std::string& what, int code = 0);
    void stopWorker();

    std::unique_ptr<State> state_;
    std::string path_, tempPath_, error_;
    VideoSettings settings_;
    std::int64_t framesQueued_ = 0, framesEncoded_ = 0, fileSize_ = 0;

    std::thread worker_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<unsigned char>> queue_;
    std::vector<std::vector<unsigned char>> spare_;
    bool closing_ = false;
    bool failed_ = false; // written by the worker under mutex_
};

} // namespace platform
