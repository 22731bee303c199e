// Catches the asynchronous errors of the requests made while it lives (a parent that is not a window,
// a window the server already destroyed, one that is not viewable) instead of letting Xlib's default
// handler end the process. One at a time per process: Xlib's error handler is global.
#pragma once

#include <X11/Xlib.h>

namespace platform {

class X11ErrorTrap {
public:
    explicit X11ErrorTrap(Display* d) : display(d)
    {
        XSync(display, False);
        failed() = false;
        previous = XSetErrorHandler(note);
    }
    ~X11ErrorTrap()
    {
        XSync(display, False);
        XSetErrorHandler(previous);
    }
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    // Waits for the server's answers so far: true when none of them was an error.
    bool sync()
    {
        XSync(display, False);
        return !failed();
    }

private:
    static bool& failed()
    {
        static bool flag = false;
        return flag;
    }
    static int note(Display*, XErrorEvent*)
    {
        failed() = true;
        return 0;
    }

    Display* display;
    int (*previous)(Display*, XErrorEvent*) = nullptr;
};

}  // namespace platform
