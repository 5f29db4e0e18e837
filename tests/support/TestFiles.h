// Paths the tests read from and write to.
#pragma once
#include <string>

namespace testfiles {

// A file of the shared corpus, e.g. corpus("png/basn2c08.png").
std::string corpus(const std::string& relative);
// A fresh, empty folder under the system's temporary folder, unique per call.
std::string tempDir(const std::string& prefix);
// Writes text (or bytes) to a file, creating folders on the way.
void writeFile(const std::string& path, const std::string& contents);
std::string readFile(const std::string& path);

} // namespace testfiles
