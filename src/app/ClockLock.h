// Keeps the frame clock on the music: each frame the picture's clock is nudged toward the
// position the listener hears, by a fraction of the difference and never more than a tenth of
// the frame's own length, so the picture never jumps or runs backwards.
#pragma once

class ClockLock {
public:
    // `error`: the music's heard position minus the picture's show time, in seconds, for a frame
    // that advanced the clock by `frameTime`. Returns the seconds to add to the picture's clock.
    double step(double error, double frameTime);
    // A new start (seek, reload): the offset settles again before it counts as locked.
    void restart() { settled_ = 0.0; }

    bool measured() const { return measured_; }
    // The first difference measured, before any correction.
    double startOffset() const { return startOffset_; }
    // The largest correction applied in one frame.
    double largestCorrection() const { return largestCorrection_; }
    // The largest difference once settled (two seconds after each start).
    double largestLockedOffset() const { return largestLocked_; }
    // Frames measured once settled, and those of them more than a 60 Hz frame (16.7 ms) apart.
    long settledFrames() const { return settledFrames_; }
    long framesApart() const { return framesApart_; }

    static constexpr double kGain = 0.25;
    static constexpr double kMostPerFrame = 0.1; // of the frame's length
    static constexpr double kSettleSeconds = 2.0;

private:
    bool measured_ = false;
    double startOffset_ = 0.0;
    double largestCorrection_ = 0.0;
    double largestLocked_ = 0.0;
    double settled_ = 0.0;
    long settledFrames_ = 0;
    long framesApart_ = 0;
};
