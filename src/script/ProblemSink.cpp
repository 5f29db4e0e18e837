#include "script/ProblemSink.h"

#include "platform/MessageBox.h"
#include "script/ImageScriptException.h"

namespace {
// The sink of the check or reload running now; like the managers' instance pointers it is set
// and cleared by its owner (a Scope), so tests install their own.
ProblemSink* g_sink = nullptr;
Problem g_here;
} // namespace

ProblemSink::Scope::Scope(ProblemSink& sink) : previous_(g_sink) { g_sink = &sink; }

ProblemSink::Scope::~Scope()
{
    g_sink = previous_;
    if (!g_sink)
        g_here = {};
}

ProblemCollector::ProblemCollector(bool readsOn) : readsOn_(readsOn), scope_(*this)
{
    platform::setMessageBoxDiversion([](const std::string& title, const std::string& text) {
        problems::reportHere(title + ": " + text);
    });
}

ProblemCollector::~ProblemCollector() { platform::setMessageBoxDiversion({}); }

namespace problems {

bool active() { return g_sink != nullptr; }

bool readsOn() { return g_sink && g_sink->readsOn(); }

void report(const std::string& file, int line, const std::string& message)
{
    if (g_sink)
        g_sink->report({file, line, message});
}

void report(const ImageScriptException& e)
{
    std::string message = e.what();
    if (!e.lineText.empty())
        message += ": \"" + e.lineText + "\"";
    report(e.fileName, e.fileLine > 0 ? e.fileLine : (e.lineNumber > 0 ? e.lineNumber : 0), message);
}

void reportHere(const std::string& message) { report(g_here.file, g_here.line, message); }

void setHere(const std::string& file, int line)
{
    if (!g_sink)
        return;
    g_here.file = file;
    g_here.line = line;
}

std::string format(const Problem& problem)
{
    if (problem.file.empty())
        return problem.message;
    if (problem.line <= 0)
        return problem.file + ": " + problem.message;
    return problem.file + ":" + std::to_string(problem.line) + ": " + problem.message;
}

std::string quoted(const std::string& name) { return "\"" + name + "\""; }

} // namespace problems
