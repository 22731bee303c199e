// Window, input and time: child windows inside a host's window, the live state the framework polls,
// the clock, cursors and drop targets. One instance per process; tests install a headless one.
#pragma once

#include "platform/ClassWindow.h"
#include "platform/DeviceContext.h"
#include "platform/DropClient.h"
#include "platform/PlatformTypes.h"
#include "platform/WindowClient.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace platform {

enum class CursorShape { Wait, ResizeHorizontal, ResizeVertical, Move, ResizeNeSw, ResizeNwSe, Forbidden, Hand };

// A cursor the system had in use; opaque, only ever handed back.
using CursorHandle = std::uintptr_t;

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
    virtual std::uint32_t doubleClickTime() { return 500; }

    // A visible child window of w x h at (0, 0) of the parent, reporting to client; 0 on failure.
    virtual NativeWindow createChildWindow(NativeWindow parent, int w, int h, WindowClient* client) = 0;
    // Only for a window this system created and that still exists.
    virtual void destroyWindow(NativeWindow window) = 0;
    virtual void hideWindow(NativeWindow window) = 0;
    virtual void resizeWindow(NativeWindow window, int w, int h) = 0;

    // The windows a frame's window lives in, most of them the host's. Every call answers sensibly
    // (0, an empty rectangle, false, nothing done) for a handle that is gone.
    // The window's parent; 0 for a top-level window.
    virtual NativeWindow parentWindow(NativeWindow window) = 0;
    // The window's outer rectangle, borders and title bar included, in the client coordinates of
    // relativeTo (0: the screen).
    virtual Rect outerRect(NativeWindow window, NativeWindow relativeTo) = 0;
    // Whether the window has a title bar.
    virtual bool hasCaption(NativeWindow window) = 0;
    // Whether the window is a host's multiple-document area, whose children it lays out itself.
    virtual bool isDocumentArea(NativeWindow) { return false; }
    // Resizes a window that may be the host's to this outer size, keeping its top-left corner.
    virtual void resizeHostWindow(NativeWindow window, int w, int h) = 0;
    // Thickness of the frame the system draws around a dialog, in pixels.
    virtual int dialogFrameHeight() { return 0; }

    // Delivers what arrived for our windows (systems whose events come through the host's own loop
    // have nothing to do). Presses are not delivered while a press is being handled.
    virtual void handleEvents() {}
    // At most one waiting paint of any of our windows; true when one was handled.
    virtual bool handlePendingPaint() = 0;

    virtual CursorHandle cursorInUse() = 0;
    virtual void useStandardCursor(CursorShape shape) = 0;
    virtual void useCursor(CursorHandle cursor) = 0;

    // Per-thread services drop targets need (OLE on Windows). True only when this call started them;
    // then, and only then, stopThreadServices must be called on the same thread.
    virtual bool startThreadServices() { return false; }
    virtual void stopThreadServices() {}
    virtual bool registerDropTarget(NativeWindow window, DropClient* client) = 0;
    virtual void revokeDropTarget(NativeWindow window) = 0;

    // Windows of a class of the caller's own (ClassWindow.h). Failures answer 0 or false and set error
    // to the system's number. Without classes of its own a system keeps a registry here that answers
    // as Windows does: one class per name and instance.
    virtual std::uint32_t windowClassRecordSize() { return 48; }
    // The class's atom, or 0.
    virtual std::uint16_t registerWindowClass(const WindowClassRecord& record, std::uint32_t& error);
    virtual bool unregisterWindowClass(const char* className, ModuleHandle instance, std::uint32_t& error);
    // A window of a registered class at placement (in the parent's client area), or 0.
    virtual NativeWindow createClassWindow(const char* className, const char* title, std::uint32_t style,
                                           const Rect& placement, NativeWindow parent, ModuleHandle instance,
                                           std::uint32_t& error) = 0;
    // Shows the window normally, invalidates it without erasing and updates it at once.
    virtual void showWindowNow(NativeWindow window) = 0;
    // Destroys a window createClassWindow made; false, touching nothing, when it already went (with
    // its parent, say) or was never one.
    virtual bool destroyClassWindow(NativeWindow window) = 0;
    // The client area, (0, 0, width, height); empty for a handle that is gone.
    virtual Rect clientRect(NativeWindow window) = 0;

    // The process-wide instance: the system's own unless a test installed another.
    static WindowSystem& current();
    // Installs a replacement (null restores the system's own); the caller keeps ownership.
    static void install(WindowSystem* replacement);
    // Makes the system's own now, whatever is installed: a static that may still use windows in its
    // destructor calls this in its constructor, so that the window system outlives it.
    static void keepForLater();

protected:
    // The registry's class, for systems that keep theirs here.
    bool classIsRegistered(const char* className, ModuleHandle instance) const;

private:
    std::map<std::pair<ModuleHandle, std::string>, std::uint16_t> classes;
    std::uint16_t nextAtom = 0xC000;
};

}  // namespace platform
