// The show: start-up in a fixed order (extensions, GL defaults, managers, render target, loading
// picture, scripts, scenes, music), the per-frame update and render, the overlay and shutdown.
#pragma once
#include "app/Application.h"
#include "app/ShowReloader.h"
#include "core/PBuffer.h"
#include "platform/Audio.h"
#include "platform/FileWatcher.h"

#include <memory>
#include <string>
#include <vector>

class ShowApplication : public Application {
public:
    explicit ShowApplication(const CommandLine& commandLine);
    ~ShowApplication() override;

    // The show's music, as scripts name files.
    static constexpr const char* kMusicFile = "data\\snd\\oculith - edit 2 (64k).mp3";

    // As a 32-bit float: 358.1090087890625.
    static constexpr float kEndTime = 358.109f;
    float endTime = kEndTime;
    bool overlayVisible = false;

protected:
    bool init() override;
    bool shutdown() override;
    void render() override;
    void update(float frameTime) override;
    void resize(int width, int height) override;
    bool createRenderTarget(int width, int height);
    double timeOffset() const override;
    bool heardShowTime(double& time) const override;
    void keyPressed(platform::Key key) override;

private:
    void drawLoadingScreen();
    bool startMusic();
    void drawOverlay();
    float currentShowTime() const;
    // The whole loading again at `time` (--watch, seeks); the last good show stays after a
    // script error and after a load that loses more than it. Problems go to standard error, the
    // log and onto the screen.
    void reload(float time, const char* why);
    // Problems found while loading: to standard error and the log (those a box already showed
    // are not repeated), and into the notice over the picture.
    void announce(const std::vector<Problem>& found);
    // The notice: the problems in red over a dark band at the bottom of the picture.
    void drawNotice();
    bool noticeShown() const;

    bool playMusic_ = true;
    bool watch_ = false;
    platform::FileWatcher watcher_;
    ShowReloader reloader_;
    // The problems of the show in use (a watched run keeps a show that has no more than these).
    std::vector<Problem> standing_;
    // The notice's rows, and the run time (showTime) until which it shows; a watched run shows
    // it for as long as the problems stand.
    std::vector<std::string> noticeRows_;
    double noticeUntil_ = 0.0;
    std::unique_ptr<PBuffer> pbuffer_;
    platform::MusicPlayer music_;
};
