// "application.log": plain text lines with tab-indented sections, each line at most 256
// characters. One program-wide instance, reachable through Log::instance while it exists.
#pragma once
#include <cstdarg>
#include <cstdio>
#include <string>

class Log {
public:
    Log();
    ~Log();
    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;

    static Log* instance;

    // Creates or truncates the file; false (changing nothing) when one is already open.
    bool open(const std::string& fileName);
    bool close();
    bool isOpen() const { return file_ != nullptr; }

    bool beginSection(const char* name);
    bool endSection(const char* name);
    bool print(const char* format, ...) __attribute__((format(printf, 2, 3)));
    bool vprint(const char* format, std::va_list args);
    int depth() const { return depth_; }

private:
    bool writeIndented(const char* text);

    std::FILE* file_ = nullptr;
    int depth_ = 0;
};

// Conveniences for code that may run without a log (tests, tools): they do nothing then.
void logPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));
void logBeginSection(const char* name);
void logEndSection(const char* name);
