// The tracks of a Keyframer: timed keys of one quantity (translation, rotation, scale,
// visibility), each kind with its own interpolation.
#pragma once
#include "math/Quaternion.h"
#include "math/Vector3.h"

#include <iosfwd>
#include <vector>

// Shared layout: a capacity fixed at creation (the NumKeys value), and the keys' times in the
// order written (they must ascend; they are not sorted). Keys are appended one Key line at a
// time, so memory grows with the lines actually present, never with the capacity alone.
class KeyframeTrack {
public:
    explicit KeyframeTrack(int capacity) : capacity_(capacity) {}
    virtual ~KeyframeTrack() = default;

    virtual void prepare() {}
    virtual void finish() {}
    // The track's lines: an optional Type line, "NumKeys n" and one "Key ..." line per key, each
    // indented by three TABs. Numbers are written in the shortest form that reads back to the
    // same float. False when the stream fails.
    bool write(std::ostream& stream) const;

    // How many numbers a Key line of this track holds when read (the time first).
    virtual int keyValueCount() const = 0;
    // Appends a key from a Key line's numbers (values[0] is the time). False, and nothing
    // stored, when the track already holds its capacity.
    bool addKey(const float* values);

    int capacity() const { return capacity_; }
    int count() const { return static_cast<int>(times_.size()); }
    float time(int i) const { return times_[i]; }

protected:
    // The Type line's name, or nullptr when the kind writes none.
    virtual const char* typeName() const { return nullptr; }
    virtual void storeKey(const float* values) = 0;
    // The numbers written on key i's Key line (the time first, at most five); returns how many.
    virtual int keyValues(int i, float* values) const = 0;

    // Where t lies between the keys (the track has at least one). False with i the key whose
    // value applies: 0 at or before the first key's time, the last key at or after the last's.
    // True with the segment i for which time[i] <= t < time[i + 1] and
    // u = (t - time[i]) / (time[i + 1] - time[i]) in [0, 1), so a zero-length segment is never
    // chosen. Keys out of time order can leave t in no segment: then the last key applies.
    bool segmentAt(float t, int& i, float& u) const;

    int capacity_;
    std::vector<float> times_;
};

// Translation keys. Linear joins them with straight lines; Spline with a uniform Catmull-Rom
// curve; Hermite with cubic Hermite segments whose unit tangents `prepare` computes.
class TranslateTrack : public KeyframeTrack {
public:
    enum class Kind { Linear, Spline, Hermite };

    TranslateTrack(Kind kind, int capacity) : KeyframeTrack(capacity), kind_(kind) {}

    Kind kind() const { return kind_; }
    const Vector3& key(int i) const { return keys_[i]; }
    // Hermite: m[i] = normalize(((p[i] - p[i-1]) + (p[i+1] - p[i])) · 0.5) over the keys taken as
    // a closed loop. The other kinds need nothing.
    void prepare() override;
    // (0, 0, 0) for a track without keys.
    Vector3 evaluate(float t) const;

    int keyValueCount() const override { return 4; }

protected:
    const char* typeName() const override;
    void storeKey(const float* values) override;
    int keyValues(int i, float* values) const override;

private:
    Kind kind_;
    std::vector<Vector3> keys_;
    std::vector<Vector3> tangents_; // zero until prepare
};

// Rotation keys, each a rotation relative to the previous key; slerp between the accumulated
// rotations. Slerp keys are written "time axis-x axis-y axis-z degrees", HPR keys
// "time a b c" (degrees about x, y, z).
class RotateTrack : public KeyframeTrack {
public:
    enum class Kind { Slerp, HPR };

    RotateTrack(Kind kind, int capacity) : KeyframeTrack(capacity), kind_(kind) {}

    Kind kind() const { return kind_; }
    // Key i as read (normalised, relative to key i - 1).
    const Quaternion& key(int i) const { return keys_[i]; }
    // The rotations evaluation interpolates: the keys as read until prepare, then accumulated
    // (key[j] = key[j-1] · key[j]). Preparing again accumulates from the keys as read, not twice.
    const Quaternion& evaluatedKey(int i) const { return evaluated_[i]; }
    void prepare() override;
    // (0, 0, 1, 0) for a track without keys.
    Quaternion evaluate(float t) const;

    int keyValueCount() const override { return kind_ == Kind::Slerp ? 5 : 4; }

protected:
    void storeKey(const float* values) override;
    // Always in the axis-angle form (the form a track without Type line reads), from the key as
    // read, so that reading the text back and preparing again gives the same rotations.
    int keyValues(int i, float* values) const override;

private:
    Kind kind_;
    std::vector<Quaternion> keys_;
    std::vector<Quaternion> evaluated_;
    // The axis and angle each key is written with: a Slerp key's own numbers (written back
    // exactly), an HPR key's rotation converted in double precision.
    std::vector<Vector3> axes_;
    std::vector<float> degrees_;
};

// Uniform scale keys, joined linearly.
class ScaleTrack : public KeyframeTrack {
public:
    explicit ScaleTrack(int capacity) : KeyframeTrack(capacity) {}

    float key(int i) const { return keys_[i]; }
    // 1 for a track without keys.
    float evaluate(float t) const;

    int keyValueCount() const override { return 2; }

protected:
    void storeKey(const float* values) override;
    int keyValues(int i, float* values) const override;

private:
    std::vector<float> keys_;
};

// Visibility switches: hidden before the first key, then each key toggles (shown from key 0,
// hidden from key 1, shown again from key 2, ...).
class VisibleTrack : public KeyframeTrack {
public:
    explicit VisibleTrack(int capacity) : KeyframeTrack(capacity) {}

    // true for a track without keys.
    bool evaluate(float t) const;

    int keyValueCount() const override { return 1; }

protected:
    void storeKey(const float*) override {}
    int keyValues(int i, float* values) const override
    {
        values[0] = times_[i];
        return 1;
    }
};
