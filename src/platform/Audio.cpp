#include "platform/Audio.h"

#include "platform/Paths.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace platform {

MusicPlayer::~MusicPlayer() { shutdown(); }

bool MusicPlayer::init(int rate)
{
    if (open_)
        return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(rate, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&frequency, &format, &channels);
    rate_ = frequency;
    open_ = true;
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
    if (Mix_PlayMusic(static_cast<Mix_Music*>(music_), 0) != 0)
        return false;
    if (startSeconds > 0.0)
        Mix_SetMusicPosition(startSeconds);
    return true;
}

void MusicPlayer::pause()
{
    if (music_)
        Mix_PauseMusic();
}

void MusicPlayer::resume()
{
    if (music_)
        Mix_ResumeMusic();
}

void MusicPlayer::freeMusic()
{
    if (music_) {
        Mix_HaltMusic();
        Mix_FreeMusic(static_cast<Mix_Music*>(music_));
        music_ = nullptr;
    }
}

void MusicPlayer::shutdown()
{
    freeMusic();
    if (open_) {
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        open_ = false;
    }
}

} // namespace platform
