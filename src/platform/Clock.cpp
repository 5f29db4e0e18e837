#include "platform/Clock.h"

#include <chrono>
#include <ctime>

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

double threadCpuSeconds()
{
    timespec now{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now) != 0)
        return 0.0;
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

} // namespace platform
