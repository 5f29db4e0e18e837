// The one random generator of the whole show.  Every user (particles, procedural effects, the
// flock) draws from it in call order, so the same show plays the same way on every platform:
// state = state * 214013 + 2531011, result = (state >> 16) & 0x7FFF, starting from state 1.
// The platform's rand() is not used because its sequence differs between C libraries.
#pragma once
#include <cstdint>

namespace show {

constexpr int kRandomMax = 0x7FFF;

// The next value in 0..32767.
int random();
// The next value scaled to 0..1 (value * (1 / 32767)).
float randomUnit();
// Back to the start state, as at program start; a reload of the show calls it so the show
// replays exactly as a fresh start would.
void resetRandom();
// The raw state, for tests and for saving and restoring around a reload.
std::uint32_t randomState();
void setRandomState(std::uint32_t state);

} // namespace show
