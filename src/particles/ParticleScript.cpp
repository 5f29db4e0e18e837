#include "particles/ParticleScript.h"

#include "core/Log.h"
#include "script/ProblemSink.h"

namespace particles {

std::string quotedValue(const std::string& line)
{
    const auto first = line.find('"');
    const auto last = line.rfind('"');
    if (first == std::string::npos || last == first)
        return {};
    return line.substr(first + 1, last - first - 1);
}

void skipBlock(ScriptReader& reader, std::istream& stream)
{
    int depth = 0;
    while (reader.next(stream)) {
        if (reader.contains("}")) {
            if (depth == 0)
                return;
            --depth;
        } else if (reader.contains("{")) {
            ++depth;
        }
    }
}

void logRefusal(const ScriptReader& reader, const char* why)
{
    constexpr std::size_t kShown = 80;
    const std::string& text = reader.line;
    const std::string shown = text.size() > kShown ? text.substr(0, kShown) + "..." : text;
    logPrint("Particle system in %s line %d \"%s\": %s",
             reader.fileName.empty() ? "(text)" : reader.fileName.c_str(), reader.fileLine,
             shown.c_str(), why);
    Problem problem;
    problem.file = reader.fileName;
    problem.line = reader.fileLine;
    problem.message = why;
    problem.text = text.empty() ? reader.commentText : text;
    problem.cost = "the particle block stops here";
    problem.loses = true;
    problems::report(problem);
}

} // namespace particles
