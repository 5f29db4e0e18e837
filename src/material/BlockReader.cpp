#include "material/BlockReader.h"

bool readBlock(ScriptReader& reader, std::istream& stream, std::initializer_list<BlockRule> rules,
               const char* unknownMessage)
{
    bool closingRule = false;
    for (const BlockRule& rule : rules)
        closingRule = closingRule || std::string_view(rule.keyword) == "}";
    for (;;) {
        // At the end of the stream the reader keeps returning empty lines, which match nothing
        // and so end an unterminated block in its unknown-token error.
        reader.next(stream);
        const BlockRule* match = nullptr;
        for (const BlockRule& rule : rules) {
            if (reader.contains(rule.keyword)) {
                match = &rule;
                break;
            }
        }
        if (match) {
            if (!match->action())
                return false;
            if (closingRule && std::string_view(match->keyword) == "}")
                return true;
            continue;
        }
        if (reader.contains("}"))
            return true;
        throw reader.error(unknownMessage);
    }
}

const GLWord* findWord(const std::string& line, std::span<const GLWord> words)
{
    for (const GLWord& w : words) {
        if (ScriptReader::contains(line, w.word))
            return &w;
    }
    return nullptr;
}

bool setFromWords(const std::string& line, std::span<const GLWord> words, GLenum& field)
{
    const GLWord* w = findWord(line, words);
    if (!w)
        return false;
    field = w->value;
    return true;
}

bool isYes(const std::string& line) { return ScriptReader::contains(line, "yes"); }

int scanColour(const std::string& line, float (&colour)[4])
{
    return scanFloats(line, colour[0], colour[1], colour[2], colour[3]);
}

std::span<const GLWord> compareWords()
{
    static constexpr GLWord words[] = {
        {"NEVER", GL_NEVER},     {"LESS", GL_LESS},         {"LEQUAL", GL_LEQUAL},
        {"GREATER", GL_GREATER}, {"GEQUAL", GL_GEQUAL},     {"NOTEQUAL", GL_NOTEQUAL},
        {"EQUAL", GL_EQUAL},     {"ALWAYS", GL_ALWAYS},
    };
    return words;
}
