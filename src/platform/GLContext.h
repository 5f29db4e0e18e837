// The current OpenGL context as the rest of the program sees it: entry points by name and the
// window system's extension string (EGL here; the program asked for WGL names on Windows).
#pragma once
#include <string>

namespace platform {

// Address of a GL entry point of the current context, or null.
void* getProcAddress(const char* name);

// The window-system extension string of the current context ("" when there is none).
std::string windowSystemExtensions();

} // namespace platform
