#include "effects/Effect.h"

#include "animation/Animator.h"
#include "core/FixedSteps.h"

Effect::Effect() = default;

Effect::~Effect() = default;

bool Effect::prepare()
{
    if (animator)
        animator->prepare();
    return true;
}

bool Effect::release()
{
    if (animator) {
        animator->finish();
        animator.reset();
    }
    return true;
}

void Effect::catchUp(float, float) {}

void Effect::stepFromStart(float time, float step)
{
    forEachStep(start, time, step, [this](float t) { update(t); });
}

bool Effect::save(std::ostream& stream)
{
    stream << "\tName \"" << name << "\"\n" << std::flush;
    stream << "\tStart " << start << "\n" << std::flush;
    stream << "\tEnd " << end << "\n" << std::flush;
    stream << "\tLayer " << layer << "\n" << std::flush;
    if (animator)
        return animator->write(stream);
    return true;
}

float Effect::updateAnimator(float time)
{
    if (!animator)
        return 1.0f;
    animator->update(time);
    return animator->scale.x;
}

float Effect::animatedValue() const { return animator ? animator->scale.x : 1.0f; }
