// A window system whose state a test scripts: buttons, pointer, window origins and the clock.
// Sleeping advances the clock instead of waiting, so throttled loops run deterministically. Windows
// are images in memory; the test delivers presses, wheel turns, damage and destruction by hand.
#pragma once

#include "platform/WindowSystem.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace platform {

class HeadlessWindowSystem : public WindowSystem {
public:
    // One step of a scripted gesture: what the live state reads until the next step.
    struct InputStep {
        int buttons = 0;
        Point pointer;
    };

    int liveButtons() override;
    bool buttonsSwapped() override { return swapped; }
    Point pointerOnScreen() override { return pointer; }
    Point windowOrigin(NativeWindow window) override;
    std::unique_ptr<DeviceContext> windowContext(NativeWindow window) override;
    std::uint32_t ticks() override { return clock; }
    void sleep(std::uint32_t milliseconds) override;

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
    int dialogFrameHeight() override { return dialogFrame; }

    CursorHandle cursorInUse() override { return cursor; }
    void useStandardCursor(CursorShape shape) override { cursor = kStandardCursorBase + CursorHandle(shape); }
    void useCursor(CursorHandle c) override { cursor = c; }

    bool registerDropTarget(NativeWindow window, DropClient* client) override;
    void revokeDropTarget(NativeWindow window) override;

    std::uint16_t registerWindowClass(const WindowClassRecord& record, std::uint32_t& error) override;
    NativeWindow createClassWindow(const char* className, const char* title, std::uint32_t style,
                                   const Rect& placement, NativeWindow parent, ModuleHandle instance,
                                   std::uint32_t& error) override;
    void showWindowNow(NativeWindow window) override;
    bool destroyClassWindow(NativeWindow window) override;
    Rect clientRect(NativeWindow window) override;

    // --- what a test drives and reads ---
    void setButtons(int bits) { buttons = bits; }
    void setSwapped(bool on) { swapped = on; }
    void setPointer(Point p) { pointer = p; }
    void setWindowOrigin(NativeWindow window, Point origin) { origins[window] = origin; }
    void setTicks(std::uint32_t t) { clock = t; }
    // Each read of liveButtons moves to the next step (the last one stays); the pointer follows.
    void script(std::vector<InputStep> steps);
    // Called on every sleep, with the clock already advanced: lets a test act "during" an idle cycle.
    void onSleep(std::function<void()> hook) { sleepHook = std::move(hook); }

    static constexpr CursorHandle kFirstCursor = 1;
    static constexpr CursorHandle kStandardCursorBase = 100;

    void failNextWindow() { failNext = true; }
    // The next class registration or class window fails with this system error.
    void failNextClassRegistration(std::uint32_t error) { failRegistration = error; }
    void failNextClassWindow(std::uint32_t error) { failClassWindow = error; }
    // What a class window was made as; empty names for any other window.
    struct ClassWindowInfo {
        std::string className;
        std::string title;
        std::uint32_t style = 0;
        ModuleHandle instance = 0;
        int shownNow = 0;  // showWindowNow calls
    };
    ClassWindowInfo classWindow(NativeWindow window) const;
    // The last class registered, as it was described.
    const WindowClassRecord& lastClassRecord() const { return lastRecord; }
    int classWindowsDestroyed() const { return classDestroyed; }
    bool exists(NativeWindow window) const { return windows.count(window) != 0; }
    bool visible(NativeWindow window) const;
    std::size_t windowCount() const { return windows.size(); }
    NativeWindow parentOf(NativeWindow window) const;
    // A press in client coordinates, as the system would deliver it.
    void press(NativeWindow window, Point where);
    // A press that waits for handleEvents, as a system that queues its events delivers it.
    void queuePress(NativeWindow window, Point where) { queuedPresses.emplace_back(window, where); }
    void handleEvents() override;
    void wheel(NativeWindow window, Point onScreen, int notches);
    // Queues a paint of the damaged rectangle; handlePendingPaint (or paintNow) delivers it.
    void damage(NativeWindow window, Rect damaged);
    void paintNow(NativeWindow window, Rect damaged);
    std::size_t pendingPaints() const { return paints.size(); }
    // The system destroys the window as it would with its parent: the client hears of it, the handle dies.
    void destroyWithParent(NativeWindow window);
    std::uint32_t pixel(NativeWindow window, int x, int y) const;
    DropClient* dropClient(NativeWindow window) const;
    int destroyCalls() const { return destroyed; }

    // Windows of a host: a parent (0: top-level), the outer rectangle in the parent's client area, a
    // title bar and a class name ("MDIClient" is a document area). Windows here have no borders, so a
    // client area starts at the outer top-left. Never ours: no paints, no drop targets.
    NativeWindow addHostWindow(NativeWindow parent, Rect rect, bool caption = false, std::string className = "");
    void setParent(NativeWindow hostWindow, NativeWindow parent);
    void removeHostWindow(NativeWindow hostWindow);
    // The host destroys its window: every window of ours inside it goes too (their clients hear of it),
    // as the system takes children with their parent.
    void destroyHostWindow(NativeWindow hostWindow);
    // A window's outer rectangle in its parent's client area, ours or the host's; empty when unknown.
    Rect rectOf(NativeWindow window) const;
    // The classic dialog frame of Windows unless a test says otherwise.
    void setDialogFrameHeight(int pixels) { dialogFrame = pixels; }
    struct Resize {
        NativeWindow window;
        int w;
        int h;
        friend bool operator==(const Resize&, const Resize&) = default;
    };
    // Every resize of ours or the host's windows that took effect, in order.
    const std::vector<Resize>& resizes() const { return resizeLog; }

private:
    struct Window {
        NativeWindow parent = 0;
        WindowClient* client = nullptr;
        DropClient* drop = nullptr;
        std::unique_ptr<DeviceContext> image;
        bool visible = true;
        Rect rect;
        ClassWindowInfo made;
    };
    struct HostWindow {
        NativeWindow parent = 0;
        Rect rect;
        bool caption = false;
        std::string className;
    };

    int buttons = 0;
    bool swapped = false;
    Point pointer;
    std::uint32_t clock = 0;
    std::map<NativeWindow, Point> origins;
    std::vector<InputStep> steps;
    std::size_t nextStep = 0;
    std::function<void()> sleepHook;
    CursorHandle cursor = kFirstCursor;
    bool failNext = false;
    NativeWindow nextWindow = 0x100;
    std::map<NativeWindow, Window> windows;
    std::deque<std::pair<NativeWindow, Rect>> paints;
    std::deque<std::pair<NativeWindow, Point>> queuedPresses;
    int destroyed = 0;
    std::map<NativeWindow, HostWindow> hosts;
    NativeWindow nextHost = 0x10000;
    int dialogFrame = 3;
    std::vector<Resize> resizeLog;
    std::uint32_t failRegistration = 0;
    std::uint32_t failClassWindow = 0;
    WindowClassRecord lastRecord;
    int classDestroyed = 0;
};

}  // namespace platform
