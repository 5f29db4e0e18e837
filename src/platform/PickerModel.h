// Layout, state and input handling of the display-mode picker, apart from SDL so that the
// picker's behaviour can be checked without a display.
#pragma once

namespace platform {

struct PickerRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    bool contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

class PickerModel {
public:
    // Controls in keyboard focus order, then the parts of the open list.
    enum class Control { Combo, Fullscreen, Windowed, Reboot, ListRow, ScrollBar, None };
    enum class Key { Up, Down, PageUp, PageDown, Home, End, Enter, Space, Escape, Tab, BackTab, ToggleList };

    struct Button {
        Control control;
        int id;
        const char* label;
    };
    static constexpr Button kButtons[3] = {{Control::Fullscreen, 1, "Fullscreen"},
                                           {Control::Windowed, 2, "Windowed"},
                                           {Control::Reboot, 1005, "Reboot"}};

    struct Hit {
        Control control = Control::None;
        int row = -1; // entry index under a list row
    };

    // The dialog is 185 x 118 dialog units; one unit is 2.5 pixels.
    static int du(int units) { return (units * 5 + 1) / 2; }
    static constexpr int kMaxVisibleRows = 8;
    static constexpr int kRowHeight = 24;

    // `initialSelection` outside the entries selects nothing.
    PickerModel(int entryCount, int initialSelection);

    static int width() { return du(185); }
    static int height() { return du(118); }
    static PickerRect labelRect() { return {du(5), du(5), du(85), du(8)}; }
    static PickerRect comboRect() { return {du(5), du(15), du(110), du(12)}; }
    static PickerRect creditRect() { return {du(7), du(36), du(108), du(75)}; }
    // The buttons stand 15 units apart; a little lower than their 14 units so that a focus ring
    // around one clears its neighbours.
    static PickerRect buttonRect(int index) { return {du(128), du(67 + 15 * index), du(50), du(14) - 5}; }

    // The open list below the combo box: a one-pixel frame around the rows and the scroll bar.
    int visibleRows() const;
    bool hasScrollBar() const { return entryCount_ > visibleRows(); }
    PickerRect listRect() const;
    PickerRect rowRect(int visibleRow) const;
    PickerRect scrollTrackRect() const;
    PickerRect scrollThumbRect() const;

    Hit hitTest(int x, int y) const;

    // Input. Each event leaves `finished()` true once a button was chosen or the window closed.
    void key(Key key);
    void mouseMove(int x, int y);
    void mouseDown(int x, int y);
    void mouseUp(int x, int y);
    // Positive steps turn the wheel away from the user (up the list).
    void wheel(int steps);
    void close();

    bool finished() const { return button_ != 0; }
    int button() const { return button_; }
    int selected() const { return selected_; }
    int entryCount() const { return entryCount_; }
    bool listOpen() const { return listOpen_; }
    int highlighted() const { return highlighted_; }
    int scrollTop() const { return scrollTop_; }
    Control focus() const { return focus_; }
    Control hover() const { return hover_.control; }
    Control pressed() const { return pressed_; }
    // The button that Enter activates: the focused one, else "Fullscreen".
    Control defaultButton() const;

private:
    static bool isButton(Control c) { return c >= Control::Fullscreen && c <= Control::Reboot; }
    static int buttonId(Control c);
    int clampIndex(int index) const;
    // The index that a navigation key moves `from` to (-1 when there are no entries).
    int step(int from, Key key) const;
    void openList();
    void closeList(bool take);
    void ensureVisible(int index);
    void scrollTo(int top);
    void dragThumb(int y);

    int entryCount_;
    int selected_;
    int button_ = 0;
    bool listOpen_ = false;
    int highlighted_ = -1;
    int scrollTop_ = 0;
    Control focus_ = Control::Combo;
    Hit hover_;
    Control pressed_ = Control::None;
    int dragOffset_ = -1; // pointer position inside the scroll thumb while it is dragged
};

} // namespace platform
