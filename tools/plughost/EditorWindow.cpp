#include "tools/plughost/EditorWindow.h"

#include "platform/x11/X11ErrorTrap.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <poll.h>

#include <bit>
#include <chrono>
#include <cstdlib>

namespace {

// The 8 bits of a channel, wherever the visual keeps them.
std::uint32_t channel(unsigned long pixel, unsigned long mask)
{
    if (!mask) return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const unsigned long v = (pixel & mask) >> shift;
    return bits >= 8 ? std::uint32_t(v >> (bits - 8)) : std::uint32_t(v * 255 / ((1ul << bits) - 1));
}

} // namespace

void EditorWindow::prepareThreads()
{
    XInitThreads();
}

EditorWindow::~EditorWindow()
{
    if (!display_) return;
    if (window_) XDestroyWindow(display_, window_);
    XCloseDisplay(display_);
}

bool EditorWindow::open(int width, int height, std::string& error)
{
    const char* name = std::getenv("DISPLAY");
    display_ = XOpenDisplay(nullptr);
    if (!display_) {
        error = std::string("cannot open the X display '") + (name ? name : "") + "'";
        return false;
    }
    const int screen = DefaultScreen(display_);
    if (DefaultDepth(display_, screen) < 24) {
        error = "the X display has " + std::to_string(DefaultDepth(display_, screen)) +
                "-bit colour; pictures need 24 bits";
        return false;
    }
    if (width > DisplayWidth(display_, screen) || height > DisplayHeight(display_, screen)) {
        error = "the editor (" + std::to_string(width) + " x " + std::to_string(height) +
                ") does not fit on the X screen (" + std::to_string(DisplayWidth(display_, screen)) + " x " +
                std::to_string(DisplayHeight(display_, screen)) + ")";
        return false;
    }
    width_ = width;
    height_ = height;

    // Placed by us, not by a window manager: nothing reparents or moves it, and mapping raises it,
    // so every pixel of it can be read back and pointed at.
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = 0x808080;
    attributes.event_mask = StructureNotifyMask;
    platform::X11ErrorTrap trap(display_);
    window_ = XCreateWindow(display_, RootWindow(display_, screen), 0, 0, unsigned(width), unsigned(height), 0,
                            CopyFromParent, InputOutput, CopyFromParent,
                            CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
    XStoreName(display_, window_, "plughost editor");
    XMapRaised(display_, window_);
    if (!trap.sync()) {
        error = "cannot make a window on the X display";
        return false;
    }

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    XEvent event;
    while (!XCheckTypedWindowEvent(display_, window_, MapNotify, &event)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            error = "the X server did not map the editor window";
            return false;
        }
        pollfd wait{ConnectionNumber(display_), POLLIN, 0};
        poll(&wait, 1, int(left));
    }
    return true;
}

bool EditorWindow::screenPoint(int x, int y, int& screenX, int& screenY)
{
    if (!display_ || !window_) return false;
    ::Window child = 0;
    return XTranslateCoordinates(display_, window_, DefaultRootWindow(display_), x, y, &screenX, &screenY, &child);
}

bool EditorWindow::childGeometry(int& x, int& y, int& width, int& height)
{
    if (!display_ || !window_) return false;
    platform::X11ErrorTrap trap(display_);
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, window_, &root, &parent, &children, &count) || !trap.sync()) return false;
    const ::Window first = count > 0 ? children[0] : 0;
    if (children) XFree(children);
    if (!first) return false;
    unsigned w = 0, h = 0, border = 0, depth = 0;
    if (!XGetGeometry(display_, first, &root, &x, &y, &w, &h, &border, &depth) || !trap.sync()) return false;
    width = int(w);
    height = int(h);
    return true;
}

bool EditorWindow::capture(std::vector<std::uint32_t>& pixels, std::string& error)
{
    if (!display_ || !window_) {
        error = "no editor window to read back";
        return false;
    }
    XImage* image = nullptr;
    {
        platform::X11ErrorTrap trap(display_);
        image = XGetImage(display_, window_, 0, 0, unsigned(width_), unsigned(height_), AllPlanes, ZPixmap);
        if (!trap.sync() && image) {
            XDestroyImage(image);
            image = nullptr;
        }
    }
    if (!image) {
        error = "cannot read the editor window back from the X server";
        return false;
    }
    pixels.assign(std::size_t(width_) * std::size_t(height_), 0);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            pixels[std::size_t(y) * std::size_t(width_) + std::size_t(x)] =
                channel(p, image->red_mask) << 16 | channel(p, image->green_mask) << 8 | channel(p, image->blue_mask);
        }
    }
    XDestroyImage(image);
    return true;
}

void EditorWindow::discardEvents()
{
    if (!display_) return;
    XEvent event;
    while (XPending(display_)) XNextEvent(display_, &event);
}
