// The frame times a catch-up walks through: from a start time in fixed steps up to a later time.
#pragma once

// Calls visit(t) for t = from, from + step, from + 2 step, ... while t lies more than half a step
// before `to`, so the caller's own update at `to` follows the last one by about a step. Each time
// comes from its index (no drift over long spans); nothing for a step that is not positive.
template <class Visit>
void forEachStep(float from, float to, float step, Visit&& visit)
{
    if (!(step > 0.0f))
        return;
    for (long k = 0;; ++k) {
        const float t = from + float(double(k) * double(step));
        if (!(t < to - 0.5f * step))
            break;
        visit(t);
    }
}
