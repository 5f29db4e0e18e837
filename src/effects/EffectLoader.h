// Reads ".effect" timeline scripts: finds the blocks of the known kinds, lets each kind read its
// block and registers the effects with the timeline.
#pragma once
#include "effects/EffectType.h"

#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class EffectTimeline;

class EffectLoader {
public:
    // Creates one type per kind of the kind table; effects go to `timeline` (the program's
    // timeline when none is given).
    explicit EffectLoader(EffectTimeline* timeline = nullptr);
    // Destroys the types, last first. The effects read belong to the timeline and stay.
    ~EffectLoader();
    EffectLoader(const EffectLoader&) = delete;
    EffectLoader& operator=(const EffectLoader&) = delete;

    // Reads one script and registers every effect it holds. False when the file can't be opened
    // or reading stopped at a block that could not be made or read (effects registered before
    // stay); true when the end of the file was reached. ImageScriptException from a block
    // (an animator that can't be read) leaves this call with the file and line filled in.
    bool load(const std::string& fileName);
    // The same for a script already open; `fileName` names it in messages.
    bool load(std::istream& stream, const std::string& fileName);

    // The blocks of the kinds this loader reads from the reader's position to the end of the
    // stream; the stream is left where it was.
    int countBlocks(const ScriptReader& from, std::istream& stream) const;

    // The type whose kind name equals `kindWord` exactly, or none.
    const EffectType* findType(const std::string& kindWord) const;
    const std::vector<std::unique_ptr<EffectType>>& types() const { return types_; }

    // The show's own end from a timeline script: the line "ShowEnd SECONDS" outside every block
    // (a line this loader passes over, as it passes over every line outside blocks). None when
    // the file has no such line or can't be opened. A line without a time above 0, or a second
    // one, is reported as a problem and left out.
    static std::optional<double> readShowEnd(const std::string& fileName);
    static std::optional<double> readShowEnd(std::istream& stream, const std::string& fileName);

    // Every kind keyword of the timeline script, in table order, whether or not this build can
    // read that kind yet.
    static std::vector<std::string> kindNames();

private:
    std::vector<std::unique_ptr<EffectType>> types_;
    EffectTimeline* timeline_;
};
