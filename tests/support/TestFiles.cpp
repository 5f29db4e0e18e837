#include "TestFiles.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace testfiles {

std::string corpus(const std::string& relative) { return std::string(OCULITH_CORPUS_DIR) + "/" + relative; }

std::string tempDir(const std::string& prefix)
{
    static std::atomic<int> counter{0};
    fs::path dir = fs::temp_directory_path() /
                   ("oculith-" + prefix + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}

void writeFile(const std::string& path, const std::string& contents)
{
    fs::path p(path);
    if (p.has_parent_path())
        fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out << contents;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace testfiles
