#include "platform/PickerModel.h"

#include <algorithm>

namespace platform {
namespace {
constexpr int kScrollBarWidth = 12;
constexpr int kMinThumb = 20;
constexpr int kWheelRows = 3;
} // namespace

PickerModel::PickerModel(int entryCount, int initialSelection)
    : entryCount_(std::max(entryCount, 0)),
      selected_(initialSelection >= 0 && initialSelection < entryCount ? initialSelection : -1)
{
}

int PickerModel::visibleRows() const { return std::min(entryCount_, kMaxVisibleRows); }

PickerRect PickerModel::listRect() const
{
    const PickerRect combo = comboRect();
    return {combo.x, combo.y + combo.h + 2, combo.w, std::max(visibleRows(), 1) * kRowHeight + 2};
}

PickerRect PickerModel::rowRect(int visibleRow) const
{
    const PickerRect list = listRect();
    const int rowWidth = list.w - 2 - (hasScrollBar() ? kScrollBarWidth : 0);
    return {list.x + 1, list.y + 1 + visibleRow * kRowHeight, rowWidth, kRowHeight};
}

PickerRect PickerModel::scrollTrackRect() const
{
    if (!hasScrollBar())
        return {};
    const PickerRect list = listRect();
    return {list.x + list.w - 1 - kScrollBarWidth, list.y + 1, kScrollBarWidth, list.h - 2};
}

PickerRect PickerModel::scrollThumbRect() const
{
    if (!hasScrollBar())
        return {};
    const PickerRect track = scrollTrackRect();
    const int rows = visibleRows();
    const int thumb = std::max(kMinThumb, track.h * rows / entryCount_);
    const int range = entryCount_ - rows;
    const int y = track.y + (track.h - thumb) * scrollTop_ / range;
    return {track.x, y, track.w, thumb};
}

PickerModel::Hit PickerModel::hitTest(int x, int y) const
{
    if (listOpen_ && listRect().contains(x, y)) {
        if (scrollTrackRect().contains(x, y))
            return {Control::ScrollBar, -1};
        for (int r = 0; r < visibleRows(); ++r)
            if (rowRect(r).contains(x, y))
                return {Control::ListRow, scrollTop_ + r};
        return {}; // the list's frame
    }
    if (comboRect().contains(x, y))
        return {Control::Combo, -1};
    for (int i = 0; i < 3; ++i)
        if (buttonRect(i).contains(x, y))
            return {kButtons[i].control, -1};
    return {};
}

int PickerModel::buttonId(Control c)
{
    for (const Button& b : kButtons)
        if (b.control == c)
            return b.id;
    return 0;
}

PickerModel::Control PickerModel::defaultButton() const
{
    return isButton(focus_) ? focus_ : Control::Fullscreen;
}

int PickerModel::clampIndex(int index) const { return std::clamp(index, 0, entryCount_ - 1); }

int PickerModel::step(int from, Key key) const
{
    if (entryCount_ == 0)
        return -1;
    if (from < 0) // nothing chosen yet: any move starts at one end
        return key == Key::End ? entryCount_ - 1 : 0;
    const int page = std::max(visibleRows() - 1, 1);
    switch (key) {
    case Key::Up: return clampIndex(from - 1);
    case Key::Down: return clampIndex(from + 1);
    case Key::PageUp: return clampIndex(from - page);
    case Key::PageDown: return clampIndex(from + page);
    case Key::Home: return 0;
    case Key::End: return entryCount_ - 1;
    default: return from;
    }
}

void PickerModel::scrollTo(int top)
{
    scrollTop_ = std::clamp(top, 0, std::max(entryCount_ - visibleRows(), 0));
}

void PickerModel::ensureVisible(int index)
{
    if (index < 0)
        return;
    if (index < scrollTop_)
        scrollTo(index);
    else if (index >= scrollTop_ + visibleRows())
        scrollTo(index - visibleRows() + 1);
}

void PickerModel::openList()
{
    if (entryCount_ == 0)
        return;
    listOpen_ = true;
    focus_ = Control::Combo;
    highlighted_ = selected_;
    // Open with the chosen entry in the middle of the rows, or as near it as the list allows.
    scrollTo(selected_ - visibleRows() / 2);
}

void PickerModel::closeList(bool take)
{
    if (take && highlighted_ >= 0)
        selected_ = highlighted_;
    listOpen_ = false;
    highlighted_ = -1;
    dragOffset_ = -1;
    if (pressed_ == Control::ListRow || pressed_ == Control::ScrollBar)
        pressed_ = Control::None;
}

void PickerModel::key(Key key)
{
    if (finished())
        return;
    if (key == Key::Tab || key == Key::BackTab) {
        if (listOpen_)
            closeList(true);
        const int n = 4; // Combo and the three buttons
        const int delta = key == Key::Tab ? 1 : n - 1;
        focus_ = static_cast<Control>((static_cast<int>(focus_) + delta) % n);
        return;
    }
    if (listOpen_) {
        switch (key) {
        case Key::Enter:
        case Key::ToggleList: closeList(true); break;
        case Key::Escape: closeList(false); break;
        case Key::Space: break;
        default:
            highlighted_ = step(highlighted_, key);
            ensureVisible(highlighted_);
        }
        return;
    }
    switch (key) {
    case Key::Enter: button_ = buttonId(defaultButton()); break;
    case Key::Space:
        if (isButton(focus_))
            button_ = buttonId(focus_);
        break;
    case Key::Escape: button_ = buttonId(Control::Windowed); break;
    case Key::ToggleList: openList(); break;
    default: selected_ = step(selected_, key);
    }
}

void PickerModel::dragThumb(int y)
{
    const PickerRect track = scrollTrackRect();
    const int thumb = scrollThumbRect().h;
    const int travel = track.h - thumb;
    if (travel <= 0)
        return;
    const int range = entryCount_ - visibleRows();
    const int pos = std::clamp(y - dragOffset_ - track.y, 0, travel);
    scrollTo((pos * range + travel / 2) / travel);
}

void PickerModel::mouseMove(int x, int y)
{
    if (finished())
        return;
    if (dragOffset_ >= 0) {
        dragThumb(y);
        return;
    }
    hover_ = hitTest(x, y);
    if (listOpen_ && hover_.control == Control::ListRow)
        highlighted_ = hover_.row;
}

void PickerModel::mouseDown(int x, int y)
{
    if (finished())
        return;
    const Hit hit = hitTest(x, y);
    hover_ = hit;
    if (listOpen_) {
        if (hit.control == Control::ListRow) {
            highlighted_ = hit.row;
            pressed_ = Control::ListRow;
        } else if (hit.control == Control::ScrollBar) {
            const PickerRect thumb = scrollThumbRect();
            pressed_ = Control::ScrollBar;
            if (thumb.contains(x, y))
                dragOffset_ = y - thumb.y;
            else // a click on the track pages towards the pointer
                scrollTo(scrollTop_ + (y < thumb.y ? -1 : 1) * std::max(visibleRows() - 1, 1));
        } else if (!listRect().contains(x, y)) {
            // A click outside closes the list and does nothing else, like a native drop-down.
            closeList(false);
        }
        return;
    }
    if (hit.control == Control::Combo) {
        openList();
        // Pressing on the box, dragging onto an entry and releasing there takes that entry.
        if (listOpen_)
            pressed_ = Control::ListRow;
    } else if (isButton(hit.control)) {
        focus_ = hit.control;
        pressed_ = hit.control;
    }
}

void PickerModel::mouseUp(int x, int y)
{
    if (finished())
        return;
    const Hit hit = hitTest(x, y);
    const Control pressed = pressed_;
    pressed_ = Control::None;
    dragOffset_ = -1;
    if (pressed == Control::ListRow && listOpen_ && hit.control == Control::ListRow) {
        highlighted_ = hit.row;
        closeList(true);
    } else if (isButton(pressed) && hit.control == pressed) {
        button_ = buttonId(pressed);
    }
    hover_ = hitTest(x, y);
}

void PickerModel::wheel(int steps)
{
    if (finished() || steps == 0)
        return;
    if (listOpen_) {
        scrollTo(scrollTop_ - steps * kWheelRows);
        return;
    }
    const Key key = steps > 0 ? Key::Up : Key::Down;
    for (int i = 0; i < (steps > 0 ? steps : -steps); ++i)
        selected_ = step(selected_, key);
}

void PickerModel::close()
{
    if (!finished())
        button_ = buttonId(Control::Windowed);
}

} // namespace platform
