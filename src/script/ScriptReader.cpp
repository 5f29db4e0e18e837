#include "script/ScriptReader.h"

#include "platform/Paths.h"
#include "script/ProblemSink.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <fstream>

namespace {

void skipByteOrderMark(std::istream& stream)
{
    if (stream.tellg() != std::streampos(0))
        return;
    char mark[3] = {};
    stream.read(mark, 3);
    if (stream.gcount() == 3 && mark[0] == '\xEF' && mark[1] == '\xBB' && mark[2] == '\xBF')
        return;
    stream.clear();
    stream.seekg(0);
}

} // namespace

std::string ScriptReader::readLine(std::istream& stream)
{
    commentText.clear();
    refusal.clear();
    if (lineFeedsRead_ == 0 && lineCount == 0)
        skipByteOrderMark(stream);
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
            const bool whole = result.empty();
            if (whole)
                commentText = ";";
            while ((c = stream.get()) != std::char_traits<char>::eof() && c != '\n') {
                if (whole && c != '\r')
                    commentText += static_cast<char>(c);
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
    problems::setHere(fileName, fileLine, line.empty() ? commentText : line);
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
    e.commentLine = line.empty() && !commentText.empty();
    e.lineText = e.commentLine ? commentText : line;
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

namespace {

// The value words behind a line's keyword that the scan formats would read wrongly, reported
// while a problem sink listens: a word that is not a number ("1,5" scans as 1, "thirty" leaves
// the value as it was), a fraction where a whole number goes, a number too large for a float
// (it scans as infinity). `values` are what the scan left in each field, for the message.
void checkValues(const std::string& line, std::initializer_list<double> values, bool whole)
{
    if (!problems::active())
        return;
    // Words are separated by blanks; a carriage return left at the end is no part of a word.
    constexpr const char* kBlanks = " \r";
    std::size_t at = line.find_first_not_of(kBlanks);
    at = at == std::string::npos ? at : line.find_first_of(kBlanks, at); // past the keyword
    for (const double value : values) {
        at = at == std::string::npos ? at : line.find_first_not_of(kBlanks, at);
        if (at == std::string::npos)
            return;
        const std::size_t end = std::min(line.find_first_of(kBlanks, at), line.size());
        const std::string word = line.substr(at, end - at);
        at = end;
        char* stop = nullptr;
        std::string message;
        if (whole) {
            const long number = std::strtol(word.c_str(), &stop, 10);
            if (*stop != '\0')
                message = problems::quoted(word) + " is not a whole number";
            else if (number > std::numeric_limits<int>::max() || number < std::numeric_limits<int>::min())
                message = problems::quoted(word) + " is beyond the largest whole number a value can hold";
        } else {
            const float number = std::strtof(word.c_str(), &stop);
            if (*stop != '\0' || std::isnan(number))
                message = problems::quoted(word) + " is not a number";
            else if (std::isinf(number))
                message = problems::quoted(word) + " is beyond the largest number a value can hold";
        }
        if (message.empty())
            continue;
        Problem problem = problems::here();
        problem.message = message;
        problem.text = line;
        char shown[32];
        std::snprintf(shown, sizeof shown, "%g", value);
        problem.cost = std::string("the value is read as ") + shown;
        problems::report(problem);
    }
}

template <class... T>
int scanReals(const std::string& line, const char* format, T&... values)
{
    const int n = std::sscanf(line.c_str(), format, &values...);
    checkValues(line, {double(values)...}, false);
    return n;
}

template <class... T>
int scanWholes(const std::string& line, const char* format, T&... values)
{
    const int n = std::sscanf(line.c_str(), format, &values...);
    checkValues(line, {double(values)...}, true);
    return n;
}

} // namespace

int scanFloats(const std::string& l, float& a) { return scanReals(l, "%*s %f", a); }
int scanFloats(const std::string& l, float& a, float& b) { return scanReals(l, "%*s %f %f", a, b); }
int scanFloats(const std::string& l, float& a, float& b, float& c) { return scanReals(l, "%*s %f %f %f", a, b, c); }
int scanFloats(const std::string& l, float& a, float& b, float& c, float& d)
{
    return scanReals(l, "%*s %f %f %f %f", a, b, c, d);
}
int scanFloats(const std::string& l, float& a, float& b, float& c, float& d, float& e)
{
    return scanReals(l, "%*s %f %f %f %f %f", a, b, c, d, e);
}
int scanFloats(const std::string& l, float& a, float& b, float& c, float& d, float& e, float& f)
{
    return scanReals(l, "%*s %f %f %f %f %f %f", a, b, c, d, e, f);
}
int scanInts(const std::string& l, int& a) { return scanWholes(l, "%*s %d", a); }
int scanInts(const std::string& l, int& a, int& b) { return scanWholes(l, "%*s %d %d", a, b); }
int scanShorts(const std::string& l, short& a, short& b) { return scanWholes(l, "%*s %hd %hd", a, b); }
int scanIntWord(const std::string& l, int& a, std::string& word)
{
    // The word can be no longer than the line itself.
    std::string buffer(l.size() + 1, '\0');
    int n = std::sscanf(l.c_str(), "%*s %d %s", &a, buffer.data());
    checkValues(l, {double(a)}, true);
    if (n >= 2)
        word = buffer.c_str();
    return n;
}
