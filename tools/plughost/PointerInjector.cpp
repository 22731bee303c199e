#include "tools/plughost/PointerInjector.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdlib>

namespace {

void pause(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace

std::int64_t IdleGauge::nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

PointerInjector::~PointerInjector()
{
    wait();
    if (display_) XCloseDisplay(display_);
}

bool PointerInjector::open(std::string& error)
{
    display_ = XOpenDisplay(nullptr);
    if (!display_) {
        const char* name = std::getenv("DISPLAY");
        error = std::string("cannot open the X display '") + (name ? name : "") + "' for input";
        return false;
    }
    int event = 0, errorBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display_, &event, &errorBase, &major, &minor)) {
        error = "the X display has no XTEST extension, so it cannot take presses";
        return false;
    }
    return true;
}

void PointerInjector::start(const Gesture& gesture, const IdleGauge& gauge)
{
    wait();
    finished_.store(false, std::memory_order_release);
    thread_ = std::thread([this, gesture, &gauge] { play(gesture, gauge); });
}

void PointerInjector::wait()
{
    if (thread_.joinable()) thread_.join();
}

void PointerInjector::waitUntilPressSeen(const IdleGauge& gauge)
{
    // The press has reached the editor's connection once an idle call that began after it has
    // finished, or once an idle call has run long enough to be a drag loop polling the button.
    const int before = gauge.started.load(std::memory_order_relaxed);
    const std::int64_t giveUp = IdleGauge::nowMs() + 2000;
    pause(30);
    while (IdleGauge::nowMs() < giveUp) {
        if (gauge.started.load(std::memory_order_relaxed) - before >= 2) return;
        const std::int64_t since = gauge.insideSinceMs.load(std::memory_order_relaxed);
        if (since && IdleGauge::nowMs() - since >= 60) return;
        pause(2);
    }
}

void PointerInjector::play(Gesture g, const IdleGauge& gauge)
{
    Display* d = display_;
    const int screen = DefaultScreen(d);
    XTestFakeMotionEvent(d, screen, g.x1, g.y1, CurrentTime);
    XSync(d, False);
    pause(20);
    XTestFakeButtonEvent(d, 1, True, CurrentTime);
    XSync(d, False);
    waitUntilPressSeen(gauge);
    if (g.drag) {
        // Spread over a few hundred milliseconds, as a hand would, so the loop sees the way between.
        constexpr int steps = 20;
        for (int i = 1; i <= steps; ++i) {
            const int x = g.x1 + (g.x2 - g.x1) * i / steps;
            const int y = g.y1 + (g.y2 - g.y1) * i / steps;
            XTestFakeMotionEvent(d, screen, x, y, CurrentTime);
            XFlush(d);
            pause(15);
        }
        XSync(d, False);
    }
    // Held a while at the end, so that the loop reads the last position before the button goes up.
    pause(150);
    XTestFakeButtonEvent(d, 1, False, CurrentTime);
    XSync(d, False);
    pause(20);
    finished_.store(true, std::memory_order_release);
}
