#include "script/ProblemSink.h"

#include "platform/MessageBox.h"
#include "script/ImageScriptException.h"

#include <string_view>

namespace {
// The sink of the load, check or reload running now; like the managers' instance pointers it is
// set and cleared by its owner (a Scope), so tests install their own.
ProblemSink* g_sink = nullptr;
Problem g_here;

// The block kind named by a reader's "unknown token" message, "" for any other message.
std::string unknownTokenKind(std::string_view message)
{
    struct Pattern {
        std::string_view before, after;
    };
    // "TunnelEffect unknown token", "PARSE ERROR! Unknown Shader Token".
    constexpr Pattern kPatterns[] = {{"", "Effect unknown token"}, {"PARSE ERROR! Unknown ", " Token"}};
    for (const Pattern& p : kPatterns) {
        if (message.size() > p.before.size() + p.after.size() && message.starts_with(p.before) &&
            message.ends_with(p.after)) {
            const std::string_view kind =
                message.substr(p.before.size(), message.size() - p.before.size() - p.after.size());
            if (kind.find(' ') == std::string_view::npos)
                return std::string(kind);
        }
    }
    return {};
}
} // namespace

ProblemSink::Scope::Scope(ProblemSink& sink) : previous_(g_sink) { g_sink = &sink; }

ProblemSink::Scope::~Scope()
{
    g_sink = previous_;
    if (!g_sink)
        g_here = {};
}

ProblemCollector::ProblemCollector(bool readsOn, bool divertBoxes)
    : readsOn_(readsOn), divertBoxes_(divertBoxes), scope_(*this)
{
    platform::setMessageBoxDiversion(
        [divertBoxes](const std::string& title, const std::string& text) {
            Problem problem = problems::here();
            problem.message = title + ": " + text;
            problem.loses = true; // a box: what raised it does not play as written
            problem.boxed = !divertBoxes;
            problems::report(problem);
        },
        !divertBoxes);
}

ProblemCollector::~ProblemCollector() { platform::setMessageBoxDiversion({}); }

namespace problems {

bool active() { return g_sink != nullptr; }

bool readsOn() { return g_sink && g_sink->readsOn(); }

bool divertsBoxes() { return g_sink && g_sink->divertsBoxes(); }

void report(const Problem& problem)
{
    if (g_sink)
        g_sink->report(problem);
}

void report(const std::string& file, int line, const std::string& message)
{
    Problem problem;
    problem.file = file;
    problem.line = line;
    problem.message = message;
    report(problem);
}

void report(const ImageScriptException& e, const std::string& cost)
{
    Problem problem;
    problem.file = e.fileName;
    problem.line = e.fileLine > 0 ? e.fileLine : (e.lineNumber > 0 ? e.lineNumber : 0);
    problem.message = plainWords(e);
    problem.text = e.lineText;
    problem.cost = cost;
    problem.loses = true;
    report(problem);
}

void reportHere(const std::string& message)
{
    Problem problem = g_here;
    problem.message = message;
    report(problem);
}

void setHere(const std::string& file, int line, const std::string& text)
{
    if (!g_sink)
        return;
    g_here.file = file;
    g_here.line = line;
    g_here.text = text;
}

Problem here() { return g_here; }

std::string printable(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\r' || c == '\n')
            continue;
        out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
    return out;
}

std::string format(const Problem& problem)
{
    std::string out;
    if (!problem.file.empty()) {
        out = problem.file;
        if (problem.line > 0)
            out += ":" + std::to_string(problem.line);
        out += ": ";
    }
    out += problem.message;
    if (!problem.text.empty())
        out += ": " + quoted(printable(problem.text));
    if (!problem.cost.empty())
        out += "; " + problem.cost;
    return out;
}

std::string quoted(const std::string& name) { return "\"" + name + "\""; }

std::string refusedLine(const std::string& kind, bool commentLine)
{
    if (commentLine)
        return "a comment line is not allowed inside a " + kind +
               " block; put it after the block's last line or at the end of a keyword line";
    return "no keyword of the " + kind + " block takes this line";
}

std::string plainWords(const ImageScriptException& e)
{
    if (!e.plain.empty())
        return e.plain;
    const std::string message = e.what();
    const std::string kind = unknownTokenKind(message);
    if (!kind.empty())
        return refusedLine(kind, e.commentLine);
    constexpr std::string_view kUnopened = "Unable to open scriptfile ";
    if (message.starts_with(kUnopened))
        return "the script file " + message.substr(kUnopened.size()) + " does not exist or cannot be read";
    // The box's alarm word says nothing the record does not.
    constexpr std::string_view kAlarm = "PARSE ERROR! ";
    if (message.starts_with(kAlarm))
        return message.substr(kAlarm.size());
    return message;
}

bool same(const Problem& a, const Problem& b)
{
    return a.file == b.file && a.message == b.message && a.text == b.text;
}

bool losesMore(const std::vector<Problem>& next, const std::vector<Problem>& now)
{
    for (const Problem& problem : next) {
        if (!problem.loses)
            continue;
        bool known = false;
        for (const Problem& old : now)
            known = known || same(problem, old);
        if (!known)
            return true;
    }
    return false;
}

std::string blocksLost(int lost)
{
    if (lost == 0)
        return "no block after it is lost";
    return lost == 1 ? "the block after it is not loaded"
                     : "the " + std::to_string(lost) + " blocks after it are not loaded";
}

} // namespace problems
