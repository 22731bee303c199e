// The window system of Windows: live key and button state, cursor, window positions, the tick counter.
#pragma once

#include "platform/WindowSystem.h"

namespace platform {

class Win32WindowSystem : public WindowSystem {
public:
    int liveButtons() override;
    bool buttonsSwapped() override;
    Point pointerOnScreen() override;
    Point windowOrigin(NativeWindow window) override;
    std::unique_ptr<DeviceContext> windowContext(NativeWindow window) override;
    std::uint32_t ticks() override;
    void sleep(std::uint32_t milliseconds) override;

    NativeWindow createChildWindow(NativeWindow, int, int, WindowClient*) override { return 0; }
    void destroyWindow(NativeWindow) override {}
    void hideWindow(NativeWindow) override {}
    void resizeWindow(NativeWindow, int, int) override {}
    bool handlePendingPaint() override { return false; }
    CursorHandle cursorInUse() override { return 0; }
    void useStandardCursor(CursorShape) override {}
    void useCursor(CursorHandle) override {}
    bool registerDropTarget(NativeWindow, DropClient*) override { return false; }
    void revokeDropTarget(NativeWindow) override {}
};

}  // namespace platform
