// The high-resolution counter behind the frame clock.
#pragma once
#include <cstdint>

namespace platform {

std::uint64_t performanceCounter();
std::uint64_t performanceFrequency();
// CPU seconds the calling thread has used so far (GL drivers that render on worker threads do
// not count here, so this is the program's own work).
double threadCpuSeconds();

} // namespace platform
