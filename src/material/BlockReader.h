// Reads one block of a material script: keyword rules tested in order on each line, the first
// match wins, "}" ends the block, and any other line is the block's unknown-token error.
#pragma once
#include "core/GL.h"
#include "script/ScriptReader.h"

#include <functional>
#include <initializer_list>
#include <istream>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

// One keyword of a block and what its line does. An action may return false to stop the block
// (the block then reports failure); actions returning nothing keep reading.
struct BlockRule {
    template <class F>
    BlockRule(const char* keyword, F f) : keyword(keyword)
    {
        if constexpr (std::is_void_v<std::invoke_result_t<F>>)
            action = [f = std::move(f)]() { f(); return true; };
        else
            action = std::move(f);
    }
    const char* keyword;
    std::function<bool()> action;
};

// Reads lines into reader.line until the block ends. A rule whose keyword is "}" takes the
// closing line at its place in the order (its action runs, then the block ends); without one,
// "}" is tested after every rule. A line that matches nothing throws `unknownMessage` through
// reader.error. True when the block was closed, false when an action stopped it.
bool readBlock(ScriptReader& reader, std::istream& stream, std::initializer_list<BlockRule> rules,
               const char* unknownMessage);

// A value word of the scripts and the GL constant it names.
struct GLWord {
    const char* word;
    GLenum value;
};

// The first word of `words`, in table order, that occurs anywhere in `line`; null when none.
const GLWord* findWord(const std::string& line, std::span<const GLWord> words);
// Sets `field` from the first word found; leaves it alone and returns false when none is.
bool setFromWords(const std::string& line, std::span<const GLWord> words, GLenum& field);
// The yes/no keywords: true when the line contains "yes" anywhere.
bool isYes(const std::string& line);
// The comparison words of the Stencil and ZBuffer blocks, longer words before the words they
// contain: NEVER, LESS, LEQUAL, GREATER, GEQUAL, NOTEQUAL, EQUAL, ALWAYS.
std::span<const GLWord> compareWords();
// "%*s %f %f %f %f" into a colour or plane; values that do not convert stay as they were.
int scanColour(const std::string& line, float (&colour)[4]);
