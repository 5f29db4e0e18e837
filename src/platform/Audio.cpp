#include "platform/Audio.h"

#include "platform/Clock.h"
#include "platform/Paths.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>

namespace platform {
namespace {
// Samples per channel in each buffer the mixer hands to the device.
constexpr int kBufferFrames = 2048;

void postMix(void* player, Uint8*, int bytes)
{
    static_cast<MusicPlayer*>(player)->handedOver(bytes);
}
} // namespace

MusicPlayer::~MusicPlayer() { shutdown(); }

void MusicPlayer::handedOver(int bytes)
{
    const int frames = bytes / bytesPerFrame_;
    bufferFrames_.store(frames, std::memory_order_release);
    if (!running_.load(std::memory_order_acquire))
        return;
    handedAt_.store(performanceCounter(), std::memory_order_release);
    framesHanded_.fetch_add(frames, std::memory_order_acq_rel);
}

double MusicPlayer::playedPosition() const
{
    if (!music_ || rate_ <= 0)
        return -1.0;
    const std::int64_t handed = framesHanded_.load(std::memory_order_acquire);
    const std::uint64_t at = handedAt_.load(std::memory_order_acquire);
    // The device plays what it was handed one buffer after receiving it; between hand-overs
    // the position moves on with the clock, never past what was handed.
    double since = 0.0;
    if (running_.load(std::memory_order_acquire) && handed > 0)
        since = double(performanceCounter() - at) / double(performanceFrequency());
    const int buffer = bufferFrames_.load(std::memory_order_acquire);
    const double heard = std::min(double(handed - buffer) / rate_ + since, double(handed) / rate_);
    return startSeconds_ + heard;
}

bool MusicPlayer::init(int rate)
{
    if (open_)
        return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(rate, AUDIO_S16SYS, 2, kBufferFrames) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&frequency, &format, &channels);
    rate_ = frequency;
    bytesPerFrame_ = std::max(1, channels * int(SDL_AUDIO_BITSIZE(format)) / 8);
    bufferFrames_ = kBufferFrames;
    open_ = true;
    Mix_SetPostMix(postMix, this);
    return true;
}

bool MusicPlayer::load(const std::string& path)
{
    freeMusic();
    if (!open_)
        return false;
    music_ = Mix_LoadMUS(nativePath(path).c_str());
    return music_ != nullptr;
}

bool MusicPlayer::play(double startSeconds)
{
    if (!music_)
        return false;
    SDL_LockAudio();
    running_ = false;
    framesHanded_ = 0;
    startSeconds_ = startSeconds;
    SDL_UnlockAudio();
    if (Mix_PlayMusic(static_cast<Mix_Music*>(music_), 0) != 0)
        return false;
    if (startSeconds > 0.0)
        Mix_SetMusicPosition(startSeconds);
    running_ = true;
    return true;
}

void MusicPlayer::pause()
{
    if (music_) {
        running_ = false;
        Mix_PauseMusic();
        // What was handed over before the pause is still heard after it.
        handedAt_ = performanceCounter();
    }
}

void MusicPlayer::resume()
{
    if (music_) {
        Mix_ResumeMusic();
        handedAt_ = performanceCounter();
        running_ = true;
    }
}

void MusicPlayer::freeMusic()
{
    if (music_) {
        running_ = false;
        Mix_HaltMusic();
        Mix_FreeMusic(static_cast<Mix_Music*>(music_));
        music_ = nullptr;
    }
}

void MusicPlayer::shutdown()
{
    freeMusic();
    if (open_) {
        Mix_SetPostMix(nullptr, nullptr);
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        open_ = false;
    }
}

} // namespace platform
