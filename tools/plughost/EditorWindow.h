// The host's top-level X11 window that a plug-in's editor opens inside, on the host's own display
// connection. Its picture, children included, is read back from the server.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct _XDisplay;

class EditorWindow {
public:
    EditorWindow() = default;
    ~EditorWindow();
    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    // Lets Xlib be used from more than one thread (the pointer injector has one of its own). Must come
    // before any other Xlib call in the process.
    static void prepareThreads();

    // Opens the display named by DISPLAY, makes a window of the given client size at the screen's
    // top left corner and waits until the server has mapped it.
    bool open(int width, int height, std::string& error);

    // The X11 Window id, as effEditOpen takes it.
    unsigned long id() const { return window_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Where a client pixel of the window is on the screen.
    bool screenPoint(int x, int y, int& screenX, int& screenY);

    // Where the first window a plug-in made inside this one lies, in this one's client pixels.
    bool childGeometry(int& x, int& y, int& width, int& height);

    // Reads back what the server shows in the window, as 0x00RRGGBB pixels row by row.
    bool capture(std::vector<std::uint32_t>& pixels, std::string& error);

    // Drops the events the server queued for this connection; the window handles none of them.
    void discardEvents();

private:
    _XDisplay* display_ = nullptr;
    unsigned long window_ = 0;
    int width_ = 0;
    int height_ = 0;
};
