#include "animation/Keyframer.h"

#include "core/GL.h"
#include "math/Angles.h"
#include "script/ScriptReader.h"

#include <cmath>
#include <ostream>

namespace {

enum class TrackBlock { Translate, Rotate, Scale, Visible };

// The keyframer block's openers, in test order.
const struct {
    const char* keyword;
    TrackBlock block;
} trackBlocks[] = {
    {"Translate {", TrackBlock::Translate},
    {"Rotate {", TrackBlock::Rotate},
    {"Scale {", TrackBlock::Scale},
    {"Visible {", TrackBlock::Visible},
};

const struct {
    const char* name;
    TranslateTrack::Kind kind;
} translateKinds[] = {
    {"Linear", TranslateTrack::Kind::Linear},
    {"Spline", TranslateTrack::Kind::Spline},
    {"Hermite", TranslateTrack::Kind::Hermite},
};

const struct {
    const char* name;
    RotateTrack::Kind kind;
} rotateKinds[] = {
    {"Slerp", RotateTrack::Kind::Slerp},
    {"HPR", RotateTrack::Kind::HPR},
};

// The kind a Type line names (exact, case-sensitive); false when it names none.
template <class Table, class Kind>
bool lookUpKind(const Table& table, const std::string& name, Kind& kind)
{
    for (const auto& entry : table)
        if (name == entry.name) {
            kind = entry.kind;
            return true;
        }
    return false;
}

} // namespace

// Reads one track block (its opener already matched) into the keyframer: Type, NumKeys, Key
// lines, "}". End of input completes the block.
static bool readTrackBlock(Keyframer& keyframer, TrackBlock block, ScriptReader& reader,
                           std::istream& stream)
{
    auto translateKind = TranslateTrack::Kind::Spline;
    auto rotateKind = RotateTrack::Kind::Slerp;
    const bool typed = block == TrackBlock::Translate || block == TrackBlock::Rotate;
    KeyframeTrack* track = nullptr;
    // A Key line's numbers; a number that does not convert keeps the previous line's.
    float values[5] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f};

    while (reader.next(stream)) {
        if (typed && reader.contains("Type ")) {
            // The kind decides how the track is built and its keys read: it can't change later.
            if (track)
                return false;
            const std::string name = reader.quotedText();
            const bool known = block == TrackBlock::Translate
                                   ? lookUpKind(translateKinds, name, translateKind)
                                   : lookUpKind(rotateKinds, name, rotateKind);
            if (!known)
                return false;
        } else if (reader.contains("NumKeys ")) {
            int capacity = 0;
            scanInts(reader.line, capacity);
            if (capacity < 1)
                return false;
            switch (block) {
            case TrackBlock::Translate:
                keyframer.translateTrack = std::make_unique<TranslateTrack>(translateKind, capacity);
                track = keyframer.translateTrack.get();
                break;
            case TrackBlock::Rotate:
                keyframer.rotateTrack = std::make_unique<RotateTrack>(rotateKind, capacity);
                track = keyframer.rotateTrack.get();
                break;
            case TrackBlock::Scale:
                keyframer.scaleTrack = std::make_unique<ScaleTrack>(capacity);
                track = keyframer.scaleTrack.get();
                break;
            case TrackBlock::Visible:
                keyframer.visibleTrack = std::make_unique<VisibleTrack>(capacity);
                track = keyframer.visibleTrack.get();
                break;
            }
        } else if (reader.contains("Key ")) {
            if (!track)
                return false;
            // Numbers beyond the track's own are read too but never used.
            scanFloats(reader.line, values[0], values[1], values[2], values[3], values[4]);
            // Keys beyond NumKeys are dropped.
            track->addKey(values);
        } else if (reader.contains("}")) {
            return true;
        } else {
            return false;
        }
    }
    return true;
}

bool Keyframer::read(ScriptReader& reader, std::istream& stream)
{
    while (reader.next(stream)) {
        bool matched = false;
        for (const auto& entry : trackBlocks) {
            if (reader.contains(entry.keyword)) {
                if (!readTrackBlock(*this, entry.block, reader, stream))
                    return false;
                matched = true;
                break;
            }
        }
        if (matched)
            continue;
        if (reader.contains("}"))
            break;
        return false;
    }
    return translateTrack || rotateTrack || scaleTrack;
}

std::array<KeyframeTrack*, 4> Keyframer::tracks() const
{
    return {translateTrack.get(), rotateTrack.get(), scaleTrack.get(), visibleTrack.get()};
}

void Keyframer::prepare()
{
    for (KeyframeTrack* track : tracks())
        if (track)
            track->prepare();
}

void Keyframer::finish()
{
    for (KeyframeTrack* track : tracks())
        if (track)
            track->finish();
}

void Keyframer::update(float time)
{
    translation = translateTrack ? translateTrack->evaluate(time) : Vector3(0.0f, 0.0f, 0.0f);
    rotation = rotateTrack ? rotateTrack->evaluate(time) : Quaternion(0.0f, 0.0f, 1.0f, 0.0f);
    const float s = scaleTrack ? scaleTrack->evaluate(time) : 1.0f;
    scale = Vector3(s, s, s);
    visible = visibleTrack ? visibleTrack->evaluate(time) : true;

    matrix = Matrix4x4::translation(translation.x, translation.y, translation.z, 1.0f) *
             rotation.toMatrix();
    if (std::fabs(s) > 0.0001f)
        matrix = matrix * Matrix4x4::scale(s, s, s, 1.0f);
    inverseMatrix = matrix.inverse();
}

bool Keyframer::write(std::ostream& stream)
{
    stream << "\tKeyframer {\n";
    const char* const openers[] = {"\t\tTranslate {\n", "\t\tRotate {\n", "\t\tScale {\n",
                                   "\t\tVisible {\n"};
    const auto present = tracks();
    for (int i = 0; i < 4; ++i) {
        // A track without keys evaluates like no track, and "NumKeys 0" would not read back.
        if (!present[i] || present[i]->count() == 0)
            continue;
        stream << openers[i];
        if (!present[i]->write(stream))
            return false;
        stream << "\t\t}\n";
    }
    stream << "\t}\n";
    stream.flush();
    return static_cast<bool>(stream);
}

void Keyframer::apply()
{
    float angle;
    Vector3 axis;
    rotation.toAxisAngle(angle, axis);
    glPushMatrix();
    glTranslatef(translation.x, translation.y, translation.z);
    glRotatef(angle * radToDeg, axis.x, axis.y, axis.z);
    glScalef(scale.x, scale.y, scale.z);
}

void Keyframer::unapply() { glPopMatrix(); }
