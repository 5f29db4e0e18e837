// The envelope animator of "KeyframerLW {" blocks: nine envelopes giving position, heading/
// pitch/bank and scale.
//
// The block, as read (an envelope has no "}" of its own, so the first line that is not a
// "Channel " line closes the whole block):
//     KeyframerLW {
//         Channel 0
//         { Envelope
//           2
//           Key 0 0 3 0 0 0 0 0 0 0      ; value time shape tension continuity bias p0..p3
//           Key 5 2 3 0 0 0 0 0 0 0
//           Behaviors 1 1
//         Channel 6
//         { Envelope
//           ...
//     }
#pragma once
#include "animation/Animator.h"
#include "animation/Envelope.h"

class KeyframerLW : public Animator {
public:
    static constexpr int channelCount = 9;
    // Channel indices: position x, y, z; heading, pitch, bank (radians); scale x, y, z.
    enum Channel { PositionX, PositionY, PositionZ, Heading, Pitch, Bank, ScaleX, ScaleY, ScaleZ };

    KeyframerLW();

    void prepare() override {}
    void finish() override {}
    // c[i] = channel i at time; translation = (c0, c1, c2), scale = (c6, c7, c8) (an unkeyed
    // channel gives 0), h = -c3, p = -c4, b = -c5, rotation = fromMatrix(eulerYXZ(h, p, b)).
    void update(float time) override;
    // Writes nothing and succeeds: envelopes are not written back.
    bool write(std::ostream& stream) override;
    // glPushMatrix; glTranslatef(translation); glRotatef(h°, 0, -1, 0), glRotatef(p°, -1, 0, 0),
    // glRotatef(b°, 0, 0, -1) (the same turn as `rotation`); glScalef(scale).
    void apply() override;
    void unapply() override;
    // Reads "Channel n" lines, each followed by an envelope, until the first other line, which
    // must contain "}". Every channel is emptied first. Fails on a channel index outside 0..8,
    // a failing envelope, or a last line without "}" (the end of the stream included).
    bool read(ScriptReader& reader, std::istream& stream) override;

    Envelope channels[channelCount];
    // The angles of the last update, radians (already negated from the channel values).
    float h = 0.0f;
    float p = 0.0f;
    float b = 0.0f;
};
