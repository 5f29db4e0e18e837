#include "platform/Paths.h"

#include <filesystem>
#include <system_error>

namespace platform {

std::string nativePath(const std::string& path)
{
    std::string out = path;
    for (char& c : out)
        if (c == '\\')
            c = '/';
    return out;
}

std::FILE* openFile(const std::string& path, const char* mode)
{
    return std::fopen(nativePath(path).c_str(), mode);
}

bool fileExists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(nativePath(path), ec);
}

std::string executableDir()
{
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return {};
    return exe.parent_path().string();
}

} // namespace platform
