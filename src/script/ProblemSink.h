// Where the loaders send the problems they meet while a show is checked or reloaded: a sink
// receives "file, line, message" records instead of message boxes and stopped start-ups.
// Without an installed sink (a plain start) nothing here changes how loading behaves.
#pragma once
#include <string>
#include <vector>

class ImageScriptException;

struct Problem {
    std::string file; // show path of the script or data file ("" when the show's code names it)
    int line = 0;     // 1-based file line; 0 when the problem belongs to no line
    std::string message;
};

class ProblemSink {
public:
    virtual ~ProblemSink() = default;
    virtual void report(const Problem& problem) = 0;
    // True when loaders should read on past a problem that would stop start-up (a check that
    // wants every problem); false when they stop as start-up does (a reload plays what it got).
    virtual bool readsOn() const { return false; }

    // Installs a sink for the lifetime of the scope and restores the one before it.
    class Scope {
    public:
        explicit Scope(ProblemSink& sink);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        ProblemSink* previous_;
    };
};

// Collects the problems met while it lives: installed as the sink, with message boxes turned
// into problems at the place being read instead of being shown.
class ProblemCollector : public ProblemSink {
public:
    explicit ProblemCollector(bool readsOn);
    ~ProblemCollector() override;

    void report(const Problem& problem) override { problems_.push_back(problem); }
    bool readsOn() const override { return readsOn_; }
    const std::vector<Problem>& problems() const { return problems_; }

private:
    bool readsOn_;
    std::vector<Problem> problems_;
    Scope scope_;
};

namespace problems {

// Whether a sink is installed, and whether it wants loaders to read on.
bool active();
bool readsOn();
void report(const std::string& file, int line, const std::string& message);
// A script exception at its file and line, with the line's text behind the message.
void report(const ImageScriptException& e);
// At the script line being read now (the last line a ScriptReader read while a sink is
// installed): for lookups made deep inside a reader that has no reader at hand.
void reportHere(const std::string& message);
void setHere(const std::string& file, int line);

// "FILE:LINE: message" (the form editors jump to), "FILE: message" without a line, the message
// alone without a file.
std::string format(const Problem& problem);
// Problem texts: a name quoted as a show maker wrote it.
std::string quoted(const std::string& name);

} // namespace problems
