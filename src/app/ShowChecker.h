// --check: loads the whole show the way start-up does, in an off-screen context without audio,
// and lists every problem it meets as "FILE:LINE: message" followed by a summary.
#pragma once
#include "script/ProblemSink.h"

#include <cstdio>
#include <string>
#include <vector>

class ShowChecker {
public:
    // `endTime`: the show's end (358.109, the show's "ShowEnd" line or --until); effects that
    // start after it never show.
    explicit ShowChecker(float endTime) : endTime_(endTime) {}

    // Runs the check in the current folder (the show's) with the current managers and returns
    // the problems found; `contextError` is set when no off-screen context could be made.
    std::vector<Problem> run(std::string& contextError);
    // Prints the problems and the summary; the exit status: 0 clean, 1 problems found.
    // What the run left out of the show on purpose (scenes without files): notes, not problems.
    const std::vector<std::string>& notes() const { return notes_; }
    static int print(const std::vector<Problem>& problems, std::FILE* out);

private:
    // Effects of the timeline whose window never holds a show time.
    void checkWindows() const;
    // Text effects with no view to draw in: a Text block draws through the view a Scene block
    // drawn before it in the frame set up, so one without a Scene effect under it (a layer not
    // above its own) at some time of its window draws nowhere.
    void checkTextViews() const;
    // Files start-up opens by name outside the scripts (the music).
    static void checkFixedFiles();

    float endTime_;
    std::vector<std::string> notes_;
};
