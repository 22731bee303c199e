// What a window tells the object that lives in it. The frame implements it; each window system calls
// it from the thread that owns the window.
#pragma once

#include "platform/DeviceContext.h"
#include "platform/PlatformTypes.h"

namespace platform {

class WindowClient {
public:
    // A button went down at this point of the client area.
    virtual void windowPressed(Point where) = 0;
    // The wheel turned by whole notches; the point is on the screen, as the system reports it.
    virtual void windowWheel(Point where, int notches) = 0;
    // Part of the window was damaged; dc draws into the window.
    virtual void windowPaint(DeviceContext& dc, const Rect& damaged) = 0;
    // The system destroyed the window (with its parent): the handle is no longer ours.
    virtual void windowDestroyed() = 0;

protected:
    ~WindowClient() = default;
};

}  // namespace platform
