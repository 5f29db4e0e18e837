// The GL state the show sets once at start-up and every effect returns to after drawing.
#pragma once

// Hints nicest; line and point smoothing on, polygon smoothing off; sizes 1; clear colour black,
// stencil 0, depth 1; depth test on with LEQUAL; normalize on; counter-clockwise front faces
// with back faces culled; lights and lighting off; colour material on for ambient and diffuse.
void applyRestingGLState();
