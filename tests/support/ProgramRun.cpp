#include "ProgramRun.h"

#include "TestFiles.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

RunningProgram startProgram(const std::string& program, const std::vector<std::string>& args,
                            const std::string& workingDir)
{
    RunningProgram running;
    const std::string dir = testfiles::tempDir("run");
    running.outPath = dir + "/stdout";
    running.errPath = dir + "/stderr";
    pid_t pid = fork();
    if (pid == 0) {
        int out = open(running.outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(running.errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int in = open("/dev/null", O_RDONLY);
        dup2(out, 1);
        dup2(err, 2);
        dup2(in, 0);
        if (!workingDir.empty() && chdir(workingDir.c_str()) != 0)
            _exit(126);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        // No display: tests must never open a window on a developer's desktop.
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    running.pid = pid;
    return running;
}

ProgramResult finishProgram(const RunningProgram& running)
{
    ProgramResult result;
    int status = 0;
    waitpid(running.pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = testfiles::readFile(running.outPath);
    result.err = testfiles::readFile(running.errPath);
    return result;
}

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingDir)
{
    return finishProgram(startProgram(program, args, workingDir));
}

RunningProgram startOculith(const std::vector<std::string>& args) { return startProgram(OCULITH_EXECUTABLE, args); }

ProgramResult runOculith(const std::vector<std::string>& args, const std::string& workingDir)
{
    return runProgram(OCULITH_EXECUTABLE, args, workingDir);
}

bool pngSize(const std::string& path, int& width, int& height)
{
    const std::string bytes = testfiles::readFile(path);
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0)
        return false;
    auto be32 = [&](size_t at) {
        return int((unsigned char)bytes[at] << 24 | (unsigned char)bytes[at + 1] << 16 |
                   (unsigned char)bytes[at + 2] << 8 | (unsigned char)bytes[at + 3]);
    };
    width = be32(16);
    height = be32(20);
    return true;
}

std::string withoutSceneBoxes(const std::string& printed)
{
    std::string kept;
    std::size_t begin = 0;
    while (begin < printed.size()) {
        std::size_t end = printed.find('\n', begin);
        end = end == std::string::npos ? printed.size() : end + 1;
        const std::string line = printed.substr(begin, end - begin);
        if (line.rfind("SCENE ERROR: ", 0) != 0 && line.rfind("SCRIPT ERROR: ", 0) != 0)
            kept += line;
        begin = end;
    }
    return kept;
}
