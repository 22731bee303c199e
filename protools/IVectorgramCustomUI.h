// What the +vectorgram process asks of its window bridge. Operations in slot order.
#pragma once

#include "platform/PlatformTypes.h"

#include <cstdint>

class IVectorgramCustomUI {
public:
    virtual ~IVectorgramCustomUI() = default;

    // Registers the bridge's window class; throws the system's error number (std::uint32_t) on a
    // failure other than the class existing already.
    virtual void registerWindowClass() = 0;
    // The bridge's window in the host's window, the editor opened inside it; false when nothing was
    // made. Throws the system's error number when the window cannot be made.
    virtual bool open(platform::NativeWindow parent) = 0;
    // The editor closed and the bridge's window destroyed; false when there was none.
    virtual bool close() = 0;
    // Pro Tools shows a control's value: control 2 moves the editor's slider and scope. Answers 0.
    virtual std::int32_t setControlValue(std::int32_t index, std::int32_t value) = 0;
    virtual void idle() = 0;
    virtual void draw(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) = 0;
    virtual void getRect(std::int32_t* left, std::int32_t* top, std::int32_t* right, std::int32_t* bottom) = 0;
    virtual void setRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) = 0;
    virtual void setControlHighlight(std::int32_t index, bool highlighted, std::int32_t colour) = 0;
    virtual void controlIndexAt(std::int32_t x, std::int32_t y, std::int32_t* index) = 0;
};
