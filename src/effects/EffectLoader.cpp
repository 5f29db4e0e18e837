#include "effects/EffectLoader.h"

#include "animation/KeyframerLW.h"
#include "core/Log.h"
#include "effects/BlocksEffect.h"
#include "effects/CameraEffect.h"
#include "effects/EffectTimeline.h"
#include "effects/FlashEffect.h"
#include "effects/ImageEffect.h"
#include "effects/InvertEffect.h"
#include "effects/LinesEffect.h"
#include "effects/MeshEffect.h"
#include "effects/ParticleEffect.h"
#include "effects/SceneEffect.h"
#include "effects/StreamEffect.h"
#include "effects/TextEffect.h"
#include "effects/TextFadeEffect.h"
#include "effects/TunnelEffect.h"
#include "effects/WaveLinesEffect.h"
#include "platform/Paths.h"
#include "script/ProblemSink.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>

namespace {

struct EffectKindEntry {
    const char* name;
    // Makes the kind's type; none for a kind this build does not read yet, whose blocks are then
    // passed over like any unknown block.
    std::unique_ptr<EffectType> (*makeType)();
};

constexpr EffectKindEntry kEffectKinds[] = {
    {"TextFade", makeTextFadeEffectType},
    {"Image", makeImageEffectType},
    {"Flash", makeFlashEffectType},
    {"Invert", makeInvertEffectType},
    {"Text", makeTextEffectType},
    {"WaveLines", makeWaveLinesEffectType},
    {"Tunnel", makeTunnelEffectType},
    {"Lines", makeLinesEffectType},
    {"Blocks", makeBlocksEffectType},
    {"Scene", makeSceneEffectType},
    {"Stream", makeStreamEffectType},
    {"Camera", makeCameraEffectType},
    {"Mesh", makeMeshEffectType},
    {"Particle", makeParticleEffectType},
};

// The log line a show maker reads when a script stops early.
void logStop(const std::string& fileName, int line, const std::string& text, const char* why)
{
    constexpr std::size_t kShown = 80;
    const std::string shown = text.size() > kShown ? text.substr(0, kShown) + "..." : text;
    logPrint("Effect script %s stopped at line %d \"%s\": %s", fileName.c_str(), line,
             shown.c_str(), why);
}

// What the line a block refused tells the maker: a line that opens a block of a timeline kind
// means the block before it was never closed (after an envelope block, whose next line is always
// passed over, a lone "}" is easily lost); otherwise the line is one the block has no keyword for.
std::string refusalMessage(const EffectLoader& loader, const Effect& effect, const EffectType& type,
                           const std::string& text, bool commentLine)
{
    const auto brace = text.find('{');
    if (brace != std::string::npos && loader.findType(text.substr(0, text.find(' '))) != nullptr) {
        std::string message = "the " + type.name + " block opened at line " + std::to_string(effect.originLine) +
                              " has no \"}\"";
        if (dynamic_cast<const KeyframerLW*>(effect.animator.get()))
            message += " (the line after its KeyframerLW block is always passed over, so that block needs a line of "
                       "its own after its \"}\")";
        return message;
    }
    return problems::refusedLine(type.name, commentLine);
}

// A block the loader stopped at: logged, and reported with how many blocks after it start-up
// does not load. The count is read ahead on a copy of the reader, then the stream is put back.
void reportStop(const EffectLoader& loader, const ScriptReader& reader, std::istream& stream,
                const std::string& why)
{
    logStop(reader.fileName, reader.fileLine, reader.line, why.c_str());
    if (!problems::active())
        return;
    Problem problem;
    problem.file = reader.fileName;
    problem.line = reader.fileLine;
    problem.message = why;
    problem.text = reader.line.empty() ? reader.commentText : reader.line;
    problem.cost = problems::blocksLost(loader.countBlocks(reader, stream));
    problem.loses = true;
    problems::report(problem);
}

// A block whose kind word is no kind of the timeline script: the loader passes over it.
void reportUnknownKind(const ScriptReader& reader, const std::string& kindWord)
{
    if (!problems::active())
        return;
    Problem problem;
    problem.file = reader.fileName;
    problem.line = reader.fileLine;
    problem.message = problems::quoted(kindWord) + " is no block kind of the timeline script";
    problem.text = reader.line;
    problem.cost = "this block is ignored";
    problem.loses = true;
    problems::report(problem);
}

} // namespace

EffectLoader::EffectLoader(EffectTimeline* timeline)
    : timeline_(timeline ? timeline : EffectTimeline::instance)
{
    for (const EffectKindEntry& kind : kEffectKinds) {
        if (kind.makeType)
            types_.push_back(kind.makeType());
    }
}

EffectLoader::~EffectLoader()
{
    while (!types_.empty())
        types_.pop_back();
}

std::vector<std::string> EffectLoader::kindNames()
{
    std::vector<std::string> names;
    for (const EffectKindEntry& kind : kEffectKinds)
        names.emplace_back(kind.name);
    return names;
}

const EffectType* EffectLoader::findType(const std::string& kindWord) const
{
    for (const auto& type : types_) {
        if (type->name == kindWord)
            return type.get();
    }
    return nullptr;
}

int EffectLoader::countBlocks(const ScriptReader& from, std::istream& stream) const
{
    return from.countAhead(stream, [this](const ScriptReader& r) {
        return r.contains("{") && findType(r.line.substr(0, r.line.find(' '))) != nullptr;
    });
}

std::optional<double> EffectLoader::readShowEnd(const std::string& fileName)
{
    std::ifstream stream(platform::nativePath(fileName));
    if (!stream)
        return std::nullopt;
    return readShowEnd(stream, fileName);
}

std::optional<double> EffectLoader::readShowEnd(std::istream& stream, const std::string& fileName)
{
    static constexpr const char* kKeyword = "ShowEnd";
    std::optional<double> end;
    ScriptReader reader;
    reader.fileName = fileName;
    int depth = 0;
    while (reader.next(stream)) {
        const std::string& text = reader.line;
        if (depth == 0 && text.compare(0, std::strlen(kKeyword), kKeyword) == 0) {
            double seconds = 0.0;
            if (scanLine(text, "%*s %lf", &seconds) != 1 || !(seconds > 0.0))
                problems::report(fileName, reader.fileLine,
                                 "ShowEnd needs the show's end in seconds, above 0: " + problems::quoted(text));
            else if (end)
                problems::report(fileName, reader.fileLine,
                                 "a second ShowEnd line (the first one counts): " + problems::quoted(text));
            else
                end = seconds;
        }
        // Blocks open and close with braces, also several on one line ("Force { ... }"); an
        // envelope's "{ Envelope" has no closing line of its own.
        if (!reader.contains("{ Envelope"))
            for (char c : text)
                depth += c == '{' ? 1 : c == '}' ? -1 : 0;
        depth = std::max(depth, 0);
    }
    return end;
}

bool EffectLoader::load(const std::string& fileName)
{
    std::ifstream stream(platform::nativePath(fileName));
    if (!stream) {
        logPrint("Effect script %s can't be opened", fileName.c_str());
        return false;
    }
    return load(stream, fileName);
}

bool EffectLoader::load(std::istream& stream, const std::string& fileName)
{
    if (!timeline_) {
        logPrint("Effect script %s: no timeline to add its effects to", fileName.c_str());
        return false;
    }
    ScriptReader reader;
    reader.fileName = fileName;
    // Depth inside a block that is passed over (one of an unknown kind, or the rest of a block a
    // check read on past), whose nested blocks are not reported again.
    int ignoredDepth = 0;
    while (reader.next(stream)) {
        // Only a line with a brace opens a block; its kind is the word before the first blank.
        if (!reader.contains("{")) {
            if (ignoredDepth > 0 && reader.contains("}"))
                --ignoredDepth;
            continue;
        }
        const std::string kindWord = reader.line.substr(0, reader.line.find(' '));
        const EffectType* type = findType(kindWord);
        if (!type) {
            if (ignoredDepth == 0 && std::isalpha(static_cast<unsigned char>(kindWord[0])))
                reportUnknownKind(reader, kindWord);
            if (!reader.contains("}"))
                ++ignoredDepth;
            continue;
        }
        ignoredDepth = 0;
        std::unique_ptr<Effect> effect = type->create();
        if (!effect) {
            reportStop(*this, reader, stream, "the effect could not be made");
            if (problems::readsOn())
                continue;
            return false;
        }
        effect->origin = fileName;
        effect->originLine = reader.fileLine;
        try {
            if (!type->readBlock(reader, stream, *effect)) {
                const std::string why =
                    !reader.refusal.empty()
                        ? reader.refusal
                        : refusalMessage(*this, *effect, *type, reader.line, reader.line.empty() && !reader.commentText.empty());
                reportStop(*this, reader, stream, why);
                // A check reads on so that the blocks behind this one are checked too; the rest
                // of the stopped block, up to its "}", is passed over.
                if (problems::readsOn()) {
                    ignoredDepth = reader.contains("}") ? 0 : 1 + (reader.contains("{") ? 1 : 0);
                    continue;
                }
                return false;
            }
        } catch (ImageScriptException& e) {
            if (e.fileName.empty() || e.fileName == fileName) {
                e.fileName = fileName;
                e.fileLine = reader.fileLine;
                if (e.lineText.empty())
                    e.lineText = reader.line;
                if (e.plain.empty() && ScriptReader::contains(e.what(), "unknown token"))
                    e.plain = refusalMessage(*this, *effect, *type, reader.line, e.commentLine);
            }
            logStop(e.fileName, e.fileLine > 0 ? e.fileLine : e.lineNumber, e.lineText, e.what());
            if (!problems::readsOn())
                throw;
            problems::report(e, "start-up stops here with a SCRIPTING ERROR box");
            ignoredDepth = reader.contains("}") ? 0 : 1;
            continue;
        }
        timeline_->add(std::move(effect));
    }
    return true;
}
