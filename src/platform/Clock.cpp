#include "platform/Clock.h"

#include <chrono>

namespace platform {

std::uint64_t performanceCounter()
{
    return static_cast<std::uint64_t>(
        std::chrono::steady_clock::now().time_since_epoch().count());
}

std::uint64_t performanceFrequency()
{
    using period = std::chrono::steady_clock::period;
    return static_cast<std::uint64_t>(period::den / period::num);
}

} // namespace platform
