// Notices changes to the files of a folder tree (inotify): the show maker's edits under data/.
// Changes are gathered until the tree has been quiet for a moment, so an editor that writes a
// file in several steps causes one reload, not several.
#pragma once
#include <string>
#include <vector>

namespace platform {

class FileWatcher {
public:
    FileWatcher() = default;
    ~FileWatcher();
    FileWatcher(const FileWatcher&) = delete;
    FileWatcher& operator=(const FileWatcher&) = delete;

    // Watches `folder` and every folder below it (folders made later too). False with
    // `error()` when the folder can't be watched.
    bool watch(const std::string& folder);
    // True once after a change, when no further change has come for `quietSeconds`; never
    // blocks. `changed` receives the path of the last file that changed.
    bool poll(double quietSeconds, std::string* changed = nullptr);
    const std::string& error() const { return error_; }

private:
    void addTree(const std::string& folder);
    void drain();

    int fd_ = -1;
    std::vector<std::pair<int, std::string>> watches_; // watch descriptor, folder
    bool pending_ = false;
    double lastChange_ = 0.0;
    std::string lastPath_;
    std::string error_;
};

} // namespace platform
