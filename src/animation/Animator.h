// The animated rigid transform an effect or scene node owns: translation, rotation, scale and
// visibility over show time, from a "Keyframer {" or "KeyframerLW {" block.
#pragma once
#include "math/Quaternion.h"
#include "math/Vector3.h"

#include <iosfwd>

class ScriptReader;

class Animator {
public:
    virtual ~Animator() = default;

    // Once after read and before the first update (effects: from prepareAll).
    virtual void prepare() = 0;
    // Before the owner destroys the animator.
    virtual void finish() = 0;
    // Evaluates the animation at `time` (seconds of the owner's clock) into the fields below.
    virtual void update(float time) = 0;
    // Writes the block back as script text (the opening line included); false when the stream
    // fails.
    virtual bool write(std::ostream& stream) = 0;
    // glPushMatrix, then translation, rotation and scale multiplied onto the modelview matrix.
    virtual void apply() = 0;
    // glPopMatrix.
    virtual void unapply() = 0;
    // Reads the block whose opening line ("Keyframer {" / "KeyframerLW {") the caller has just
    // matched on reader.line. Lines come from `stream` through `reader` (the same reader and
    // stream the caller goes on with); the block is consumed up to and including its closing
    // line, which is left in reader.line. False when the block is malformed; whatever was read
    // before the failure stays in the animator.
    virtual bool read(ScriptReader& reader, std::istream& stream) = 0;

    Vector3 translation{0.0f, 0.0f, 0.0f};
    // A half turn about z until the first update, not the identity.
    Quaternion rotation{0.0f, 0.0f, 1.0f, 0.0f};
    Vector3 scale{1.0f, 1.0f, 1.0f};
    bool visible = true;
};
