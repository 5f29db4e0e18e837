#include "platform/FileWatcher.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace platform {
namespace {

constexpr std::uint32_t kEvents = IN_CLOSE_WRITE | IN_MODIFY | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE |
                                  IN_DELETE | IN_ATTRIB;

double secondsNow()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// Editors' swap and backup files come and go while a file is edited; they are not show data.
bool isEditorLitter(const char* name)
{
    const std::size_t n = std::strlen(name);
    return n == 0 || name[0] == '.' || name[n - 1] == '~' || name[0] == '#';
}

} // namespace

FileWatcher::~FileWatcher()
{
    if (fd_ >= 0)
        close(fd_);
}

bool FileWatcher::watch(const std::string& folder)
{
    if (fd_ < 0)
        fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) {
        error_ = std::string("inotify: ") + std::strerror(errno);
        return false;
    }
    const std::size_t before = watches_.size();
    addTree(folder);
    if (watches_.size() == before) {
        error_ = "cannot watch \"" + folder + "\"" + (error_.empty() ? "" : ": " + error_);
        return false;
    }
    return true;
}

void FileWatcher::addTree(const std::string& folder)
{
    const int wd = inotify_add_watch(fd_, folder.c_str(), kEvents);
    if (wd < 0) {
        error_ = std::strerror(errno);
        return;
    }
    watches_.emplace_back(wd, folder);
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (entry.is_directory(ec) && !isEditorLitter(entry.path().filename().c_str()))
            addTree(entry.path().string());
    }
}

void FileWatcher::drain()
{
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t n = read(fd_, buffer, sizeof buffer);
        if (n <= 0)
            return;
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            const char* name = event->len ? event->name : "";
            if (event->len && isEditorLitter(name))
                continue;
            std::string folder;
            for (const auto& [wd, path] : watches_)
                if (wd == event->wd)
                    folder = path;
            const std::string path = event->len ? folder + "/" + name : folder;
            if ((event->mask & IN_ISDIR) && (event->mask & (IN_CREATE | IN_MOVED_TO)))
                addTree(path);
            pending_ = true;
            lastChange_ = secondsNow();
            lastPath_ = path;
        }
    }
}

bool FileWatcher::poll(double quietSeconds, std::string* changed)
{
    if (fd_ < 0)
        return false;
    drain();
    if (!pending_ || secondsNow() - lastChange_ < quietSeconds)
        return false;
    pending_ = false;
    if (changed)
        *changed = lastPath_;
    return true;
}

} // namespace platform
