// The window system of Windows: child windows of a class registered once per library, live key and
// button state, cursor, window positions, the tick counter, OLE and drop targets.
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
    std::uint32_t doubleClickTime() override;

    NativeWindow createChildWindow(NativeWindow parent, int w, int h, WindowClient* client) override;
    void destroyWindow(NativeWindow window) override;
    void hideWindow(NativeWindow window) override;
    void resizeWindow(NativeWindow window, int w, int h) override;
    bool handlePendingPaint() override;

    NativeWindow parentWindow(NativeWindow window) override;
    Rect outerRect(NativeWindow window, NativeWindow relativeTo) override;
    bool hasCaption(NativeWindow window) override;
    bool isDocumentArea(NativeWindow window) override;
    void resizeHostWindow(NativeWindow window, int w, int h) override;
    int dialogFrameHeight() override;

    CursorHandle cursorInUse() override;
    void useStandardCursor(CursorShape shape) override;
    void useCursor(CursorHandle cursor) override;

    bool startThreadServices() override;
    void stopThreadServices() override;
    bool registerDropTarget(NativeWindow window, DropClient* client) override;
    void revokeDropTarget(NativeWindow window) override;

    std::uint32_t windowClassRecordSize() override;
    std::uint16_t registerWindowClass(const WindowClassRecord& record, std::uint32_t& error) override;
    bool unregisterWindowClass(const char* className, ModuleHandle instance, std::uint32_t& error) override;
    NativeWindow createClassWindow(const char* className, const char* title, std::uint32_t style,
                                   const Rect& placement, NativeWindow parent, ModuleHandle instance,
                                   std::uint32_t& error) override;
    void showWindowNow(NativeWindow window) override;
    bool destroyClassWindow(NativeWindow window) override;
    Rect clientRect(NativeWindow window) override;

    // The class name of this library's windows ("Plugin" and the module handle); for tests.
    static const char* windowClassName();
    static bool windowClassRegistered();
};

}  // namespace platform
