// The reader and maker of one effect kind: the block keyword, the shared block and common-line
// readers, and a template that gives a kind its own keyword table.
#pragma once
#include "effects/Effect.h"
#include "script/ScriptReader.h"

#include <istream>
#include <memory>
#include <span>
#include <string>

class EffectType {
public:
    explicit EffectType(std::string kindName) : name(std::move(kindName)) {}
    virtual ~EffectType() = default;
    EffectType(const EffectType&) = delete;
    EffectType& operator=(const EffectType&) = delete;

    // A new effect of this kind; the base makes none.
    virtual std::unique_ptr<Effect> create() const;
    // Reads the lines of a block up to the first line holding "}" (or the end of the stream),
    // handing each to readLine. False as soon as readLine refuses a line; the refused line is
    // then left in reader.line.
    virtual bool readBlock(ScriptReader& reader, std::istream& stream, Effect& effect) const;
    // The common keywords: "Name ", "Start ", "End ", "Layer ", "Keyframer {", "KeyframerLW {",
    // tested in that order on reader.line. False when none matches. Throws
    // ImageScriptException when an animator block can't be read.
    virtual bool readLine(ScriptReader& reader, std::istream& stream, Effect& effect) const;

    // The keyword that opens a block of this kind ("Image" for "Image {").
    const std::string name;
};

// A kind whose own lines are keywords with a reader each, tested in table order after the common
// keywords; the first keyword the line contains wins. A keyword either reads its values from the
// line (`read`), may refuse the line (`accept`, false stops the loader), or reads with the line
// reader and the stream, for nested blocks (`readBlock`, false refuses). A kind constructed with
// an `unknownToken` message raises it for a line no keyword takes; otherwise such a line is
// refused.
template <class E>
class EffectKind : public EffectType {
public:
    struct Keyword {
        using Read = void (*)(const std::string& line, E& effect);
        using Accept = bool (*)(const std::string& line, E& effect);
        using ReadBlock = bool (*)(ScriptReader& reader, std::istream& stream, E& effect);

        constexpr Keyword(const char* keyword, Read reader, Accept acceptor = nullptr)
            : text(keyword), read(reader), accept(acceptor) {}
        constexpr Keyword(const char* keyword, ReadBlock reader) : text(keyword), readBlock(reader) {}

        const char* text;
        Read read = nullptr;
        Accept accept = nullptr;
        ReadBlock readBlock = nullptr;
    };

    EffectKind(std::string kindName, std::span<const Keyword> keywords,
               const char* unknownToken = nullptr)
        : EffectType(std::move(kindName)), keywords_(keywords), unknownToken_(unknownToken) {}

    std::unique_ptr<Effect> create() const override { return std::make_unique<E>(); }

    bool readLine(ScriptReader& reader, std::istream& stream, Effect& effect) const override
    {
        if (EffectType::readLine(reader, stream, effect))
            return true;
        for (const Keyword& keyword : keywords_) {
            if (reader.contains(keyword.text)) {
                // The type only ever reads effects that its own create made.
                E& own = static_cast<E&>(effect);
                if (keyword.readBlock)
                    return keyword.readBlock(reader, stream, own);
                if (keyword.accept)
                    return keyword.accept(reader.line, own);
                keyword.read(reader.line, own);
                return true;
            }
        }
        if (unknownToken_)
            throw reader.error(unknownToken_);
        return false;
    }

private:
    std::span<const Keyword> keywords_;
    const char* unknownToken_;
};
