// The base of everything the show draws: a named object with an inclusive Start..End window of
// show seconds, a layer that orders drawing, and an optional animator that it owns.
#pragma once
#include <memory>
#include <ostream>
#include <string>

class Animator;

class Effect {
public:
    Effect();
    virtual ~Effect();
    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

    // Prepares the animator (if any). Called once, by the timeline's prepareAll.
    virtual bool prepare();
    // Finishes and destroys the animator. Called just before the timeline destroys the effect;
    // kinds give back their textures and other references here as well.
    virtual bool release();
    // Called each frame while the effect is on the timeline, with the show time in seconds.
    virtual void update(float time) = 0;
    // Called once, just before the first update, when the effect is switched on with the show
    // time already past its Start by more than one frame step (a start, seek or reload inside
    // its window, or a long frame): brings whatever it keeps from frame to frame to where an
    // uninterrupted play would have it at `time`, so the first picture matches the show's.
    // `step` is the show's frame step. Time-driven kinds have nothing to catch up.
    virtual void catchUp(float time, float step);
    virtual void render() = 0;
    // Writes the common lines (Name, Start, End, Layer, then the animator's block).
    virtual bool save(std::ostream& stream);

    // True when `time` lies inside the window, both bounds included.
    bool isOn(float time) const { return start <= time && time <= end; }
    // Updates the animator (if any) and returns its scale x, the one animated number of the
    // overlay kinds (opacity, alpha, fade); 1 without an animator.
    float updateAnimator(float time);
    // The animator's current scale x, or 1 without an animator.
    float animatedValue() const;

    std::unique_ptr<Animator> animator;
    float start = 0.0f;
    float end = 0.0f;
    int layer = 0;
    std::string name;
    // The script and line where the effect's block began ("" for effects made in code), so a
    // check can point at it.
    std::string origin;
    int originLine = 0;

protected:
    // Calls update at Start, Start + step, ... up to the last of them before `time`, as the show
    // would have done frame by frame; the timeline's own update at `time` follows.
    void stepFromStart(float time, float step);

    // A whole block: "KIND {", the common lines, the kind's own lines (written by `ownLines`,
    // each starting with a tab), "}". True; with `stopWhenBaseFails`, false and nothing further
    // written when the common lines fail.
    template <class F>
    bool saveBlock(std::ostream& stream, const char* kind, F&& ownLines, bool stopWhenBaseFails = false)
    {
        stream << kind << " {\n";
        if (!Effect::save(stream) && stopWhenBaseFails)
            return false;
        ownLines();
        stream << "}\n" << std::flush;
        return true;
    }
};
