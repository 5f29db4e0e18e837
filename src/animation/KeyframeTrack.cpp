#include "animation/KeyframeTrack.h"

#include "math/Angles.h"

#include <charconv>
#include <cmath>
#include <ostream>

namespace {

// The shortest decimal text that reads back (with "%f") to the same float.
void writeNumber(std::ostream& stream, float value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    stream.write(text, result.ptr - text);
}

} // namespace

bool KeyframeTrack::write(std::ostream& stream) const
{
    if (const char* type = typeName())
        stream << "\t\t\tType \"" << type << "\"\n";
    stream << "\t\t\tNumKeys " << count() << '\n';
    for (int i = 0; i < count(); ++i) {
        float values[5];
        const int n = keyValues(i, values);
        stream << "\t\t\tKey";
        for (int j = 0; j < n; ++j) {
            stream << ' ';
            writeNumber(stream, values[j]);
        }
        stream << '\n';
    }
    return static_cast<bool>(stream);
}

bool KeyframeTrack::addKey(const float* values)
{
    if (count() >= capacity_)
        return false;
    times_.push_back(values[0]);
    storeKey(values);
    return true;
}

bool KeyframeTrack::segmentAt(float t, int& i, float& u) const
{
    u = 0.0f;
    const int last = count() - 1;
    i = 0;
    if (!(t > times_[0]))
        return false;
    for (i = 0; i < last && t < times_[last]; ++i) {
        if (times_[i] <= t && t < times_[i + 1]) {
            u = (t - times_[i]) / (times_[i + 1] - times_[i]);
            // Infinite key times can still make 0/0 or inf/inf here.
            if (!(u >= 0.0f && u <= 1.0f))
                u = 0.0f;
            return true;
        }
    }
    i = last;
    return false;
}

// --- TranslateTrack -------------------------------------------------------------------------

namespace {

const char* const translateKindNames[] = {"Linear", "Spline", "Hermite"};

} // namespace

const char* TranslateTrack::typeName() const { return translateKindNames[static_cast<int>(kind_)]; }

void TranslateTrack::storeKey(const float* values)
{
    keys_.emplace_back(values[1], values[2], values[3]);
    tangents_.emplace_back();
}

int TranslateTrack::keyValues(int i, float* values) const
{
    values[0] = times_[i];
    values[1] = keys_[i].x;
    values[2] = keys_[i].y;
    values[3] = keys_[i].z;
    return 4;
}

void TranslateTrack::prepare()
{
    if (kind_ != Kind::Hermite)
        return;
    // The key list is taken as closed: the first key's predecessor is the last key and the last
    // key's successor the first.
    const int n = count();
    for (int i = 0; i < n; ++i) {
        const Vector3& previous = keys_[(i + n - 1) % n];
        const Vector3& next = keys_[(i + 1) % n];
        tangents_[i] = (((keys_[i] - previous) + (next - keys_[i])) * 0.5f).normalized();
    }
}

Vector3 TranslateTrack::evaluate(float t) const
{
    const int n = count();
    if (n == 0)
        return {};
    int i;
    float u;
    if (!segmentAt(t, i, u))
        return keys_[i];
    const Vector3& p1 = keys_[i];
    const Vector3& p2 = keys_[i + 1];
    switch (kind_) {
    case Kind::Linear:
        return p1 + (p2 - p1) * u;
    case Kind::Spline: {
        // Uniform Catmull-Rom; at the ends the end key stands in for its missing neighbour, so
        // the first and last segments are curved like the others instead of jumping.
        const Vector3& p0 = keys_[i > 0 ? i - 1 : i];
        const Vector3& p3 = keys_[i + 2 < n ? i + 2 : i + 1];
        const float u2 = u * u, u3 = u2 * u;
        return (p1 * 2.0f + (p2 - p0) * u + (p0 * 2.0f - p1 * 5.0f + p2 * 4.0f - p3) * u2 +
                (p1 * 3.0f - p0 - p2 * 3.0f + p3) * u3) *
               0.5f;
    }
    case Kind::Hermite: {
        const float u2 = u * u, u3 = u2 * u;
        const float h00 = 2.0f * u3 - 3.0f * u2 + 1.0f;
        const float h10 = u3 - 2.0f * u2 + u;
        const float h01 = 3.0f * u2 - 2.0f * u3;
        const float h11 = u3 - u2;
        return p1 * h00 + tangents_[i] * h10 + p2 * h01 + tangents_[i + 1] * h11;
    }
    }
    return p1;
}

// --- RotateTrack ----------------------------------------------------------------------------

void RotateTrack::storeKey(const float* values)
{
    Quaternion q;
    Vector3 axis;
    float degrees;
    if (kind_ == Kind::Slerp) {
        axis = Vector3(values[1], values[2], values[3]);
        degrees = values[4];
        q = Quaternion::fromAxisAngle(degrees * degToRad, axis);
        q.normalize();
    } else {
        q = Quaternion::fromMatrix(
            Matrix4x4::eulerXYZ(values[1] * degToRad, values[2] * degToRad, values[3] * degToRad));
        q.normalize();
        // Written as axis and angle; atan2 in double keeps small angles accurate where acos of a
        // float w near 1 would not.
        const double v = std::sqrt(double(q.x) * q.x + double(q.y) * q.y + double(q.z) * q.z);
        const double angle = 2.0 * std::atan2(v, double(q.w));
        if (v > 0.0) {
            axis = Vector3(float(q.x / v), float(q.y / v), float(q.z / v));
            degrees = float(angle * (180.0 / 3.14159265358979323846));
        } else {
            axis = Vector3(0.0f, 0.0f, 1.0f);
            degrees = 0.0f;
        }
    }
    keys_.push_back(q);
    evaluated_.push_back(q);
    axes_.push_back(axis);
    degrees_.push_back(degrees);
}

int RotateTrack::keyValues(int i, float* values) const
{
    values[0] = times_[i];
    values[1] = axes_[i].x;
    values[2] = axes_[i].y;
    values[3] = axes_[i].z;
    values[4] = degrees_[i];
    return 5;
}

void RotateTrack::prepare()
{
    for (int j = 0; j < count(); ++j)
        evaluated_[j] = j == 0 ? keys_[0] : evaluated_[j - 1] * keys_[j];
}

Quaternion RotateTrack::evaluate(float t) const
{
    const int n = count();
    if (n == 0)
        return {0.0f, 0.0f, 1.0f, 0.0f};
    int i;
    float u;
    if (!segmentAt(t, i, u))
        return evaluated_[i];
    return slerp(evaluated_[i], evaluated_[i + 1], u);
}

// --- ScaleTrack, VisibleTrack ---------------------------------------------------------------

void ScaleTrack::storeKey(const float* values) { keys_.push_back(values[1]); }

int ScaleTrack::keyValues(int i, float* values) const
{
    values[0] = times_[i];
    values[1] = keys_[i];
    return 2;
}

float ScaleTrack::evaluate(float t) const
{
    const int n = count();
    if (n == 0)
        return 1.0f;
    int i;
    float u;
    if (!segmentAt(t, i, u))
        return keys_[i];
    return keys_[i] + u * (keys_[i + 1] - keys_[i]);
}

bool VisibleTrack::evaluate(float t) const
{
    if (count() == 0)
        return true;
    int passed = 0;
    for (float keyTime : times_)
        if (keyTime <= t)
            ++passed;
    return passed % 2 == 1;
}
