// The closing text the greetings scene scrolls: quotations, thanks and the closing lines.
#pragma once

namespace greetings {

inline constexpr int kTextLines = 55;
inline constexpr int kMaxLineLength = 63;
extern const char* const kText[kTextLines];

} // namespace greetings
