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
};
