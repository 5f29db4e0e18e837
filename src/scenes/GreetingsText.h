// The closing text the greetings scene scrolls: quotations, thanks and the closing lines.
#pragma once

namespace greetings {

inline constexpr int kTextLines = 55;
// Lines are printed from x = 36 at 15 units a character: 40 characters reach the right edge
// of the 640-unit screen; a longer line would be cut off there.
inline constexpr int kMaxLineLength = 40;
extern const char* const kText[kTextLines];

} // namespace greetings
