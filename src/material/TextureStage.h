// One texture of a material on its texture unit, with an optional texture-matrix animation
// (scroll in U and V, rotation about the centre) over show time: the "Texture {" block.
#pragma once
#include "material/RenderState.h"
#include "animation/Envelope.h"
#include "core/GL.h"

#include <istream>
#include <memory>

class ScriptReader;
class Texture;

class TextureStage : public RenderState {
public:
    TextureStage() = default;
    // Gives the texture reference back to the texture manager.
    ~TextureStage() override;

    TextureStage(const TextureStage&) = delete;
    TextureStage& operator=(const TextureStage&) = delete;

    // Binds the texture on its unit (with the texture's own state), then sets the unit's
    // texture matrix from the curves at the texture manager's time.
    void apply() override;
    // Resets the animated texture matrix, unbinds the texture and leaves unit 0 selected.
    void restore() override;
    // Uploads a texture that has no GL object yet. Creating one binds it on unit 0 and switches
    // unit 0 off again, which would undo an earlier stage of the same material.
    void prepare() override;

    // Fills the stage from the lines after "Texture {" up to its "}". "Image " takes a texture
    // that an earlier Image block (or other code) made. An envelope that can't be read stops the
    // block early: false.
    bool read(ScriptReader& reader, std::istream& stream);

    // Takes `texture` (one reference, now owned by the stage), giving back the one held before.
    void setTexture(Texture* texture);
    Texture* texture() const { return held; }

    GLenum unit = GL_TEXTURE0_ARB;
    std::unique_ptr<Envelope> uCurve;
    std::unique_ptr<Envelope> vCurve;
    std::unique_ptr<Envelope> rotationCurve;

private:
    bool animated() const { return uCurve || vCurve || rotationCurve; }
    // Makes the stage's unit the one texture-matrix calls act on.
    void selectUnit() const;

    Texture* held = nullptr;
};
