// Where the loaders send the problems they meet while a show loads, is checked or reloaded: a
// sink receives one record per problem (file, line, the line's text, a message in plain words and
// what the problem costs). Start-up keeps boxes as they are and collects beside them; a check or a
// reload turns boxes into problems instead.
#pragma once
#include <string>
#include <vector>

class ImageScriptException;

struct Problem {
    std::string file; // show path of the script or data file ("" when the show's code names it)
    int line = 0;     // 1-based file line; 0 when the problem belongs to no line
    std::string message;
    std::string text; // the line as the maker wrote it ("" when the problem has no line)
    std::string cost; // what the show loses by it ("" when nothing beyond the message)
    // Something of the show is gone: blocks not loaded, a block or a node ignored, a scene that
    // fails. A watched run keeps its last good show rather than take a load that loses more.
    bool loses = false;
    // The problem already went out as a message box (and with it to standard error).
    bool boxed = false;
};

class ProblemSink {
public:
    virtual ~ProblemSink() = default;
    virtual void report(const Problem& problem) = 0;
    // True when loaders should read on past a problem that would stop start-up (a check that
    // wants every problem); false when they stop as start-up does (a reload plays what it got).
    virtual bool readsOn() const { return false; }
    // True when message boxes become problems instead of being shown (a check, a reload).
    virtual bool divertsBoxes() const { return true; }

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

// Collects the problems met while it lives. Boxes become problems at the place being read: in
// place of the box (`divertBoxes`), or beside it, the box still shown as start-up shows it.
class ProblemCollector : public ProblemSink {
public:
    explicit ProblemCollector(bool readsOn, bool divertBoxes = true);
    ~ProblemCollector() override;

    void report(const Problem& problem) override { problems_.push_back(problem); }
    bool readsOn() const override { return readsOn_; }
    bool divertsBoxes() const override { return divertBoxes_; }
    const std::vector<Problem>& problems() const { return problems_; }

private:
    bool readsOn_;
    bool divertBoxes_;
    std::vector<Problem> problems_;
    Scope scope_;
};

namespace problems {

// Whether a sink is installed, whether it wants loaders to read on, and whether it takes the
// place of message boxes.
bool active();
bool readsOn();
bool divertsBoxes();
void report(const Problem& problem);
void report(const std::string& file, int line, const std::string& message);
// A script exception at its file and line, with the line's text and the message in plain words
// (see plainWords); `cost` says what the show loses by it.
void report(const ImageScriptException& e, const std::string& cost);
// At the script line being read now (the last line a ScriptReader read while a sink is
// installed): for lookups made deep inside a reader that has no reader at hand.
void reportHere(const std::string& message);
void setHere(const std::string& file, int line, const std::string& text = {});
// The file and line reportHere uses now.
Problem here();

// "FILE:LINE: message: "text"; cost" (the form editors jump to); the parts that are empty are
// left out, the file and line too. Line text is shown without a carriage return.
std::string format(const Problem& problem);
// Problem texts: a name quoted as a show maker wrote it.
std::string quoted(const std::string& name);
// The line text without the carriage return of a Windows line end (and without any other
// control character that would garble a terminal line).
std::string printable(const std::string& text);
// A reader's message in the show maker's words: the thrower's own when it gave one, the block
// kind of an "unknown token" message (with a hint when the refused line was a comment), and
// otherwise the message without its "PARSE ERROR!" alarm.
std::string plainWords(const ImageScriptException& e);
// "a comment line is not allowed inside a KIND block; ..." or "no keyword of the KIND block
// takes this line", for a line a block of `kind` refused.
std::string refusedLine(const std::string& kind, bool commentLine);
// Two records of the same problem, wherever its line moved to.
bool same(const Problem& a, const Problem& b);
// True when `next` holds a problem that loses something and is not among `now` (a load that
// would play less than the show in use).
bool losesMore(const std::vector<Problem>& next, const std::vector<Problem>& now);
// The cost of a script that stopped reading: "the N blocks after it are not loaded".
std::string blocksLost(int lost);

} // namespace problems
