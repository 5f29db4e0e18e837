// Modal message boxes: an SDL box on a desktop, one "TITLE: text" line on standard error when
// the program runs headless or no display exists.
#pragma once
#include <functional>
#include <string>

namespace platform {

enum class MessageIcon { Error, Warning, Information };

void showMessageBox(const std::string& title, const std::string& text,
                    MessageIcon icon = MessageIcon::Error);

// Headless runs never open a box: the text goes to standard error instead.
void setMessageBoxHeadless(bool headless);

// Called with every box's title and text before it is shown (the application logs them).
void setMessageBoxListener(std::function<void(const std::string&, const std::string&)> listener);

// While set, boxes are handed to `divert` instead of being shown or written to standard error
// (a check or a reload turns them into problems), or, with `alsoShow`, before being shown as
// usual (start-up collects them beside the box); the listener still sees them. Empty: boxes
// are shown again.
void setMessageBoxDiversion(std::function<void(const std::string&, const std::string&)> divert,
                            bool alsoShow = false);

} // namespace platform
