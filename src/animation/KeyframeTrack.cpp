#include "animation/KeyframeTrack.h"

bool KeyframeTrack::write(std::ostream&) const { return true; }
bool KeyframeTrack::addKey(const float* values)
{
    if (count() >= capacity_)
        return false;
    times_.push_back(values[0]);
    storeKey(values);
    return true;
}
int KeyframeTrack::findSegment(float, float& u) const { u = 0; return -1; }
const char* TranslateTrack::typeName() const { return nullptr; }
void TranslateTrack::prepare() {}
Vector3 TranslateTrack::evaluate(float) const { return {}; }
void TranslateTrack::storeKey(const float* v) { keys_.emplace_back(v[1], v[2], v[3]); tangents_.emplace_back(); }
void TranslateTrack::keyValues(int i, float* v) const { v[0] = times_[i]; }
void RotateTrack::prepare() {}
Quaternion RotateTrack::evaluate(float) const { return {0, 0, 1, 0}; }
void RotateTrack::storeKey(const float*) {}
void RotateTrack::keyValues(int i, float* v) const { v[0] = times_[i]; }
float ScaleTrack::evaluate(float) const { return 1; }
void ScaleTrack::storeKey(const float* v) { keys_.push_back(v[1]); }
void ScaleTrack::keyValues(int i, float* v) const { v[0] = times_[i]; }
bool VisibleTrack::evaluate(float) const { return true; }
