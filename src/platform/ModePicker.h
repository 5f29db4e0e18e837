// The display-mode picker shown before the show: a small window with the caption "Oculith",
// the text "Select Screen Resolution:", a list of modes, a credit block and the buttons
// "Fullscreen", "Windowed" and "Reboot". Keyboard (arrows, Enter, Escape) and mouse.
#pragma once
#include <string>
#include <vector>

namespace platform {

struct ModePickerResult {
    // 1 "Fullscreen", 2 "Windowed" (also Escape and closing the window), 1005 "Reboot".
    int button = 2;
    // Index of the selected entry, -1 when none is selected.
    int selected = -1;
};

ModePickerResult runModePicker(const std::string& caption, const std::vector<std::string>& entries,
                               int initialSelection, const std::vector<std::string>& creditLines);

} // namespace platform
