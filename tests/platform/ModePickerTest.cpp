// The display-mode picker without a display: its font table, layout, and keyboard and mouse
// behaviour.
#include "platform/PickerFont.h"
#include "platform/PickerModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

using platform::PickerFont;
using platform::PickerModel;
using platform::PickerRect;
using Key = PickerModel::Key;
using Control = PickerModel::Control;

namespace {

int centreX(const PickerRect& r) { return r.x + r.w / 2; }
int centreY(const PickerRect& r) { return r.y + r.h / 2; }

void click(PickerModel& m, const PickerRect& r)
{
    m.mouseMove(centreX(r), centreY(r));
    m.mouseDown(centreX(r), centreY(r));
    m.mouseUp(centreX(r), centreY(r));
}

bool overlaps(const PickerRect& a, const PickerRect& b)
{
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

bool inside(const PickerRect& r)
{
    return r.x >= 0 && r.y >= 0 && r.x + r.w <= PickerModel::width() && r.y + r.h <= PickerModel::height();
}

} // namespace

TEST(PickerFont, EveryPrintableCharacterHasItsOwnInkedGlyph)
{
    for (int c = PickerFont::kFirst + 1; c <= PickerFont::kLast; ++c) {
        const auto& g = PickerFont::glyph(char(c));
        EXPECT_GT(g.advance, 0) << char(c);
        int ink = 0;
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x)
                ink = std::max(ink, int(PickerFont::row(g, y)[x]));
        EXPECT_GT(ink, 128) << "glyph without ink: " << char(c);
        EXPECT_LE(g.top, PickerFont::ascent()) << char(c);
    }
    EXPECT_EQ(PickerFont::glyph(' ').width * PickerFont::glyph(' ').height, 0);
    EXPECT_NE(&PickerFont::glyph('a'), &PickerFont::glyph('b'));
    // Characters outside printable ASCII are drawn as '?'.
    EXPECT_EQ(&PickerFont::glyph('\t'), &PickerFont::glyph('?'));
    EXPECT_EQ(&PickerFont::glyph(char(0xE9)), &PickerFont::glyph('?'));
    EXPECT_GE(PickerFont::lineHeight(), 12);
    EXPECT_LE(PickerFont::lineHeight(), 18);
}

TEST(PickerFont, FitKeepsShortTextAndEllipsisesLongText)
{
    const std::string text = "1920x1080 32 BPP (60 Hz)";
    const int full = PickerFont::textWidth(text);
    EXPECT_EQ(PickerFont::fit(text, full), text);
    for (int width : {full - 1, full / 2, PickerFont::textWidth("...") + 1}) {
        const std::string shown = PickerFont::fit(text, width);
        EXPECT_LE(PickerFont::textWidth(shown), width) << width;
        ASSERT_GE(shown.size(), 3u);
        EXPECT_EQ(shown.substr(shown.size() - 3), "...");
        EXPECT_EQ(text.compare(0, shown.size() - 3, shown, 0, shown.size() - 3), 0) << shown;
    }
    EXPECT_EQ(PickerFont::fit(text, PickerFont::textWidth("...") - 1), "");
    EXPECT_EQ(PickerFont::fit(text, -5), "");
}

TEST(PickerFont, WrapBreaksAtSpacesWithinTheWidth)
{
    const std::string text = "A real-time show  by the makers of many things";
    const int width = PickerFont::textWidth("A real-time show by");
    const auto lines = PickerFont::wrap(text, width);
    ASSERT_GE(lines.size(), 3u);
    std::string joined;
    for (const std::string& line : lines) {
        EXPECT_LE(PickerFont::textWidth(line), width) << line;
        EXPECT_FALSE(line.empty());
        EXPECT_NE(line.front(), ' ');
        EXPECT_NE(line.back(), ' ');
        joined += (joined.empty() ? "" : " ") + line;
    }
    EXPECT_EQ(joined, "A real-time show by the makers of many things");
    EXPECT_EQ(lines[0], "A real-time show by");

    // A word wider than the line is cut; nothing is lost around it.
    const auto cut = PickerFont::wrap("to Supercalifragilistic go", PickerFont::textWidth("Supercali"));
    ASSERT_EQ(cut.size(), 3u);
    EXPECT_EQ(cut[0], "to");
    EXPECT_EQ(cut[1].substr(cut[1].size() - 3), "...");
    EXPECT_EQ(cut[2], "go");
    EXPECT_EQ(PickerFont::wrap("", 100), std::vector<std::string>{""});
    EXPECT_EQ(PickerFont::wrap("Short", 1000), std::vector<std::string>{"Short"});
}

TEST(PickerModel, LayoutKeepsControlsApartAndInsideTheWindow)
{
    const PickerModel m(30, 1);
    const PickerRect controls[] = {PickerModel::labelRect(),     PickerModel::comboRect(),
                                   PickerModel::creditRect(),    PickerModel::buttonRect(0),
                                   PickerModel::buttonRect(1),   PickerModel::buttonRect(2)};
    for (size_t i = 0; i < std::size(controls); ++i) {
        EXPECT_TRUE(inside(controls[i])) << i;
        for (size_t j = i + 1; j < std::size(controls); ++j)
            EXPECT_FALSE(overlaps(controls[i], controls[j])) << i << " " << j;
    }
    // The longest open list still fits into the window, as do its rows and scroll bar.
    EXPECT_TRUE(inside(m.listRect()));
    EXPECT_TRUE(m.hasScrollBar());
    EXPECT_FALSE(overlaps(m.rowRect(0), m.scrollTrackRect()));
    EXPECT_TRUE(inside(m.rowRect(m.visibleRows() - 1)));
    // Every row's text fits the widest mode text.
    EXPECT_LE(PickerFont::textWidth("10240x4320 32 BPP (240 Hz)") + 20, m.rowRect(0).w);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(m.hitTest(centreX(PickerModel::buttonRect(i)), centreY(PickerModel::buttonRect(i))).control,
                  PickerModel::kButtons[i].control);
}

TEST(PickerModel, InitialSelectionOutsideTheEntriesSelectsNothing)
{
    EXPECT_EQ(PickerModel(5, 1).selected(), 1);
    EXPECT_EQ(PickerModel(2, 1).selected(), 1);
    EXPECT_EQ(PickerModel(1, 1).selected(), -1);
    EXPECT_EQ(PickerModel(0, 1).selected(), -1);
    EXPECT_EQ(PickerModel(5, -3).selected(), -1);

    PickerModel one(1, 1);
    one.key(Key::Up); // from no selection, a move starts at the first entry
    EXPECT_EQ(one.selected(), 0);
    PickerModel none(0, 1);
    none.key(Key::Down);
    none.key(Key::ToggleList);
    EXPECT_FALSE(none.listOpen());
    EXPECT_EQ(none.selected(), -1);
}

TEST(PickerModel, KeysMoveTheSelectionAndChooseAButton)
{
    PickerModel m(4, 1);
    m.key(Key::Down);
    m.key(Key::Down);
    m.key(Key::Down); // stops at the last entry
    EXPECT_EQ(m.selected(), 3);
    m.key(Key::Home);
    m.key(Key::Up);
    EXPECT_EQ(m.selected(), 0);
    EXPECT_FALSE(m.finished());
    m.key(Key::Enter);
    EXPECT_EQ(m.button(), 1);
    m.key(Key::Escape); // nothing changes once chosen
    EXPECT_EQ(m.button(), 1);

    PickerModel esc(4, 1);
    esc.key(Key::End);
    esc.key(Key::Escape);
    EXPECT_EQ(esc.button(), 2);
    EXPECT_EQ(esc.selected(), 3);

    PickerModel closed(4, 2);
    closed.close();
    EXPECT_EQ(closed.button(), 2);
    EXPECT_EQ(closed.selected(), 2);

    // Enter takes the focused button; Tab walks the combo box and the three buttons.
    PickerModel tab(4, 1);
    tab.key(Key::BackTab);
    EXPECT_EQ(tab.focus(), Control::Reboot);
    tab.key(Key::Tab);
    EXPECT_EQ(tab.focus(), Control::Combo);
    tab.key(Key::Tab);
    tab.key(Key::Tab);
    EXPECT_EQ(tab.defaultButton(), Control::Windowed);
    tab.key(Key::Enter);
    EXPECT_EQ(tab.button(), 2);
}

TEST(PickerModel, OpenListScrollsAndTakesOrDropsTheHighlight)
{
    PickerModel m(20, 1);
    m.key(Key::ToggleList);
    ASSERT_TRUE(m.listOpen());
    EXPECT_EQ(m.scrollTop(), 0);
    m.key(Key::PageDown);
    m.key(Key::PageDown);
    m.key(Key::PageDown);
    EXPECT_EQ(m.highlighted(), 19);
    EXPECT_EQ(m.scrollTop(), 20 - m.visibleRows()); // the highlight stays in view
    EXPECT_EQ(m.selected(), 1);
    m.key(Key::Escape); // closes the list, keeps the old selection, does not end the picker
    EXPECT_FALSE(m.listOpen());
    EXPECT_FALSE(m.finished());
    EXPECT_EQ(m.selected(), 1);

    m.key(Key::ToggleList);
    m.wheel(-100);
    EXPECT_EQ(m.scrollTop(), 20 - m.visibleRows());
    m.wheel(1);
    const int top = m.scrollTop();
    EXPECT_EQ(top, 20 - m.visibleRows() - 3);
    // The second visible row shows the entry below the first one scrolled into view.
    click(m, m.rowRect(1));
    EXPECT_FALSE(m.listOpen());
    EXPECT_EQ(m.selected(), top + 1);
    EXPECT_FALSE(m.finished());
}

TEST(PickerModel, ThumbDragCoversTheWholeList)
{
    PickerModel m(50, 0);
    click(m, PickerModel::comboRect());
    ASSERT_TRUE(m.listOpen());
    const PickerRect thumb = m.scrollThumbRect();
    m.mouseDown(centreX(thumb), centreY(thumb));
    m.mouseMove(centreX(thumb), PickerModel::height() + 500);
    EXPECT_EQ(m.scrollTop(), 50 - m.visibleRows());
    m.mouseMove(centreX(thumb), -500);
    EXPECT_EQ(m.scrollTop(), 0);
    m.mouseUp(centreX(thumb), -500);
    EXPECT_TRUE(m.listOpen());
}

TEST(PickerModel, ButtonsActOnReleaseOverThemselves)
{
    PickerModel m(3, 1);
    const PickerRect reboot = PickerModel::buttonRect(2);
    m.mouseDown(centreX(reboot), centreY(reboot));
    m.mouseUp(centreX(PickerModel::buttonRect(1)), centreY(PickerModel::buttonRect(1)));
    EXPECT_FALSE(m.finished());
    click(m, reboot);
    EXPECT_EQ(m.button(), 1005);
    EXPECT_EQ(m.selected(), 1);

    // While the list is open a click elsewhere only closes it.
    PickerModel open(3, 1);
    click(open, PickerModel::comboRect());
    ASSERT_TRUE(open.listOpen());
    click(open, PickerModel::buttonRect(0));
    EXPECT_FALSE(open.listOpen());
    EXPECT_FALSE(open.finished());
    click(open, PickerModel::buttonRect(0));
    EXPECT_EQ(open.button(), 1);
}
