#include "protools/library/WindowPort.h"

#include <limits>

platform::NativeWindow nativeWindowOfPort(const PI_WindowPort* port)
{
    if (!port || port->version != PI_PortVersion) return 0;
    // A handle wider than this system's windows names none of them.
    if constexpr (sizeof(platform::NativeWindow) < sizeof(port->window))
        if (port->window > std::numeric_limits<platform::NativeWindow>::max()) return 0;
    return platform::NativeWindow(port->window);
}
