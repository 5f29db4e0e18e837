#include "app/ClockLock.h"

#include <algorithm>
#include <cmath>

double ClockLock::step(double error, double frameTime)
{
    if (!measured_) {
        measured_ = true;
        startOffset_ = error;
    }
    settled_ += frameTime;
    if (settled_ > kSettleSeconds) {
        largestLocked_ = std::max(largestLocked_, std::abs(error));
        ++settledFrames_;
        framesApart_ += std::abs(error) > 1.0 / 60.0;
    }
    const double most = kMostPerFrame * std::max(frameTime, 0.0);
    const double correction = std::clamp(kGain * error, -most, most);
    largestCorrection_ = std::max(largestCorrection_, std::abs(correction));
    return correction;
}
