// The one error type of every script reader: a message that is shown as it stands, the line
// count at the failure (-1 when no line is involved) and, for show makers, where it happened.
#pragma once
#include <stdexcept>
#include <string>

class ImageScriptException : public std::runtime_error {
public:
    ImageScriptException(const std::string& message, int lineNumber)
        : std::runtime_error(message), lineNumber(lineNumber) {}

    int lineNumber;       // the reader's count of logical lines (blank and comment lines skipped)
    int fileLine = 0;     // the line of the file, counting every line; 0 when unknown
    std::string fileName; // the script being read, when known
    std::string lineText; // the offending line, when known
    bool commentLine = false; // the offending line held only a comment
    std::string plain;        // the problem in a show maker's words, when the thrower knows them

    // "FILE line N: "TEXT"" for the log and standard error, N the file line when known;
    // empty parts are left out.
    std::string location() const;
};
