// The time since an effect's previous update. The first update steps by 0.001 s: a last time of
// exactly 0 means "never updated".
#pragma once

struct FrameStep {
    float lastTime = 0.0f;

    float next(float time)
    {
        if (lastTime == 0.0f)
            lastTime = time - 0.001f;
        const float step = time - lastTime;
        lastTime = time;
        return step;
    }

    // Makes the next step span everything since `from` (with the first step's 0.001 s), as if
    // updates had run frame by frame from there: the catch-up of kinds whose state moves in
    // proportion to the time stepped.
    void resumeFrom(float from)
    {
        lastTime = from - 0.001f;
        if (lastTime == 0.0f)
            lastTime = -1e-9f;  // 0 would read as "never updated"
    }
};
