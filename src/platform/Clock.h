// The high-resolution counter behind the frame clock.
#pragma once
#include <cstdint>

namespace platform {

std::uint64_t performanceCounter();
std::uint64_t performanceFrequency();

} // namespace platform
