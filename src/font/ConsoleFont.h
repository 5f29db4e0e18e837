// The fixed-pitch bitmap font of the frame-rate overlay: glyphs in a 16-column grid of the
// "confont" texture, one textured quad per character in a 640 x 480 screen space.
#pragma once
#include <array>
#include <memory>
#include <string>

class DisplayListFont;
class Texture;

class ConsoleFont {
public:
    ConsoleFont();
    // Gives back a texture that is still held.
    ~ConsoleFont();
    ConsoleFont(const ConsoleFont&) = delete;
    ConsoleFont& operator=(const ConsoleFont&) = delete;

    static ConsoleFont* instance;

    // Holds the loaded texture "confont" (by alias or name) when none is held yet. False when
    // no such texture is loaded.
    bool load();
    // Gives the texture back to the texture manager.
    void release();
    bool isLoaded() const { return texture_ != nullptr; }

    // Saves the enable state and both matrices and sets up alpha-blended 2D drawing in
    // 640 x 480 units (y up) with the font bound on unit 0. The current colour is kept.
    void begin2D();
    // Unbinds the font and restores what begin2D saved.
    void end2D();

    // Texture-coordinate edges of a character's cell in the grid. Codes below 33 (the blank
    // among them) lie outside the grid; the texture's wrap mode decides what they show.
    struct Cell {
        float s0, t0, s1, t1;
    };
    static Cell cell(char character);

    // One glyph quad, 16 x 21 units, with its lower-left corner at (x, y).
    void drawGlyph(float x, float y, char character) const;
    // The text from (x, y), 15 units per character; nothing while no texture is held.
    void print(float x, float y, const char* text) const;
    // printf-style text (at most kBufferSize - 1 characters; longer output is cut).
    void printAt(float x, float y, const char* format, ...) __attribute__((format(printf, 4, 5)));

    // The same glyphs as a display-list font named `name`, for text set in 3D space: one unit
    // per character advance, glyphs 16/15 wide and 21/15 high from the baseline at y = 0. Each
    // glyph's list blends the font texture over what is behind it without writing depth and
    // restores the state it changes, then moves one unit along x; characters outside the grid
    // only move on. None while no texture is held. Needs the GL context that draws it.
    std::unique_ptr<DisplayListFont> makeListFont(const std::string& name) const;

    static constexpr float kGlyphWidth = 16.0f;
    static constexpr float kGlyphHeight = 21.0f;
    static constexpr float kAdvance = 15.0f;
    static constexpr std::size_t kBufferSize = 1024;

private:
    Texture* texture_ = nullptr;
    std::array<char, kBufferSize> buffer_{};
};
