#include "script/ImageScriptException.h"

std::string ImageScriptException::location() const
{
    std::string out = fileName.empty() ? std::string("(script)") : fileName;
    if (lineNumber >= 0)
        out += " line " + std::to_string(lineNumber);
    if (!lineText.empty())
        out += ": \"" + lineText + "\"";
    return out;
}
