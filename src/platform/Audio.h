// The music player: one MP3 played once from a start position through SDL2_mixer.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>

namespace platform {

class MusicPlayer {
public:
    MusicPlayer() = default;
    ~MusicPlayer();
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    // Opens the default output device at `rate` Hz, stereo.
    bool init(int rate);
    // Loads the whole file; false when it is missing or not music.
    bool load(const std::string& path);
    // Plays the loaded music once, from `startSeconds`.
    bool play(double startSeconds);
    // Holds and continues the playing music (the show's pause key).
    void pause();
    void resume();
    // The loaded music's sample rate as the device plays it.
    int rate() const { return rate_; }
    // The music's position as the listener hears it, in seconds: the start position plus the
    // samples handed to the device since `play`, less what the device still holds (its buffer),
    // advanced by the time since the last hand-over (before anything is heard, the start
    // position less one buffer). -1 without loaded music.
    double playedPosition() const;
    // The device's latency in seconds: one buffer of the size the mixer hands over.
    double latency() const { return rate_ > 0 ? double(bufferFrames_.load()) / rate_ : 0.0; }
    void freeMusic();
    void shutdown();
    bool loaded() const { return music_ != nullptr; }

    // Called by the mixer's thread with every buffer it hands to the device.
    void handedOver(int bytes);

private:
    void* music_ = nullptr;
    bool open_ = false;
    int rate_ = 0;
    int bytesPerFrame_ = 4;
    std::atomic<int> bufferFrames_{0};
    double startSeconds_ = 0.0;
    // Written by the mixer's thread: music frames handed over since `play`, and the counter's
    // time when the last buffer was handed over. `running_` says whether they advance.
    std::atomic<std::int64_t> framesHanded_{0};
    std::atomic<std::uint64_t> handedAt_{0};
    std::atomic<bool> running_{false};
};

} // namespace platform
