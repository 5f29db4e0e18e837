// The base of everything a material applies around a draw: one piece of fixed-function GL state.
#pragma once

class RenderState {
public:
    virtual ~RenderState() = default;
    // Sets this state's part of the GL state before drawing.
    virtual void apply() = 0;
    // Puts back what the rest of the program expects after drawing.
    virtual void restore() = 0;
    // Runs for every state of a material before any of them applies: creates GL objects whose
    // creation would disturb state an earlier apply has set.
    virtual void prepare() {}
};
