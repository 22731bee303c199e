#include "tools/plughost/PointerInjector.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

// Polls a condition the host's thread makes true; gives up after a long while so that a press that
// missed everything cannot hang the host (what the press should have done is then checked by the
// caller and fails there).
template <class Done> void waitFor(Done done)
{
    const auto giveUp = Clock::now() + std::chrono::seconds(20);
    while (!done() && Clock::now() < giveUp) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// The widget has seen what the server holds now (the button, the pointer) once an idle call that
// began after this point has ended (nothing was left polling), or once the widget's loop has gone
// round `rounds` more times (each round reads the button, then the pointer, then idles the host).
void waitUntilSeen(const IdleGauge& gauge, int rounds)
{
    const int started = gauge.started.load(std::memory_order_acquire);
    const int idles = gauge.hostIdles.load(std::memory_order_acquire);
    waitFor([&] {
        return gauge.ended.load(std::memory_order_acquire) > started ||
               gauge.hostIdles.load(std::memory_order_acquire) - idles >= rounds;
    });
}

} // namespace

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

void PointerInjector::play(Gesture g, const IdleGauge& gauge)
{
    Display* d = display_;
    const int screen = DefaultScreen(d);
    // Once XSync returns the server has moved the pointer and queued the press for the editor.
    XTestFakeMotionEvent(d, screen, g.x1, g.y1, CurrentTime);
    XTestFakeButtonEvent(d, 1, True, CurrentTime);
    XSync(d, False);
    waitUntilSeen(gauge, 1);
    if (g.drag) {
        // Spread out, as a hand would, so the loop sees the way between; where it ends is what counts.
        constexpr int steps = 20;
        for (int i = 1; i <= steps; ++i) {
            const int x = g.x1 + (g.x2 - g.x1) * i / steps;
            const int y = g.y1 + (g.y2 - g.y1) * i / steps;
            XTestFakeMotionEvent(d, screen, x, y, CurrentTime);
            XSync(d, False);
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
        }
        // Held at the end until the loop has read this position and acted on it: one round may have
        // read the pointer before the last move, the next reads it, the one after uses it.
        waitUntilSeen(gauge, 3);
    }
    XTestFakeButtonEvent(d, 1, False, CurrentTime);
    XSync(d, False);
    finished_.store(true, std::memory_order_release);
}
