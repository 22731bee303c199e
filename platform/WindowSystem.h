// Window, input and time: the live state the framework polls. Windows themselves (creation, events,
// paint) join this interface with the frame; for now it answers what the draw contexts ask.
#pragma once

#include "platform/DeviceContext.h"
#include "platform/PlatformTypes.h"

#include <cstdint>
#include <memory>

namespace platform {

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Physical buttons and modifiers held right now (kInput* bits), read live, not from a queue.
    virtual int liveButtons() = 0;
    // Whether the system swaps the left and right buttons at this moment.
    virtual bool buttonsSwapped() = 0;
    virtual Point pointerOnScreen() = 0;
    // Top-left corner of the window's client area on the screen.
    virtual Point windowOrigin(NativeWindow window) = 0;
    // A device context drawing into the window; null when the window has none.
    virtual std::unique_ptr<DeviceContext> windowContext(NativeWindow window) = 0;

    virtual std::uint32_t ticks() = 0;  // milliseconds, wraps
    virtual void sleep(std::uint32_t milliseconds) = 0;

    // The process-wide instance: the system's own unless a test installed another.
    static WindowSystem& current();
    // Installs a replacement (null restores the system's own); the caller keeps ownership.
    static void install(WindowSystem* replacement);
};

}  // namespace platform
