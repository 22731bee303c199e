// A Windows host for one plug-in's editor, as a real host runs it: a top-level window of its own
// class sized to the editor, the editor opened into it, messages pumped and the editor idled on a
// host-like timer. Mouse gestures are synthesised from a second thread (SetCursorPos + SendInput)
// while this thread keeps pumping, because the plug-in's drag loop runs inside its window procedure.
// The button goes up only once the editor has taken the press and, after a drag, has read and used
// the last position, however slowly this thread is scheduled.
#pragma once

#include "tools/plughost/PluginHost.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class WindowsEditorHost {
public:
    struct ClientPoint {
        int x;
        int y;
    };

    // Top-left of the host window's client area on the screen; hosts of one process should not overlap.
    explicit WindowsEditorHost(int screenX = 40, int screenY = 40);
    ~WindowsEditorHost();
    WindowsEditorHost(const WindowsEditorHost&) = delete;
    WindowsEditorHost& operator=(const WindowsEditorHost&) = delete;

    // False where Wine has no display to make windows on.
    static bool windowsAvailable();

    bool load(const std::string& path, std::string& error);
    // For a plug-in of another kind: the host window alone, of this client size, and what each idle turn
    // calls instead of effEditIdle.
    bool openWindow(int width, int height, std::string& error);
    void idleWith(std::function<void()> call) { idleCall = std::move(call); }
    // Asks effEditGetRect, makes the host window with that client size, opens the editor into it.
    bool openEditor(std::string& error);
    void closeEditor();         // effEditClose (the host window stays)
    void destroyHostWindow();   // takes the editor's child window with it, as a closing host does
    void closeEffect();         // effClose and FreeLibrary

    // Pumps messages and idles the editor about every 15 ms for this long.
    void pumpFor(int milliseconds);
    // Pumps until done() holds or the time runs out; answers done().
    bool pumpUntil(const std::function<bool()>& done, int timeoutMilliseconds = 2000);

    // Left press at one client point, released once the editor has handled it.
    void press(ClientPoint at);
    // Left press at path.front(), moves through the path spread over durationMs, release at the end
    // once the editor's drag loop has acted on the last point.
    void drag(const std::vector<ClientPoint>& path, int durationMilliseconds = 400);

    // The host window's client area as 0xRRGGBB rows, read back from the window.
    std::vector<std::uint32_t> capture() const;
    std::uint32_t pixel(int x, int y) const;
    bool saveScreenshot(const std::string& path) const;

    PluginHost& plugin() { return host; }
    HWND window() const { return hostWindow; }
    HWND editorWindow() const;  // the editor's first child window, or null
    bool editorOpen() const { return isOpen; }
    // The host window's client size now (the editor's size until something resizes it).
    int width() const;
    int height() const;
    int idlesSent() const { return idles; }

private:
    void pumpOnce();
    void runGesture(const std::vector<ClientPoint>& path, int durationMilliseconds);
    POINT toScreen(ClientPoint p) const;

    PluginHost host;
    HWND hostWindow = nullptr;
    int originX, originY;
    int clientWidth = 0, clientHeight = 0;
    bool isOpen = false;
    DWORD lastIdle = 0;
    int idles = 0;
    // Left-button presses whose handling (a click, or a whole drag loop) has returned.
    std::atomic<int> pressesHandled{0};
    std::function<void()> idleCall;
};
