// The closing text's scroll: lines rise at 24 pixels a second and a new line joins at the
// bottom every 21 pixels, up to the last of the text's 55 lines.
#pragma once

class GreetingsScroll {
public:
    static constexpr int kLines = 55;
    static constexpr float kLineHeight = 21.0f;
    static constexpr float kPixelsPerSecond = 24.0f;
    static constexpr float kStartY = -12.0f;
    static constexpr float kTopY = 501.0f;

    // `startTime` is the show time of the first advance's previous frame.
    explicit GreetingsScroll(float startTime = 0.0f) : lastTime_(startTime) {}

    // Moves on to show time `time`.
    void advance(float time);

    int firstLine() const { return firstLine_; }
    int lastLine() const { return lastLine_; }
    float textY() const { return textY_; }
    float accumulator() const { return accumulator_; }
    // Where line `line` (firstLine .. lastLine) is printed: the newest at the integer part of
    // textY, each older one a line height further up.
    int lineY(int line) const { return int(textY_) + int(kLineHeight) * (lastLine_ - line); }

private:
    float lastTime_;
    int firstLine_ = 0;
    int lastLine_ = 0;
    float textY_ = kStartY;
    float accumulator_ = 0.0f;
};

// The greetings scene graph's animation time: after 335.109 s it plays again from 294.243 s.
float greetingsAnimationTime(float time);
