// A window system whose state a test scripts: buttons, pointer, window origins and the clock.
// Sleeping advances the clock instead of waiting, so throttled loops run deterministically.
#pragma once

#include "platform/WindowSystem.h"

#include <map>

namespace platform {

class HeadlessWindowSystem : public WindowSystem {
public:
    int liveButtons() override { return buttons; }
    bool buttonsSwapped() override { return swapped; }
    Point pointerOnScreen() override { return pointer; }
    Point windowOrigin(NativeWindow window) override;
    std::unique_ptr<DeviceContext> windowContext(NativeWindow window) override;
    std::uint32_t ticks() override { return clock; }
    void sleep(std::uint32_t milliseconds) override { clock += milliseconds; }

    void setButtons(int bits) { buttons = bits; }
    void setSwapped(bool on) { swapped = on; }
    void setPointer(Point p) { pointer = p; }
    void setWindowOrigin(NativeWindow window, Point origin) { origins[window] = origin; }
    void setTicks(std::uint32_t t) { clock = t; }

private:
    int buttons = 0;
    bool swapped = false;
    Point pointer;
    std::uint32_t clock = 0;
    std::map<NativeWindow, Point> origins;
};

}  // namespace platform
