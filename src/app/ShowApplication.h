// The show: start-up in a fixed order (extensions, GL defaults, managers, render target, loading
// picture, scripts, scenes, music), the per-frame update and render, the overlay and shutdown.
#pragma once
#include "app/Application.h"
#include "core/PBuffer.h"
#include "platform/Audio.h"

#include <memory>

class ShowApplication : public Application {
public:
    explicit ShowApplication(const CommandLine& commandLine);
    ~ShowApplication() override;

    // The show's music, as scripts name files.
    static constexpr const char* kMusicFile = "data\\snd\\oculith - edit 2 (64k).mp3";

    // As a 32-bit float: 358.1090087890625.
    float endTime = 358.109f;
    bool overlayVisible = false;

protected:
    bool init() override;
    bool shutdown() override;
    void render() override;
    void update(float frameTime) override;
    void resize(int width, int height) override;
    double timeOffset() const override;

private:
    void drawLoadingScreen();
    bool loadScripts();
    bool startMusic();
    void drawOverlay();
    float currentShowTime() const;

    bool playMusic_ = true;
    std::unique_ptr<PBuffer> pbuffer_;
    platform::MusicPlayer music_;
};
