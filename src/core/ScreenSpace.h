// The fixed 640 × 480 drawing space of everything 2D, whatever the window size.
#pragma once

namespace screen {

constexpr float kWidth = 640.0f;
constexpr float kHeight = 480.0f;

// Pushes the projection (orthographic 0..640 × 0..480, the given near and far) and an identity
// model-view; leaves the model-view matrix current.
void push(double zNear = 0.0, double zFar = 1.0);
// Pops both matrices pushed by push; leaves the model-view matrix current.
void pop();

} // namespace screen
