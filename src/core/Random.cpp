#include "core/Random.h"

namespace show {
namespace {
std::uint32_t state = 1;
}

int random()
{
    state = state * 214013u + 2531011u;
    return int((state >> 16) & 0x7FFFu);
}

float randomUnit() { return float(random()) * (1.0f / 32767.0f); }

void resetRandom() { state = 1; }

std::uint32_t randomState() { return state; }

void setRandomState(std::uint32_t value) { state = value; }

} // namespace show
