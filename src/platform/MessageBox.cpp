#include "platform/MessageBox.h"

#include <SDL.h>
#include <cstdio>

namespace platform {
namespace {
bool g_headless = false;
std::function<void(const std::string&, const std::string&)> g_listener;
std::function<void(const std::string&, const std::string&)> g_diversion;
bool g_alsoShow = false;

// Box texts may hold line breaks; the stderr form keeps them on one line.
std::string oneLine(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        if (c == '\n' || c == '\r')
            c = ' ';
    return out;
}
} // namespace

void setMessageBoxHeadless(bool headless) { g_headless = headless; }

void setMessageBoxListener(std::function<void(const std::string&, const std::string&)> listener)
{
    g_listener = std::move(listener);
}

void setMessageBoxDiversion(std::function<void(const std::string&, const std::string&)> divert,
                            bool alsoShow)
{
    g_diversion = std::move(divert);
    g_alsoShow = alsoShow;
}

void showMessageBox(const std::string& title, const std::string& text, MessageIcon icon)
{
    if (g_listener)
        g_listener(title, text);
    if (g_diversion) {
        g_diversion(title, text);
        if (!g_alsoShow)
            return;
    }
    if (!g_headless && SDL_WasInit(SDL_INIT_VIDEO)) {
        Uint32 flags = icon == MessageIcon::Warning       ? SDL_MESSAGEBOX_WARNING
                       : icon == MessageIcon::Information ? SDL_MESSAGEBOX_INFORMATION
                                                          : SDL_MESSAGEBOX_ERROR;
        SDL_ShowSimpleMessageBox(flags, title.c_str(), text.c_str(), nullptr);
    }
    // Every box is also one line on standard error, so scripted runs see why a start failed.
    std::fprintf(stderr, "%s: %s\n", title.c_str(), oneLine(text).c_str());
    std::fflush(stderr);
}

} // namespace platform
