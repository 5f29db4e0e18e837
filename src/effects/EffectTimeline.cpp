#include "effects/EffectTimeline.h"

#include <algorithm>

EffectTimeline* EffectTimeline::instance = nullptr;

EffectTimeline::EffectTimeline() { instance = this; }

EffectTimeline::~EffectTimeline()
{
    clear();
    if (instance == this)
        instance = nullptr;
}

void EffectTimeline::add(std::unique_ptr<Effect> effect)
{
    if (effect)
        pending_.push_back(std::move(effect));
}

void EffectTimeline::prepareAll(const std::function<void(const Effect&)>& before)
{
    // A list iterator stays valid while elements are appended, so effects that a scene adds
    // from its own prepare (it may load an effect script) are reached by this same walk.
    for (auto it = pending_.begin(); it != pending_.end(); ++it) {
        if (before)
            before(**it);
        (*it)->prepare();
    }
}

void EffectTimeline::update(float time)
{
    for (auto it = pending_.begin(); it != pending_.end();) {
        auto next = std::next(it);
        if ((*it)->isOn(time)) {
            const int layer = (*it)->layer;
            // Before the first effect of a strictly higher layer: equal layers keep the order in
            // which they were switched on.
            auto place = std::find_if(active_.begin(), active_.end(),
                                      [layer](const auto& e) { return e->layer > layer; });
            active_.splice(place, pending_, it);
            // A frame always lands within one step of the Start when the show plays through;
            // the small margin keeps float rounding of the frame times from triggering it.
            if (time - (*it)->start > frameStep * 1.001f)
                (*it)->catchUp(time, frameStep);
        }
        it = next;
    }
    for (auto it = active_.begin(); it != active_.end();) {
        if ((*it)->isOn(time)) {
            (*it)->update(time);
            ++it;
        } else {
            std::unique_ptr<Effect> retired = std::move(*it);
            it = active_.erase(it);
            retired->release();
        }
    }
}

void EffectTimeline::renderAll()
{
    for (auto& effect : active_)
        effect->render();
}

void EffectTimeline::clearList(List& list)
{
    while (!list.empty()) {
        std::unique_ptr<Effect> effect = std::move(list.back());
        list.pop_back();
        effect->release();
    }
}

void EffectTimeline::clear()
{
    clearList(pending_);
    clearList(active_);
}
