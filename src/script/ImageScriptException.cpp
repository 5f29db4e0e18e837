#include "script/ImageScriptException.h"

#include "script/ProblemSink.h"

std::string ImageScriptException::location() const
{
    std::string out = fileName.empty() ? std::string("(script)") : fileName;
    const int shown = fileLine > 0 ? fileLine : lineNumber;
    if (shown >= 0)
        out += " line " + std::to_string(shown);
    if (!lineText.empty())
        out += ": " + problems::quoted(problems::printable(lineText));
    return out;
}
