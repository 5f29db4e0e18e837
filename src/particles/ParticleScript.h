// What the particle-system readers share: keyword tables tested in order on a line, quoted
// values, passing over the rest of a refused block, and the log line that says why.
#pragma once
#include "script/ScriptReader.h"

#include <istream>
#include <span>
#include <string>

namespace particles {

// One keyword and what its line does to the object being read.
template <class T>
struct Keyword {
    const char* text;
    void (*read)(const std::string& line, T& target);
};

// Runs the first keyword of `table` (in table order) that `line` contains; false when none does.
template <class T>
bool readKeyword(const std::string& line, std::span<const Keyword<T>> table, T& target)
{
    for (const Keyword<T>& keyword : table) {
        if (ScriptReader::contains(line, keyword.text)) {
            keyword.read(line, target);
            return true;
        }
    }
    return false;
}

// The text strictly between the first and the last double quote; empty when the line holds
// fewer than two quotes.
std::string quotedValue(const std::string& line);

// Reads on to the line that closes the block the reader is in (blocks opened on the way are
// passed over whole), or to the end of the stream.
void skipBlock(ScriptReader& reader, std::istream& stream);

// "Particle system in FILE line N "TEXT": WHY" in the log, for the current line.
void logRefusal(const ScriptReader& reader, const char* why);

} // namespace particles
