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
// A program started without waiting for it, for tests that act while it runs.
struct RunningProgram {
    int pid = -1;
    std::string outPath, errPath;
};
RunningProgram startProgram(const std::string& program, const std::vector<std::string>& args,
                            const std::string& workingDir = "");
RunningProgram startOculith(const std::vector<std::string>& args);
// Waits for a started program to end and collects what it printed.
ProgramResult finishProgram(const RunningProgram& running);

// The oculith program of this build.
ProgramResult runOculith(const std::vector<std::string>& args, const std::string& workingDir = "");

// Width and height from a PNG file's header; false when it is no PNG.
bool pngSize(const std::string& path, int& width, int& height);

// What a run printed without the boxes of the hand-written scenes ("SCENE ERROR: ...", "SCRIPT
// ERROR: ..."): a fixture show that holds only its own scripts has none of the scenes' files,
// and those boxes say so for every run.
std::string withoutSceneBoxes(const std::string& printed);
