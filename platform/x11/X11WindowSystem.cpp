#include "platform/x11/X11WindowSystem.h"

#include "platform/BorrowedDeviceContext.h"
#include "platform/x11/X11ErrorTrap.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#undef CursorShape  // a request class of X.h; the name is ours here

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace platform {

namespace {
// A context on a window's backing image that shows what was drawn when it goes.
class PresentingContext : public BorrowedDeviceContext {
public:
    PresentingContext(DeviceContext& image, X11WindowSystem& s, NativeWindow w, bool exposed = false)
        : BorrowedDeviceContext(image), system(s), window(w), size{0, 0, image.width(), image.height()}, exposed(exposed)
    {
    }
    ~PresentingContext() override { system.present(window, size, exposed); }

private:
    X11WindowSystem& system;
    NativeWindow window;
    Rect size;
    bool exposed;
};
}  // namespace

X11WindowSystem::~X11WindowSystem()
{
    if (connection) XCloseDisplay(connection);
}

Display* X11WindowSystem::display(bool retry)
{
    // Polls never retry (they run in drag loops); opening an editor does, so a display that came up
    // after a first failed attempt is found.
    if (!tried || (retry && !connection)) {
        tried = true;
        connection = XOpenDisplay(nullptr);
    }
    return connection;
}

int X11WindowSystem::liveButtons()
{
    Display* d = display();
    if (!d) return 0;
    ::Window root, child;
    int rx, ry, wx, wy;
    unsigned mask = 0;
    XQueryPointer(d, DefaultRootWindow(d), &root, &child, &rx, &ry, &wx, &wy, &mask);
    int bits = 0;
    if (mask & Button1Mask) bits |= kInputLeft;
    if (mask & Button2Mask) bits |= kInputMiddle;
    if (mask & Button3Mask) bits |= kInputRight;
    if (mask & ShiftMask) bits |= kInputShift;
    if (mask & ControlMask) bits |= kInputControl;
    if (mask & Mod1Mask) bits |= kInputAlt;
    return bits;
}

Point X11WindowSystem::pointerOnScreen()
{
    Display* d = display();
    if (!d) return {};
    ::Window root, child;
    int rx = 0, ry = 0, wx, wy;
    unsigned mask;
    XQueryPointer(d, DefaultRootWindow(d), &root, &child, &rx, &ry, &wx, &wy, &mask);
    return {rx, ry};
}

Point X11WindowSystem::windowOrigin(NativeWindow window)
{
    Display* d = display();
    if (!d || !windows.count(window)) return {};
    int x = 0, y = 0;
    ::Window child;
    XTranslateCoordinates(d, ::Window(window), DefaultRootWindow(d), 0, 0, &x, &y, &child);
    return {x, y};
}

std::unique_ptr<DeviceContext> X11WindowSystem::windowContext(NativeWindow window)
{
    auto it = windows.find(window);
    if (it == windows.end()) return nullptr;
    return std::make_unique<PresentingContext>(*it->second.image, *this, window);
}

std::uint32_t X11WindowSystem::ticks()
{
    using namespace std::chrono;
    return std::uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void X11WindowSystem::sleep(std::uint32_t milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

NativeWindow X11WindowSystem::createChildWindow(NativeWindow parent, int w, int h, WindowClient* client)
{
    Display* d = display(true);
    if (!d || !parent || w < 1 || h < 1) return 0;
    auto image = DeviceContext::createOffscreen(0, w, h);
    if (!image) return 0;
    X11ErrorTrap trap(d);
    const ::Window made = XCreateSimpleWindow(d, ::Window(parent), 0, 0, unsigned(w), unsigned(h), 0, 0, 0);
    if (!trap.sync() || !made) return 0;
    XSelectInput(d, made, ExposureMask | ButtonPressMask | StructureNotifyMask);
    XMapWindow(d, made);
    if (!trap.sync()) return 0;
    windows[NativeWindow(made)] = Window{client, std::move(image), {}};
    return NativeWindow(made);
}

void X11WindowSystem::destroyWindow(NativeWindow window)
{
    auto it = windows.find(window);
    if (it == windows.end() || !connection) return;
    windows.erase(it);
    X11ErrorTrap trap(connection);
    XDestroyWindow(connection, ::Window(window));
}

void X11WindowSystem::hideWindow(NativeWindow window)
{
    if (!connection || !windows.count(window)) return;
    X11ErrorTrap trap(connection);
    XUnmapWindow(connection, ::Window(window));
}

void X11WindowSystem::resizeWindow(NativeWindow window, int w, int h)
{
    auto it = windows.find(window);
    if (it == windows.end() || !connection) return;
    auto image = DeviceContext::createOffscreen(0, w, h);
    if (!image) return;
    it->second.image = std::move(image);
    it->second.shown.clear();
    X11ErrorTrap trap(connection);
    XResizeWindow(connection, ::Window(window), unsigned(w), unsigned(h));
}

NativeWindow X11WindowSystem::parentWindow(NativeWindow window)
{
    Display* d = display();
    if (!d || !window) return 0;
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    X11ErrorTrap trap(d);
    const Status ok = XQueryTree(d, ::Window(window), &root, &parent, &children, &count);
    if (children) XFree(children);
    if (!trap.sync() || !ok || parent == root) return 0;
    return NativeWindow(parent);
}

Rect X11WindowSystem::outerRect(NativeWindow window, NativeWindow relativeTo)
{
    Display* d = display();
    if (!d || !window) return {};
    ::Window root = 0, child = 0;
    int x = 0, y = 0;
    unsigned w = 0, h = 0, border = 0, depth = 0;
    X11ErrorTrap trap(d);
    if (!XGetGeometry(d, ::Window(window), &root, &x, &y, &w, &h, &border, &depth) || !trap.sync()) return {};
    // The origin of a window's own coordinates lies inside its border.
    const int b = int(border);
    if (!XTranslateCoordinates(d, ::Window(window), relativeTo ? ::Window(relativeTo) : root, -b, -b, &x, &y, &child)
        || !trap.sync())
        return {};
    return {x, y, x + int(w) + 2 * b, y + int(h) + 2 * b};
}

bool X11WindowSystem::hasCaption(NativeWindow window)
{
    Display* d = display();
    if (!d || !window) return false;
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    X11ErrorTrap trap(d);
    const Status ok = XQueryTree(d, ::Window(window), &root, &parent, &children, &count);
    if (children) XFree(children);
    return trap.sync() && ok && parent == root;
}

void X11WindowSystem::resizeHostWindow(NativeWindow window, int w, int h)
{
    if (windows.count(window)) {
        resizeWindow(window, w, h);
        return;
    }
    Display* d = display();
    if (!d || !window) return;
    X11ErrorTrap trap(d);
    ::Window root = 0;
    int x = 0, y = 0;
    unsigned gw = 0, gh = 0, border = 0, depth = 0;
    if (!XGetGeometry(d, ::Window(window), &root, &x, &y, &gw, &gh, &border, &depth) || !trap.sync()) return;
    // The size asked for is the outer one, as outerRect measures it; X sizes the inside. X refuses 0.
    const int inner = 2 * int(border);
    if (w - inner < 1 || h - inner < 1) return;
    XResizeWindow(d, ::Window(window), unsigned(w - inner), unsigned(h - inner));
}

NativeWindow X11WindowSystem::createClassWindow(const char* className, const char* title, std::uint32_t style,
                                                const Rect& placement, NativeWindow parent, ModuleHandle instance,
                                                std::uint32_t& error)
{
    Display* d = display(true);
    error = 0;
    if (!classIsRegistered(className, instance))
        error = kErrorClassNotFound;
    else if (!parent)
        error = kErrorNoParentForChild;
    else if (!d)
        error = kErrorInvalidWindowHandle;
    if (error) return 0;
    // X has no empty windows; the class's black brush is the window's background.
    const unsigned w = unsigned(std::max(placement.width(), 1)), h = unsigned(std::max(placement.height(), 1));
    X11ErrorTrap trap(d);
    const ::Window made = XCreateSimpleWindow(d, ::Window(parent), placement.left, placement.top, w, h, 0, 0,
                                              BlackPixel(d, DefaultScreen(d)));
    if (!trap.sync() || !made) {
        error = kErrorInvalidWindowHandle;
        return 0;
    }
    if (title) XStoreName(d, made, title);
    XSelectInput(d, made, StructureNotifyMask);
    if (style & kWindowVisible) XMapWindow(d, made);
    if (!trap.sync()) {
        error = kErrorInvalidWindowHandle;
        return 0;
    }
    classWindows.insert(NativeWindow(made));
    return NativeWindow(made);
}

void X11WindowSystem::showWindowNow(NativeWindow window)
{
    if (!connection || !classWindows.count(window)) return;
    X11ErrorTrap trap(connection);
    XMapWindow(connection, ::Window(window));
}

bool X11WindowSystem::destroyClassWindow(NativeWindow window)
{
    if (!connection) return false;
    // A window the server already reported gone is not asked about again.
    XSync(connection, False);
    XEvent e;
    if (XCheckTypedWindowEvent(connection, ::Window(window), DestroyNotify, &e)) classWindows.erase(window);
    if (!classWindows.erase(window)) return false;
    X11ErrorTrap trap(connection);
    XDestroyWindow(connection, ::Window(window));
    return trap.sync();
}

Rect X11WindowSystem::clientRect(NativeWindow window)
{
    Display* d = display(true);
    if (!d || !window) return {};
    XWindowAttributes a{};
    X11ErrorTrap trap(d);
    if (!XGetWindowAttributes(d, ::Window(window), &a) || !trap.sync()) return {};
    return {0, 0, a.width, a.height};
}

void X11WindowSystem::present(NativeWindow window, const Rect& r, bool exposed)
{
    auto it = windows.find(window);
    if (it == windows.end() || !connection) return;
    Window& w = it->second;
    DeviceContext& image = *w.image;
    Rect a{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, image.width()), std::min(r.bottom, image.height())};
    if (a.empty()) return;
    Display* d = connection;
    const int screen = DefaultScreen(d);
    if (DefaultDepth(d, screen) < 24) return;  // only true-colour displays get pictures
    std::vector<std::uint32_t> pixels = image.pixels();
    const std::size_t width = std::size_t(image.width());
    if (!exposed && w.shown.size() == pixels.size()) {
        const std::size_t bytes = std::size_t(a.width()) * sizeof(std::uint32_t);
        const auto same = [&](int y) {
            const std::size_t at = std::size_t(y) * width + std::size_t(a.left);
            return std::memcmp(&pixels[at], &w.shown[at], bytes) == 0;
        };
        while (a.top < a.bottom && same(a.top)) ++a.top;
        while (a.bottom > a.top && same(a.bottom - 1)) --a.bottom;
        if (a.empty()) return;
    }
    XImage* xi = XCreateImage(d, DefaultVisual(d, screen), unsigned(DefaultDepth(d, screen)), ZPixmap, 0,
                              reinterpret_cast<char*>(pixels.data()), unsigned(image.width()),
                              unsigned(image.height()), 32, image.width() * 4);
    if (!xi) return;
    X11ErrorTrap trap(d);
    GC gc = XCreateGC(d, ::Window(window), 0, nullptr);
    XPutImage(d, ::Window(window), gc, xi, a.left, a.top, a.left, a.top, unsigned(a.width()), unsigned(a.height()));
    XFreeGC(d, gc);
    xi->data = nullptr;  // ours, not Xlib's
    XDestroyImage(xi);

    // Remember what the screen now has; when that is not known for every pixel, remember nothing.
    const bool whole = a.left == 0 && a.top == 0 && a.right == image.width() && a.bottom == image.height();
    if (!trap.sync()) {
        w.shown.clear();
    } else if (whole) {
        w.shown = std::move(pixels);
    } else if (w.shown.size() == pixels.size()) {
        for (int y = a.top; y < a.bottom; ++y) {
            const std::size_t at = std::size_t(y) * width + std::size_t(a.left);
            std::memcpy(&w.shown[at], &pixels[at], std::size_t(a.width()) * sizeof(std::uint32_t));
        }
    } else {
        w.shown.clear();
    }
}

void X11WindowSystem::dispatch(void* raw)
{
    XEvent& e = *static_cast<XEvent*>(raw);
    if (e.type == DestroyNotify && e.xdestroywindow.window == e.xany.window)
        classWindows.erase(NativeWindow(e.xany.window));
    auto it = windows.find(NativeWindow(e.xany.window));
    if (it == windows.end()) return;
    WindowClient* client = it->second.client;
    switch (e.type) {
    case Expose: {
        const Rect r{e.xexpose.x, e.xexpose.y, e.xexpose.x + e.xexpose.width, e.xexpose.y + e.xexpose.height};
        PresentingContext dc(*it->second.image, *this, it->first, true);
        if (client) client->windowPaint(dc, r);
        break;
    }
    case ButtonPress:
        if (!client) break;
        if (e.xbutton.button >= 1 && e.xbutton.button <= 3)
            client->windowPressed({e.xbutton.x, e.xbutton.y});
        else if (e.xbutton.button == 4 || e.xbutton.button == 5)
            client->windowWheel({e.xbutton.x_root, e.xbutton.y_root}, e.xbutton.button == 4 ? 1 : -1);
        break;
    case DestroyNotify:
        if (e.xdestroywindow.window != e.xany.window) break;
        windows.erase(it);  // the handle is the server's again
        if (client) client->windowDestroyed();
        break;
    default: break;
    }
}

void X11WindowSystem::handleEvents()
{
    if (!connection) return;
    while (XPending(connection)) {
        XEvent e;
        XNextEvent(connection, &e);
        dispatch(&e);
    }
}

bool X11WindowSystem::handlePendingPaint()
{
    if (!connection) return false;
    XEvent e;
    if (!XCheckTypedEvent(connection, Expose, &e)) return false;
    dispatch(&e);
    return true;
}

void X11WindowSystem::useStandardCursor(CursorShape shape)
{
    if (!display()) return;
    static constexpr unsigned shapes[] = {XC_watch, XC_sb_h_double_arrow, XC_sb_v_double_arrow, XC_fleur,
                                          XC_top_right_corner, XC_top_left_corner, XC_X_cursor, XC_hand2};
    const int i = int(shape);
    if (!made.count(i)) made[i] = XCreateFontCursor(connection, shapes[i]);
    useCursor(made[i]);
}

void X11WindowSystem::useCursor(CursorHandle c)
{
    cursor = c;
    if (!connection) return;
    for (auto& [window, w] : windows) {
        if (c)
            XDefineCursor(connection, ::Window(window), ::Cursor(c));
        else
            XUndefineCursor(connection, ::Window(window));
    }
    XFlush(connection);
}

}  // namespace platform
