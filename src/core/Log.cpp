#include "core/Log.h"

#include <cstdarg>

Log* Log::instance = nullptr;

Log::Log() { instance = this; }

Log::~Log()
{
    close();
    if (instance == this)
        instance = nullptr;
}

bool Log::open(const std::string& fileName)
{
    if (file_)
        return false;
    file_ = std::fopen(fileName.c_str(), "w");
    depth_ = 0;
    return file_ != nullptr;
}

bool Log::close()
{
    if (!file_)
        return false;
    std::fclose(file_);
    file_ = nullptr;
    return true;
}

bool Log::writeIndented(const char* text)
{
    for (int i = 0; i < depth_; ++i)
        std::fputc('\t', file_);
    std::fputs(text, file_);
    std::fputc('\n', file_);
    // Flushed per line: the log must hold everything up to a crash or a kill.
    std::fflush(file_);
    return std::ferror(file_) == 0;
}

bool Log::beginSection(const char* name)
{
    if (!file_)
        return false;
    std::string banner = std::string("--==[") + name + "]==--";
    bool ok = writeIndented(banner.c_str());
    ++depth_;
    return ok;
}

bool Log::endSection(const char* name)
{
    if (!file_)
        return false;
    if (depth_ > 0)
        --depth_;
    std::string banner = std::string("--==[") + name + "]==--";
    return writeIndented(banner.c_str());
}

bool Log::vprint(const char* format, std::va_list args)
{
    if (!file_)
        return false;
    char buffer[256];
    std::vsnprintf(buffer, sizeof buffer, format, args);
    return writeIndented(buffer);
}

bool Log::print(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    bool ok = vprint(format, args);
    va_end(args);
    return ok;
}

void logPrint(const char* format, ...)
{
    if (!Log::instance)
        return;
    std::va_list args;
    va_start(args, format);
    Log::instance->vprint(format, args);
    va_end(args);
}

void logBeginSection(const char* name)
{
    if (Log::instance)
        Log::instance->beginSection(name);
}

void logEndSection(const char* name)
{
    if (Log::instance)
        Log::instance->endSection(name);
}
