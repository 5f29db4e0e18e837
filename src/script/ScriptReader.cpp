#include "script/ScriptReader.h"

#include "platform/Paths.h"
#include "script/ProblemSink.h"

#include <cctype>
#include <fstream>

std::string ScriptReader::readLine(std::istream& stream)
{
    // Skip white space (and with it whole blank lines, which are not counted).
    for (;;) {
        int c = stream.get();
        if (c == std::char_traits<char>::eof()) {
            stream.clear(stream.rdstate() & ~std::ios::failbit);
            break;
        }
        if (c == 0 || !std::isspace(static_cast<unsigned char>(c))) {
            stream.unget();
            break;
        }
        if (c == '\n')
            ++lineFeedsRead_;
    }
    fileLine = lineFeedsRead_ + 1;
    problems::setHere(fileName, fileLine);
    std::string result;
    if (stream.peek() == std::char_traits<char>::eof()) {
        stream.setstate(std::ios::failbit);
        return result;
    }
    for (;;) {
        int c = stream.get();
        if (c == std::char_traits<char>::eof()) {
            ++lineCount;
            return result;
        }
        if (c == '\t') {
            result += ' ';
        } else if (c == '\r' && (stream.peek() == '\n' || stream.peek() == std::char_traits<char>::eof())) {
            // A Windows line end: the CR belongs to the line end, not to the line.
        } else if (c == '\n') {
            ++lineCount;
            ++lineFeedsRead_;
            return result;
        } else if (c == ';') {
            while ((c = stream.get()) != std::char_traits<char>::eof() && c != '\n') {
            }
            if (c == '\n')
                ++lineFeedsRead_;
            return result;
        } else {
            result += static_cast<char>(c);
        }
    }
}

bool ScriptReader::next(std::istream& stream)
{
    line = readLine(stream);
    return !line.empty() || !stream.fail();
}

bool ScriptReader::contains(const std::string& text, const char* keyword)
{
    return text.find(keyword) != std::string::npos;
}

std::string ScriptReader::quotedText(const std::string& text)
{
    const auto first = text.find('"');
    if (first == std::string::npos)
        return {};
    const auto last = text.rfind('"');
    if (last != first)
        return text.substr(first + 1, last - first - 1);
    return text.substr(first + 1);
}

ImageScriptException ScriptReader::error(const std::string& message) const
{
    ImageScriptException e(message, lineCount);
    e.fileName = fileName;
    e.fileLine = fileLine;
    e.lineText = line;
    return e;
}

bool ScriptReader::load(const std::string& path)
{
    std::ifstream stream(platform::nativePath(path));
    if (!stream) {
        ImageScriptException e("Unable to open scriptfile " + path, -1);
        e.fileName = path;
        throw e;
    }
    fileName = path;
    try {
        return parse(stream);
    } catch (ImageScriptException& e) {
        if (e.fileName.empty())
            e.fileName = path;
        throw;
    }
}

bool ScriptReader::parse(std::istream&) { return false; }

int ScriptReader::countAhead(std::istream& stream, const std::function<bool(const ScriptReader&)>& counts) const
{
    const auto position = stream.tellg();
    const auto state = stream.rdstate();
    ScriptReader scout;
    scout.fileName = fileName;
    scout.lineFeedsRead_ = lineFeedsRead_;
    int count = 0;
    while (scout.next(stream)) {
        if (counts(scout))
            ++count;
    }
    stream.clear(state);
    if (position != std::streampos(-1))
        stream.seekg(position);
    problems::setHere(fileName, fileLine);
    return count;
}

int scanFloats(const std::string& l, float& a) { return std::sscanf(l.c_str(), "%*s %f", &a); }
int scanFloats(const std::string& l, float& a, float& b)
{
    return std::sscanf(l.c_str(), "%*s %f %f", &a, &b);
}
int scanFloats(const std::string& l, float& a, float& b, float& c)
{
    return std::sscanf(l.c_str(), "%*s %f %f %f", &a, &b, &c);
}
int scanFloats(const std::string& l, float& a, float& b, float& c, float& d)
{
    return std::sscanf(l.c_str(), "%*s %f %f %f %f", &a, &b, &c, &d);
}
int scanFloats(const std::string& l, float& a, float& b, float& c, float& d, float& e)
{
    return std::sscanf(l.c_str(), "%*s %f %f %f %f %f", &a, &b, &c, &d, &e);
}
int scanFloats(const std::string& l, float& a, float& b, float& c, float& d, float& e, float& f)
{
    return std::sscanf(l.c_str(), "%*s %f %f %f %f %f %f", &a, &b, &c, &d, &e, &f);
}
int scanInts(const std::string& l, int& a) { return std::sscanf(l.c_str(), "%*s %d", &a); }
int scanInts(const std::string& l, int& a, int& b) { return std::sscanf(l.c_str(), "%*s %d %d", &a, &b); }
int scanShorts(const std::string& l, short& a, short& b)
{
    return std::sscanf(l.c_str(), "%*s %hd %hd", &a, &b);
}
int scanIntWord(const std::string& l, int& a, std::string& word)
{
    // The word can be no longer than the line itself.
    std::string buffer(l.size() + 1, '\0');
    int n = std::sscanf(l.c_str(), "%*s %d %s", &a, buffer.data());
    if (n >= 2)
        word = buffer.c_str();
    return n;
}
