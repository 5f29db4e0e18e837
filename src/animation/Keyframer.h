// The keyframe animator of "Keyframer {" blocks: optional Translate, Rotate, Scale and Visible
// tracks evaluated into one rigid transform.
#pragma once
#include "animation/Animator.h"
#include "animation/KeyframeTrack.h"
#include "math/Matrix4x4.h"

#include <array>
#include <memory>

class Keyframer : public Animator {
public:
    // Prepares every present track (Hermite tangents, accumulated rotations).
    void prepare() override;
    void finish() override;
    // translation, rotation, scale (s, s, s) and visible from the tracks (the defaults where a
    // track is absent), then matrix = translation · rotation.toMatrix() [· scale(s) when
    // |s| > 0.0001] and inverseMatrix = its inverse.
    void update(float time) override;
    // "\tKeyframer {", each present track that has keys ("\t\tTranslate {" ... "\t\t}"), "\t}".
    // Translate tracks carry their Type line, so the text reads back to the same animation.
    bool write(std::ostream& stream) override;
    // glPushMatrix; glTranslatef(translation); glRotatef(angle in degrees, axis) from
    // rotation.toAxisAngle(); glScalef(scale).
    void apply() override;
    void unapply() override;
    // Reads the lines after "Keyframer {" up to its "}" (end of input closes it too). True when
    // at least one Translate, Rotate or Scale track was read. Fails (false) on an unknown line, a
    // Type naming no known kind, a Type after NumKeys, NumKeys below 1, or a Key line before
    // NumKeys. Key lines beyond NumKeys are ignored; a Key line's missing numbers repeat the
    // previous Key line's (0 on the first).
    bool read(ScriptReader& reader, std::istream& stream) override;

    // Transform of the last update (zero before it). Its rotation part is toMatrix's transposed
    // form, so matrix.transformPoint turns the opposite way to the glRotatef of apply.
    Matrix4x4 matrix;
    Matrix4x4 inverseMatrix;

    std::unique_ptr<TranslateTrack> translateTrack;
    std::unique_ptr<RotateTrack> rotateTrack;
    std::unique_ptr<ScaleTrack> scaleTrack;
    std::unique_ptr<VisibleTrack> visibleTrack;

private:
    // The four track slots in write order (absent ones null).
    std::array<KeyframeTrack*, 4> tracks() const;
};
