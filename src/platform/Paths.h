// Where files are opened: script and code names use backslashes ("data\scr\generic.effect");
// this is the one place that turns them into native paths.
#pragma once
#include <cstdio>
#include <string>

namespace platform {

// The native form of a show path: every '\' becomes '/'. Nothing else about the name changes.
std::string nativePath(const std::string& path);

// fopen through nativePath.
std::FILE* openFile(const std::string& path, const char* mode);

bool fileExists(const std::string& path);

// The folder that holds the running executable ("" when unknown).
std::string executableDir();

} // namespace platform
