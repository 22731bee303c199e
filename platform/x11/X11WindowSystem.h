// The window system of Linux desktops: child windows of the host's X11 window on the plug-in's own
// display connection. The host runs no loop for that connection, so its events are handled when the
// editor idles. Windows keep a backing image that paints go into and are copied from.
#pragma once

#include "platform/WindowSystem.h"

#include <map>
#include <memory>
#include <set>
#include <vector>

struct _XDisplay;

namespace platform {

class X11WindowSystem : public WindowSystem {
public:
    X11WindowSystem() = default;
    ~X11WindowSystem() override;

    int liveButtons() override;
    bool buttonsSwapped() override { return false; }  // the server applies its button map itself
    Point pointerOnScreen() override;
    Point windowOrigin(NativeWindow window) override;
    std::unique_ptr<DeviceContext> windowContext(NativeWindow window) override;
    std::uint32_t ticks() override;
    void sleep(std::uint32_t milliseconds) override;

    NativeWindow createChildWindow(NativeWindow parent, int w, int h, WindowClient* client) override;
    void destroyWindow(NativeWindow window) override;
    void hideWindow(NativeWindow window) override;
    void resizeWindow(NativeWindow window, int w, int h) override;
    void handleEvents() override;
    bool handlePendingPaint() override;

    // A window whose parent is the root is the top: it has no parent here, and counts as titled,
    // since a window manager would decorate it. No window adds a frame of its own (the manager
    // draws decorations outside the client's geometry), so the dialog frame is 0.
    NativeWindow parentWindow(NativeWindow window) override;
    Rect outerRect(NativeWindow window, NativeWindow relativeTo) override;
    bool hasCaption(NativeWindow window) override;
    void resizeHostWindow(NativeWindow window, int w, int h) override;

    CursorHandle cursorInUse() override { return cursor; }
    void useStandardCursor(CursorShape shape) override;
    void useCursor(CursorHandle c) override;

    bool registerDropTarget(NativeWindow, DropClient*) override { return true; }
    void revokeDropTarget(NativeWindow) override {}

    NativeWindow createClassWindow(const char* className, const char* title, std::uint32_t style,
                                   const Rect& placement, NativeWindow parent, ModuleHandle instance,
                                   std::uint32_t& error) override;
    void showWindowNow(NativeWindow window) override;
    bool destroyClassWindow(NativeWindow window) override;
    Rect clientRect(NativeWindow window) override;

    // Copies part of the window's backing image to the screen: all of it after an expose (the server
    // has lost what it showed), otherwise only the rows that differ from what the screen last got.
    void present(NativeWindow window, const Rect& r, bool exposed);

private:
    struct Window {
        WindowClient* client = nullptr;
        std::unique_ptr<DeviceContext> image;
        // What the screen shows, as last sent: an idle pass that changed nothing sends nothing.
        std::vector<std::uint32_t> shown;
    };
    _XDisplay* display(bool retry = false);
    void dispatch(void* event);

    _XDisplay* connection = nullptr;
    bool tried = false;
    std::map<NativeWindow, Window> windows;
    // Class windows alive as far as the server has told us; those that died with their parent leave.
    std::set<NativeWindow> classWindows;
    CursorHandle cursor = 0;
    std::map<int, CursorHandle> made;
};

}  // namespace platform
