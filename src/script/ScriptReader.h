// The line reader every text script goes through: logical lines with comments cut and white
// space folded, case-sensitive keyword tests, quoted names and blank-separated values.
#pragma once
#include "script/ImageScriptException.h"

#include <cstdio>
#include <functional>
#include <istream>
#include <string>

class ScriptReader {
public:
    virtual ~ScriptReader() = default;

    // The current logical line; every keyword test runs on it.
    std::string line;
    // Lines returned through a line feed or the end of the stream (blank and comment-only lines
    // are not counted).
    int lineCount = 0;
    // The file being read, for error locations ("" for in-memory text).
    std::string fileName;
    // The 1-based number of the file line on which `line` started (every line counted, blank
    // and comment lines too), so show makers can find it.
    int fileLine = 0;
    // The comment that made up the whole of the current line (";" and what follows), "" when the
    // line held more than a comment: an empty logical line that a show maker sees as a comment.
    std::string commentText;
    // Why a block refused the current line, when the reason is not that no keyword takes it (a
    // keyword whose value names something that cannot be used); cleared with every line read.
    std::string refusal;

    // Reads the next logical line: leading white space skipped, TABs turned into blanks, ';'
    // starts a comment up to the line feed. Returns "" at the end of the stream. A UTF-8
    // byte-order mark at the very start of the stream is skipped: editors write it, and it is
    // not part of the first keyword.
    std::string readLine(std::istream& stream);
    // readLine into `line`; false once the stream is exhausted and no line came back (a last line
    // without a line feed still counts as read).
    bool next(std::istream& stream);

    bool contains(const char* keyword) const { return contains(line, keyword); }
    static bool contains(const std::string& text, const char* keyword);

    // Text between the first and last double quote of `line` (see the implementation).
    std::string quotedText() const { return quotedText(line); }
    static std::string quotedText(const std::string& text);

    // Opens `path` (backslash form allowed) and hands the stream to `parse`; throws
    // ImageScriptException("Unable to open scriptfile " + path, -1) when it can't be opened.
    // Exceptions thrown while parsing get the file name attached.
    bool load(const std::string& path);

    // How many of the lines from here to the end of the stream `counts` accepts (tested on a
    // copy of this reader); the stream is put back where it was. Tells a show maker how much a
    // stopped script left unread.
    int countAhead(std::istream& stream, const std::function<bool(const ScriptReader&)>& counts) const;

    // Builds the exception for the current line: message as given, lineCount, file and line.
    ImageScriptException error(const std::string& message) const;

protected:
    // The script kind's parser. The base reads nothing.
    virtual bool parse(std::istream& stream);

private:
    int lineFeedsRead_ = 0;
};

// Values behind a line's keyword: the first word is skipped and the rest read with the C scan
// rules. A value that does not convert leaves its variable unchanged; the count converted is
// returned. Formats: one per arity, as the scripts use them.
int scanFloats(const std::string& line, float& a);
int scanFloats(const std::string& line, float& a, float& b);
int scanFloats(const std::string& line, float& a, float& b, float& c);
int scanFloats(const std::string& line, float& a, float& b, float& c, float& d);
int scanFloats(const std::string& line, float& a, float& b, float& c, float& d, float& e);
int scanFloats(const std::string& line, float& a, float& b, float& c, float& d, float& e, float& f);
int scanInts(const std::string& line, int& a);
int scanInts(const std::string& line, int& a, int& b);
// "%*s %d %s": an integer and one word.
int scanIntWord(const std::string& line, int& a, std::string& word);
// "%*s %hd %hd": two 16-bit integers.
int scanShorts(const std::string& line, short& a, short& b);
// Any other format: the same rules with a format of the caller's ("%*s ..."), values as pointers.
template <class... T>
int scanLine(const std::string& line, const char* format, T*... values)
{
    return std::sscanf(line.c_str(), format, values...);
}
