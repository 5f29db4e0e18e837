// The music player: one MP3 played once from a start position through SDL2_mixer.
#pragma once
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
    void freeMusic();
    void shutdown();
    bool loaded() const { return music_ != nullptr; }

private:
    void* music_ = nullptr;
    bool open_ = false;
    int rate_ = 0;
};

} // namespace platform
