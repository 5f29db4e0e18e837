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

// A rectangle of a drawing surface in pixels, origin at the bottom left (as glViewport takes it).
struct Viewport {
    int x = 0, y = 0, width = 0, height = 0;
};

// The largest centred 4:3 rectangle inside a surface of width × height: the show is laid out
// for 640 × 480 and is never stretched; what is left over stays black. A 4:3 surface is used
// whole.
Viewport letterbox(int width, int height);
// Sets the GL viewport to letterbox(width, height) and returns it. Every place that points
// drawing back at the window goes through here.
Viewport setViewport(int width, int height);

} // namespace screen
