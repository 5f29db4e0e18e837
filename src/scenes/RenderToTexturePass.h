// Draws a scene's geometry into the program-wide render target and returns to the window with
// the viewport it had before, so the scene can then show the image through a quad or a grid.
#pragma once

class PBuffer;

class RenderToTexturePass {
public:
    // Saves the current viewport, switches to the buffer at its own size and clears its depth
    // (and its colour when `clearColour`; without it the previous picture stays, for trails).
    // False when the buffer is not created.
    bool begin(PBuffer& pbuffer, bool clearColour);
    // Back to the window, with the whole saved viewport (its offset too, so a letterboxed
    // picture stays centred).
    bool end(PBuffer& pbuffer);

    int viewport[4] = {0, 0, 0, 0};  // x, y, width, height
};
