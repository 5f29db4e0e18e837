// Loads the whole show again with a new start offset into a fresh set of managers and swaps it
// in once it loaded; after a script error, or a load that loses what the show in use plays, the
// show in use keeps playing. A reload at time t leaves the program as a fresh start at t would.
#pragma once
#include "app/ShowWorld.h"
#include "script/ProblemSink.h"

#include <memory>
#include <vector>

class PBuffer;

class ShowReloader {
public:
    struct Result {
        bool loaded = false;       // false: a script error; the previous show is still current
        bool losesMore = false;    // loaded, but lost what the show in use plays: not swapped in
        double milliseconds = 0.0; // how long loading took
        std::vector<Problem> problems;
    };

    // Start-up's loading sequence at `time` (GL resting state, managers, scripts, scenes,
    // prepareAll; the render target made afresh). Problems are collected, never shown in
    // boxes. The previous show is torn down only after the new one loaded without losing
    // anything beyond the problems it already had (`standing`).
    Result reload(float time, PBuffer* pbuffer, const std::vector<Problem>& standing);

private:
    std::unique_ptr<ShowWorld> world_; // the set in use when a reload made it
};
