#include "platform/ModePicker.h"

#include "platform/PickerFont.h"
#include "platform/PickerModel.h"
#include "platform/Window.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <vector>

namespace platform {
namespace {

struct Colour {
    Uint8 r, g, b, a = 255;
};

// A calm dark palette with one blue accent for focus, selection and the default button.
namespace palette {
constexpr Colour background{30, 33, 39};
constexpr Colour text{222, 226, 232};
constexpr Colour dimText{150, 158, 170};
constexpr Colour brightText{255, 255, 255};
constexpr Colour accent{86, 150, 214};
constexpr Colour accentText{160, 198, 236};
constexpr Colour field{40, 44, 52};
constexpr Colour fieldHover{46, 51, 60};
constexpr Colour border{64, 70, 81};
constexpr Colour borderHover{110, 120, 138};
constexpr Colour sunkenFill{22, 24, 29};
constexpr Colour sunkenShade{14, 15, 18};
constexpr Colour sunkenLight{52, 57, 66};
constexpr Colour button{48, 53, 62};
constexpr Colour buttonHover{66, 74, 88};
constexpr Colour buttonPressed{38, 42, 49};
constexpr Colour primary{52, 108, 168};
constexpr Colour primaryHover{70, 134, 200};
constexpr Colour primaryPressed{44, 92, 145};
constexpr Colour primaryBorder{86, 150, 214};
constexpr Colour listFill{34, 38, 45};
constexpr Colour rowHighlight{52, 108, 168};
constexpr Colour rowSelected{44, 52, 64};
constexpr Colour scrollTrack{28, 31, 37};
constexpr Colour scrollThumb{74, 81, 94};
constexpr Colour scrollThumbHover{98, 107, 122};
constexpr Colour shadow{0, 0, 0, 90};
} // namespace palette

constexpr int kTextPadding = 10;
constexpr int kCreditPadding = 12;
constexpr int kCreditPitch = 21;

// Draws rectangles, frames and text with the built-in font through one SDL renderer.
class Painter {
public:
    explicit Painter(SDL_Renderer* renderer) : renderer_(renderer) { buildAtlas(); }
    ~Painter()
    {
        if (atlas_)
            SDL_DestroyTexture(atlas_);
    }
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    void colour(Colour c)
    {
        SDL_SetRenderDrawBlendMode(renderer_, c.a == 255 ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
        SDL_SetRenderDrawColor(renderer_, c.r, c.g, c.b, c.a);
    }

    void fill(const PickerRect& r, Colour c)
    {
        colour(c);
        const SDL_Rect rect{r.x, r.y, r.w, r.h};
        SDL_RenderFillRect(renderer_, &rect);
    }

    void frame(const PickerRect& r, Colour c)
    {
        colour(c);
        const SDL_Rect rect{r.x, r.y, r.w, r.h};
        SDL_RenderDrawRect(renderer_, &rect);
    }

    // A filled rectangle with corners rounded by two pixels, inside a one-pixel border.
    void roundedBox(const PickerRect& r, Colour fillColour, Colour borderColour)
    {
        fill({r.x + 2, r.y, r.w - 4, r.h}, borderColour);
        fill({r.x + 1, r.y + 1, r.w - 2, r.h - 2}, borderColour);
        fill({r.x, r.y + 2, r.w, r.h - 4}, borderColour);
        fill({r.x + 2, r.y + 1, r.w - 4, r.h - 2}, fillColour);
        fill({r.x + 1, r.y + 2, r.w - 2, r.h - 4}, fillColour);
    }

    // A two-pixel ring just outside a control, for keyboard focus.
    void focusRing(const PickerRect& r)
    {
        roundedBox({r.x - 3, r.y - 3, r.w + 6, r.h + 6}, palette::accent, palette::accent);
        roundedBox({r.x - 1, r.y - 1, r.w + 2, r.h + 2}, palette::background, palette::background);
    }

    void text(int x, int baseline, const std::string& s, Colour c)
    {
        if (!atlas_)
            return;
        SDL_SetTextureColorMod(atlas_, c.r, c.g, c.b);
        for (char ch : s) {
            const PickerGlyph& g = PickerFont::glyph(ch);
            if (g.width > 0) {
                const int code = static_cast<unsigned char>(ch);
                const int index = (code >= PickerFont::kFirst && code <= PickerFont::kLast ? code : '?') -
                                  PickerFont::kFirst;
                const SDL_Rect src{atlasX_[index], 0, g.width, g.height};
                const SDL_Rect dst{x + g.left, baseline - g.top, g.width, g.height};
                SDL_RenderCopy(renderer_, atlas_, &src, &dst);
            }
            x += g.advance;
        }
    }

    // The baseline that centres a line of capitals in a box.
    static int baseline(const PickerRect& r) { return r.y + (r.h + PickerFont::capHeight()) / 2; }

    void centredText(const PickerRect& r, const std::string& s, Colour c)
    {
        text(r.x + (r.w - PickerFont::textWidth(s)) / 2, baseline(r), s, c);
    }

    // A small downward chevron centred at (cx, cy).
    void chevron(int cx, int cy, Colour c)
    {
        colour(c);
        for (int i = 0; i < 4; ++i) {
            SDL_RenderDrawLine(renderer_, cx - 4 + i, cy - 2 + i, cx - 3 + i, cy - 2 + i);
            SDL_RenderDrawLine(renderer_, cx + 3 - i, cy - 2 + i, cx + 4 - i, cy - 2 + i);
        }
    }

    void clip(const PickerRect* r)
    {
        if (!r) {
            SDL_RenderSetClipRect(renderer_, nullptr);
            return;
        }
        const SDL_Rect rect{r->x, r->y, r->w, r->h};
        SDL_RenderSetClipRect(renderer_, &rect);
    }

private:
    // All glyphs side by side in one white texture whose alpha is the coverage, so a colour
    // modulation draws text in any colour.
    void buildAtlas()
    {
        int width = 0, height = 1;
        for (int c = PickerFont::kFirst; c <= PickerFont::kLast; ++c) {
            const PickerGlyph& g = PickerFont::glyph(char(c));
            atlasX_[c - PickerFont::kFirst] = width;
            width += g.width + 1;
            height = std::max<int>(height, g.height);
        }
        std::vector<Uint32> pixels(size_t(width) * size_t(height), 0x00FFFFFFu);
        // Light text on a dark ground looks thin when coverage is blended linearly; a mild
        // curve gives the strokes back their weight.
        Uint8 curve[256];
        for (int i = 0; i < 256; ++i)
            curve[i] = Uint8(std::lround(255.0 * std::pow(i / 255.0, 0.8)));
        for (int c = PickerFont::kFirst; c <= PickerFont::kLast; ++c) {
            const PickerGlyph& g = PickerFont::glyph(char(c));
            for (int y = 0; y < g.height; ++y) {
                const unsigned char* row = PickerFont::row(g, y);
                for (int x = 0; x < g.width; ++x)
                    pixels[size_t(y) * size_t(width) + size_t(atlasX_[c - PickerFont::kFirst] + x)] =
                        (Uint32(curve[row[x]]) << 24) | 0x00FFFFFFu;
            }
        }
        atlas_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, width,
                                   height);
        if (!atlas_)
            return;
        SDL_UpdateTexture(atlas_, nullptr, pixels.data(), width * 4);
        SDL_SetTextureBlendMode(atlas_, SDL_BLENDMODE_BLEND);
    }

    SDL_Renderer* renderer_;
    SDL_Texture* atlas_ = nullptr;
    int atlasX_[PickerFont::kLast - PickerFont::kFirst + 1] = {};
};

using Control = PickerModel::Control;

void drawCombo(Painter& p, const PickerModel& m, const std::vector<std::string>& entries)
{
    const PickerRect r = PickerModel::comboRect();
    const bool focused = m.focus() == Control::Combo;
    const bool hot = m.hover() == Control::Combo || m.listOpen();
    if (focused)
        p.focusRing(r);
    p.roundedBox(r, hot ? palette::fieldHover : palette::field,
                 m.listOpen() || focused ? palette::accent : hot ? palette::borderHover : palette::border);
    const int arrowWidth = 28;
    if (m.selected() >= 0) {
        const std::string shown =
            PickerFont::fit(entries[size_t(m.selected())], r.w - arrowWidth - 2 * kTextPadding);
        p.text(r.x + kTextPadding, Painter::baseline(r), shown, palette::text);
    }
    p.chevron(r.x + r.w - arrowWidth / 2, r.y + r.h / 2, hot ? palette::text : palette::dimText);
}

void drawCredits(Painter& p, const std::vector<std::string>& lines)
{
    const PickerRect r = PickerModel::creditRect();
    // Sunken: shaded above and left, lit below and right.
    p.fill(r, palette::sunkenFill);
    p.fill({r.x, r.y, r.w, 1}, palette::sunkenShade);
    p.fill({r.x, r.y, 1, r.h}, palette::sunkenShade);
    p.fill({r.x, r.y + r.h - 1, r.w, 1}, palette::sunkenLight);
    p.fill({r.x + r.w - 1, r.y, 1, r.h}, palette::sunkenLight);
    const PickerRect inner{r.x + 1, r.y + 1, r.w - 2, r.h - 2};
    p.clip(&inner);
    // Long lines wrap at spaces; the whole text sits in the middle of the block, or from its top
    // when it is taller than the block.
    struct Line {
        std::string text;
        Colour colour;
    };
    std::vector<Line> shown;
    for (size_t i = 0; i < lines.size(); ++i) {
        const Colour c = i == 0 ? palette::accentText : i == 1 ? palette::dimText : palette::text;
        for (std::string& part : PickerFont::wrap(lines[i], r.w - 2 * kCreditPadding))
            shown.push_back({std::move(part), c});
    }
    const int textHeight = int(shown.empty() ? 0 : shown.size() - 1) * kCreditPitch + PickerFont::capHeight();
    int baseline = r.y + std::max(kCreditPadding, (r.h - textHeight) / 2) + PickerFont::capHeight();
    for (const Line& line : shown) {
        p.text(r.x + kCreditPadding, baseline, line.text, line.colour);
        baseline += kCreditPitch;
    }
    p.clip(nullptr);
}

void drawButtons(Painter& p, const PickerModel& m)
{
    for (int i = 0; i < 3; ++i) {
        const PickerModel::Button& b = PickerModel::kButtons[i];
        const PickerRect r = PickerModel::buttonRect(i);
        const bool isDefault = m.defaultButton() == b.control;
        const bool down = m.pressed() == b.control && m.hover() == b.control;
        const bool hot = m.hover() == b.control && !m.listOpen();
        if (m.focus() == b.control)
            p.focusRing(r);
        if (isDefault)
            p.roundedBox(r, down ? palette::primaryPressed : hot ? palette::primaryHover : palette::primary,
                         palette::primaryBorder);
        else
            p.roundedBox(r, down ? palette::buttonPressed : hot ? palette::buttonHover : palette::button,
                         hot ? palette::borderHover : palette::border);
        const PickerRect label{r.x, r.y + (down ? 1 : 0), r.w, r.h};
        p.centredText(label, b.label, isDefault ? palette::brightText : palette::text);
    }
}

void drawList(Painter& p, const PickerModel& m, const std::vector<std::string>& entries)
{
    const PickerRect r = m.listRect();
    p.fill({r.x + 3, r.y + 4, r.w, r.h}, palette::shadow);
    p.fill(r, palette::listFill);
    p.frame(r, palette::accent);
    for (int row = 0; row < m.visibleRows(); ++row) {
        const int index = m.scrollTop() + row;
        const PickerRect rr = m.rowRect(row);
        const bool highlighted = index == m.highlighted();
        if (highlighted)
            p.fill(rr, palette::rowHighlight);
        else if (index == m.selected())
            p.fill(rr, palette::rowSelected);
        const std::string shown = PickerFont::fit(entries[size_t(index)], rr.w - 2 * kTextPadding);
        p.text(rr.x + kTextPadding, Painter::baseline(rr), shown,
               highlighted ? palette::brightText : palette::text);
    }
    if (m.hasScrollBar()) {
        const PickerRect track = m.scrollTrackRect();
        const PickerRect thumb = m.scrollThumbRect();
        p.fill(track, palette::scrollTrack);
        const bool hot = m.hover() == Control::ScrollBar || m.pressed() == Control::ScrollBar;
        p.roundedBox({thumb.x + 2, thumb.y + 2, thumb.w - 4, thumb.h - 4},
                     hot ? palette::scrollThumbHover : palette::scrollThumb,
                     hot ? palette::scrollThumbHover : palette::scrollThumb);
    }
}

void draw(Painter& p, const PickerModel& m, const std::vector<std::string>& entries,
          const std::vector<std::string>& creditLines)
{
    p.fill({0, 0, PickerModel::width(), PickerModel::height()}, palette::background);
    const PickerRect label = PickerModel::labelRect();
    p.text(label.x, Painter::baseline(label), "Select Screen Resolution:", palette::text);
    drawCredits(p, creditLines);
    drawButtons(p, m);
    drawCombo(p, m, entries);
    if (m.listOpen())
        drawList(p, m, entries);
}

// The picker's key for an SDL key press; false for keys it ignores.
bool pickerKey(const SDL_KeyboardEvent& e, PickerModel::Key& key)
{
    using Key = PickerModel::Key;
    const bool alt = (e.keysym.mod & KMOD_ALT) != 0;
    const bool shift = (e.keysym.mod & KMOD_SHIFT) != 0;
    switch (e.keysym.sym) {
    case SDLK_UP: key = alt ? Key::ToggleList : Key::Up; return true;
    case SDLK_DOWN: key = alt ? Key::ToggleList : Key::Down; return true;
    case SDLK_PAGEUP: key = Key::PageUp; return true;
    case SDLK_PAGEDOWN: key = Key::PageDown; return true;
    case SDLK_HOME: key = Key::Home; return true;
    case SDLK_END: key = Key::End; return true;
    case SDLK_F4: key = Key::ToggleList; return !alt; // Alt+F4 closes the window instead
    case SDLK_TAB: key = shift ? Key::BackTab : Key::Tab; return true;
    default: break;
    }
    // Keys that end or commit something act once per press, never on auto-repeat.
    if (e.repeat)
        return false;
    switch (e.keysym.sym) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER: key = Key::Enter; return true;
    case SDLK_SPACE: key = Key::Space; return true;
    case SDLK_ESCAPE: key = Key::Escape; return true;
    default: return false;
    }
}

void handle(PickerModel& m, const SDL_Event& e, Uint32 windowId)
{
    switch (e.type) {
    case SDL_QUIT: m.close(); break;
    case SDL_WINDOWEVENT:
        if (e.window.windowID != windowId)
            break;
        if (e.window.event == SDL_WINDOWEVENT_CLOSE)
            m.close();
        else if (e.window.event == SDL_WINDOWEVENT_LEAVE)
            m.mouseMove(-1, -1);
        break;
    case SDL_KEYDOWN: {
        PickerModel::Key key;
        if (e.key.windowID == windowId && pickerKey(e.key, key))
            m.key(key);
        break;
    }
    case SDL_MOUSEMOTION:
        if (e.motion.windowID == windowId)
            m.mouseMove(e.motion.x, e.motion.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.windowID == windowId && e.button.button == SDL_BUTTON_LEFT)
            m.mouseDown(e.button.x, e.button.y);
        break;
    case SDL_MOUSEBUTTONUP:
        if (e.button.windowID == windowId && e.button.button == SDL_BUTTON_LEFT)
            m.mouseUp(e.button.x, e.button.y);
        break;
    case SDL_MOUSEWHEEL:
        if (e.wheel.windowID == windowId) {
            const int steps = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
            m.wheel(steps);
            // The list may have moved under the pointer.
            int x, y;
            SDL_GetMouseState(&x, &y);
            m.mouseMove(x, y);
        }
        break;
    default: break;
    }
}

} // namespace

ModePickerResult runModePicker(const std::string& caption, const std::vector<std::string>& entries,
                               int initialSelection, const std::vector<std::string>& creditLines)
{
    PickerModel model(int(entries.size()), initialSelection);
    ModePickerResult result;
    result.button = 2;
    result.selected = model.selected();
    // Without a display the picker cannot be shown: windowed, with the initial selection.
    if (!Window::initVideo())
        return result;
    SDL_Window* window = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          PickerModel::width(), PickerModel::height(), SDL_WINDOW_HIDDEN);
    if (!window)
        return result;
    // The software renderer: the picker touches no OpenGL state before the show creates its
    // own context.
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) {
        SDL_DestroyWindow(window);
        return result;
    }
    const Uint32 windowId = SDL_GetWindowID(window);
    {
        Painter painter(renderer);
        SDL_ShowWindow(window);
        SDL_RaiseWindow(window);
        while (!model.finished()) {
            draw(painter, model, entries, creditLines);
            SDL_RenderPresent(renderer);
            SDL_Event event;
            if (!SDL_WaitEvent(&event)) {
                model.close();
                break;
            }
            do
                handle(model, event, windowId);
            while (!model.finished() && SDL_PollEvent(&event));
        }
    }
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    // What the picker's window left behind (its close request, key releases, pointer motion)
    // must not reach the show's window.
    SDL_PumpEvents();
    SDL_FlushEvent(SDL_QUIT);
    SDL_FlushEvents(SDL_WINDOWEVENT, SDL_MOUSEWHEEL);
    result.button = model.button();
    result.selected = model.selected();
    return result;
}

} // namespace platform
