#include "effects/EffectType.h"

#include "animation/Keyframer.h"
#include "animation/KeyframerLW.h"

namespace {

void readName(ScriptReader& reader, std::istream&, Effect& effect)
{
    effect.name = reader.quotedText();
}

void readStart(ScriptReader& reader, std::istream&, Effect& effect)
{
    scanFloats(reader.line, effect.start);
}

void readEnd(ScriptReader& reader, std::istream&, Effect& effect)
{
    scanFloats(reader.line, effect.end);
}

void readLayer(ScriptReader& reader, std::istream&, Effect& effect)
{
    scanInts(reader.line, effect.layer);
}

void readKeyframer(ScriptReader& reader, std::istream& stream, Effect& effect)
{
    auto keyframer = std::make_unique<Keyframer>();
    if (!keyframer->read(reader, stream))
        throw reader.error("Effect unable to load Keyframer");
    effect.animator = std::move(keyframer);
}

void readKeyframerLW(ScriptReader& reader, std::istream& stream, Effect& effect)
{
    auto keyframer = std::make_unique<KeyframerLW>();
    if (!keyframer->read(reader, stream))
        throw reader.error("Effect unable to load KeyframerLW");
    effect.animator = std::move(keyframer);
    // The line after an envelope block is always skipped, whatever it holds (even the "}" that
    // closes the effect block).
    reader.line = reader.readLine(stream);
}

struct CommonKeyword {
    const char* text;
    void (*read)(ScriptReader&, std::istream&, Effect&);
};

// In test order: the first keyword the line contains wins.
constexpr CommonKeyword kCommonKeywords[] = {
    {"Name ", readName},
    {"Start ", readStart},
    {"End ", readEnd},
    {"Layer ", readLayer},
    {"Keyframer {", readKeyframer},
    {"KeyframerLW {", readKeyframerLW},
};

} // namespace

std::unique_ptr<Effect> EffectType::create() const { return nullptr; }

bool EffectType::readBlock(ScriptReader& reader, std::istream& stream, Effect& effect) const
{
    // The end of the stream inside a block completes the block.
    while (reader.next(stream)) {
        if (reader.contains("}"))
            return true;
        if (!readLine(reader, stream, effect))
            return false;
    }
    return true;
}

bool EffectType::readLine(ScriptReader& reader, std::istream& stream, Effect& effect) const
{
    for (const CommonKeyword& keyword : kCommonKeywords) {
        if (reader.contains(keyword.text)) {
            keyword.read(reader, stream, effect);
            return true;
        }
    }
    return false;
}
