// The frame clock's lock on the music: a sound card whose clock drifts from the counter and
// whose first samples are heard some 80 ms after the first frame.
#include "app/ClockLock.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct LockRun {
    double firstOffset = 0, largestLocked = 0;
    bool backwards = false, jumped = false;
};

// 60 frames a second of counter time; the music runs `drift` faster and starts `late` seconds
// behind the picture.
LockRun play(double drift, double late, double seconds)
{
    ClockLock lock;
    LockRun run;
    const double frame = 1.0 / 60.0;
    double counter = 0, picture = 0;
    for (int k = 1; counter < seconds; ++k) {
        counter += frame;
        const double heard = std::max(0.0, (counter - late) * (1.0 + drift));
        double step = frame;
        const double correction = lock.step(heard - (picture + step), frame);
        step += correction;
        run.backwards = run.backwards || step <= 0;
        run.jumped = run.jumped || std::abs(correction) > 0.1 * frame + 1e-12;
        picture += step;
        if (k == 1)
            run.firstOffset = lock.startOffset();
        if (counter > late + 2.0)
            run.largestLocked = std::max(run.largestLocked, std::abs(heard - picture));
    }
    EXPECT_NEAR(lock.largestCorrection(), 0.1 * frame, 1e-9); // the start needed the most
    return run;
}

} // namespace

TEST(ClockLock, PictureFollowsADriftingLateSoundCardWithinAFrame)
{
    for (double drift : {-0.002, 0.0, 0.002}) {
        const LockRun run = play(drift, 0.08, 358.109);
        EXPECT_LT(run.firstOffset, 0.0) << drift; // the picture starts ahead of the sound
        EXPECT_LT(run.largestLocked, 1.0 / 60.0) << drift;
        EXPECT_FALSE(run.backwards) << drift;
        EXPECT_FALSE(run.jumped) << drift;
    }
}

TEST(ClockLock, SettlesAgainAfterARestart)
{
    ClockLock lock;
    for (int k = 0; k < 300; ++k)
        lock.step(0.0, 1.0 / 60.0);
    EXPECT_EQ(lock.largestLockedOffset(), 0.0);
    lock.restart();
    // A restart's first second is not counted as lost lock, later offsets are.
    lock.step(0.2, 1.0 / 60.0);
    EXPECT_EQ(lock.largestLockedOffset(), 0.0);
    for (int k = 0; k < 150; ++k)
        lock.step(0.0, 1.0 / 60.0);
    lock.step(0.01, 1.0 / 60.0);
    EXPECT_DOUBLE_EQ(lock.largestLockedOffset(), 0.01);
    EXPECT_EQ(lock.framesApart(), 0);
    lock.step(-0.02, 1.0 / 60.0);
    EXPECT_EQ(lock.framesApart(), 1);
    EXPECT_GT(lock.settledFrames(), 1);
    EXPECT_DOUBLE_EQ(lock.startOffset(), 0.0); // the first measurement of the run
}
