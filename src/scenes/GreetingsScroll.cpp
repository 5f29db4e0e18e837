#include "scenes/GreetingsScroll.h"

void GreetingsScroll::advance(float time)
{
    const float pixels = (time - lastTime_) * kPixelsPerSecond;
    accumulator_ += pixels;
    if (accumulator_ >= kLineHeight) {
        // A new line below the others, which stay where they are; after the last line the
        // count stays.
        accumulator_ -= kLineHeight;
        if (++lastLine_ == kLines)
            lastLine_ = kLines - 1;
        else
            textY_ -= kLineHeight;
    } else {
        textY_ += pixels;
        if (textY_ >= kTopY)
            textY_ -= kLineHeight;
    }
    lastTime_ = time;
}

float greetingsAnimationTime(float time)
{
    return time > 335.109f ? time - 40.865997f : time;
}
