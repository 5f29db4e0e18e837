// Facts about the program's standard streams.
#pragma once

namespace platform {

// Whether standard error is a terminal (progress lines are then redrawn in place).
bool standardErrorIsTerminal();

} // namespace platform
