// Runs the oculith program (or another) as a child process and collects what it printed.
#pragma once
#include <string>
#include <vector>

struct ProgramResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs `program` with `args` in `workingDir` ("" = current) and waits for it.
ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingDir = "");
// The oculith program of this build.
ProgramResult runOculith(const std::vector<std::string>& args, const std::string& workingDir = "");

// Width and height from a PNG file's header; false when it is no PNG.
bool pngSize(const std::string& path, int& width, int& height);
