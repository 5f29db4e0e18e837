// The one timeline of the show: owns every effect, switches effects on when the show time enters
// their window, keeps them ordered by layer while they are on, and retires them afterwards.
#pragma once
#include "effects/Effect.h"

#include <functional>
#include <list>
#include <memory>

class EffectTimeline {
public:
    EffectTimeline();
    ~EffectTimeline();
    EffectTimeline(const EffectTimeline&) = delete;
    EffectTimeline& operator=(const EffectTimeline&) = delete;

    static EffectTimeline* instance;

    // Registers an effect; the timeline owns it from now on.
    void add(std::unique_ptr<Effect> effect);
    // Prepares every pending effect once, including effects added while this runs; `before`
    // (when given) sees each effect just before it prepares (a check notes where it came from).
    void prepareAll(const std::function<void(const Effect&)>& before = {});
    // Switches on the pending effects whose window holds `time` (catching up those whose Start
    // lies more than a frame step behind), then updates the active ones that are still inside
    // their window and retires the others.
    void update(float time);
    // Renders the active effects, lowest layer first.
    void renderAll();
    // Releases and destroys every effect: pending ones, then active ones, each list from its end.
    void clear();

    // The show's frame step: the most by which the first update may follow an effect's Start
    // without a catch-up, and the sub-step catch-ups advance by.
    float frameStep = 1.0f / 60.0f;

    using List = std::list<std::unique_ptr<Effect>>;
    const List& pending() const { return pending_; }
    const List& active() const { return active_; }

private:
    static void clearList(List& list);

    List pending_;
    List active_;
};
