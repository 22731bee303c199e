#include "tests/e2e/win32/WindowsEditorHost.h"

#include "platform/win32/PngWriter.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

constexpr const char* kHostClass = "TonewerksTestHostWindow";
constexpr DWORD kIdleInterval = 15;

LRESULT CALLBACK hostProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // A host window paints nothing itself; closing it is the test's business, never the user's.
    if (message == WM_CLOSE) return 0;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool registerHostClass()
{
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = hostProcedure;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        wc.lpszClassName = kHostClass;
        return RegisterClassA(&wc) != 0;
    }();
    return registered;
}

void sendButton(DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

}  // namespace

bool WindowsEditorHost::windowsAvailable()
{
    if (!registerHostClass()) return false;
    HWND probe = CreateWindowExA(0, kHostClass, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    if (probe) DestroyWindow(probe);
    return probe != nullptr;
}

WindowsEditorHost::WindowsEditorHost(int screenX, int screenY) : originX(screenX), originY(screenY) {}

WindowsEditorHost::~WindowsEditorHost()
{
    closeEditor();
    closeEffect();
    destroyHostWindow();
}

bool WindowsEditorHost::load(const std::string& path, std::string& error)
{
    return host.open(path, error);
}

bool WindowsEditorHost::openEditor(std::string& error)
{
    if (!host.effect()) {
        error = "no effect loaded";
        return false;
    }
    if (!(host.effect()->flags & effFlagsHasEditor)) {
        error = "the effect reports no editor";
        return false;
    }
    ERect* r = nullptr;
    host.dispatch(effEditGetRect, 0, 0, &r);
    if (!r || r->right <= r->left || r->bottom <= r->top) {
        error = "effEditGetRect gave no usable rectangle";
        return false;
    }
    if (!openWindow(r->right - r->left, r->bottom - r->top, error)) return false;
    if (host.dispatch(effEditOpen, 0, 0, hostWindow) == 0) {
        error = "effEditOpen answered 0";
        return false;
    }
    isOpen = true;
    // The first paint comes through the queue, as in any host.
    pumpFor(100);
    return true;
}

bool WindowsEditorHost::openWindow(int width, int height, std::string& error)
{
    clientWidth = width;
    clientHeight = height;
    if (hostWindow) return true;
    if (!registerHostClass()) {
        error = "cannot register the host window class";
        return false;
    }
    // Never activated: without a window manager (a test display has none) Wine waits two seconds
    // for the focus to move whenever an active window goes. Input goes by position anyway.
    const DWORD style = WS_POPUP | WS_CLIPCHILDREN;
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    hostWindow = CreateWindowExA(0, kHostClass, "Tonewerks test host", style, originX + frame.left,
                                 originY + frame.top, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!hostWindow) {
        error = "cannot create the host window (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    ShowWindow(hostWindow, SW_SHOWNOACTIVATE);
    UpdateWindow(hostWindow);
    pumpFor(50);
    return true;
}

void WindowsEditorHost::closeEditor()
{
    if (isOpen && host.effect()) host.dispatch(effEditClose);
    isOpen = false;
}

void WindowsEditorHost::destroyHostWindow()
{
    if (hostWindow && IsWindow(hostWindow)) DestroyWindow(hostWindow);
    hostWindow = nullptr;
    pumpFor(20);
}

void WindowsEditorHost::closeEffect()
{
    isOpen = false;
    host.close();
}

HWND WindowsEditorHost::editorWindow() const
{
    return hostWindow ? GetWindow(hostWindow, GW_CHILD) : nullptr;
}

void WindowsEditorHost::pumpOnce()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        const bool press = msg.message == WM_LBUTTONDOWN;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        if (press) pressesHandled.fetch_add(1, std::memory_order_acq_rel);
    }
    const DWORD now = GetTickCount();
    if (now - lastIdle >= kIdleInterval) {
        lastIdle = now;
        if (isOpen && host.effect()) {
            host.dispatch(effEditIdle);
            ++idles;
        } else if (idleCall) {
            idleCall();
            ++idles;
        }
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
}

void WindowsEditorHost::pumpFor(int milliseconds)
{
    const DWORD start = GetTickCount();
    do pumpOnce();
    while (GetTickCount() - start < DWORD(milliseconds));
}

bool WindowsEditorHost::pumpUntil(const std::function<bool()>& done, int timeoutMilliseconds)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= DWORD(timeoutMilliseconds)) return false;
        pumpOnce();
    }
    return true;
}

POINT WindowsEditorHost::toScreen(ClientPoint p) const
{
    POINT s{p.x, p.y};
    if (hostWindow) ClientToScreen(hostWindow, &s);
    return s;
}

void WindowsEditorHost::runGesture(const std::vector<ClientPoint>& path, int durationMilliseconds)
{
    if (path.empty()) return;
    std::vector<POINT> screen;
    for (ClientPoint p : path) screen.push_back(toScreen(p));
    SetCursorPos(screen.front().x, screen.front().y);
    pumpFor(30);

    const int handledBefore = pressesHandled.load(std::memory_order_acquire);
    // Polled from the gesture thread; a generous limit keeps a press that missed everything from
    // hanging the test, which then fails on what the press should have done.
    const auto waitFor = [](const auto& done) {
        const DWORD start = GetTickCount();
        while (!done() && GetTickCount() - start < 20000) Sleep(1);
    };
    // What the host thread shows of the editor: the press's handling returned (a click, or a drag
    // loop that saw the button go up), or the drag loop inside it has gone round `rounds` times since
    // `idles` (each round reads the button, then the pointer, then idles the host).
    const auto seen = [&](int idles, int rounds) {
        return pressesHandled.load(std::memory_order_acquire) > handledBefore ||
               host.idleCalls.load(std::memory_order_acquire) - idles >= rounds;
    };

    std::atomic<bool> pressed{false}, finished{false};
    std::thread gesture([&] {
        const int idlesAtPress = host.idleCalls.load(std::memory_order_acquire);
        sendButton(MOUSEEVENTF_LEFTDOWN);
        // Wine keeps each thread's last async key state for up to 50 ms unless some thread of the
        // process sees it change. Reading it here, before the press can be dispatched, makes the
        // drag loop on the other thread read it afresh, as it would with a press from the X server.
        GetAsyncKeyState(VK_LBUTTON);
        pressed = true;
        waitFor([&] { return seen(idlesAtPress, 1); });
        // Small steps between the points, spread evenly over the duration.
        const int stepsPerLeg = 8;
        const int legs = int(screen.size()) - 1;
        const DWORD pause = legs > 0 ? DWORD(std::max(1, durationMilliseconds / (legs * stepsPerLeg))) : 0;
        for (int leg = 0; leg < legs; ++leg) {
            const POINT a = screen[std::size_t(leg)], b = screen[std::size_t(leg) + 1];
            for (int s = 1; s <= stepsPerLeg; ++s) {
                SetCursorPos(a.x + (b.x - a.x) * s / stepsPerLeg, a.y + (b.y - a.y) * s / stepsPerLeg);
                Sleep(pause);
            }
        }
        if (legs > 0) {
            // Held at the end until the loop has read the last point and used it: one round may have
            // read the pointer before the last move, the next reads it, the one after uses it.
            const int idlesAtEnd = host.idleCalls.load(std::memory_order_acquire);
            waitFor([&] { return seen(idlesAtEnd, 3); });
        }
        sendButton(MOUSEEVENTF_LEFTUP);
        GetAsyncKeyState(VK_LBUTTON);
        finished = true;
    });
    // No message is taken until the press is in; then this thread keeps pumping, the press is
    // dispatched here and the plug-in's drag loop runs inside it.
    while (!pressed) Sleep(1);
    while (!finished) pumpOnce();
    gesture.join();
    // Done once the press's handling has returned, with the button up.
    pumpUntil([&] { return pressesHandled.load(std::memory_order_acquire) > handledBefore; }, 20000);
    pumpOnce();
}

void WindowsEditorHost::press(ClientPoint at)
{
    runGesture({at}, 0);
}

void WindowsEditorHost::drag(const std::vector<ClientPoint>& path, int durationMilliseconds)
{
    runGesture(path, durationMilliseconds);
}

int WindowsEditorHost::width() const
{
    RECT r{};
    return hostWindow && GetClientRect(hostWindow, &r) ? int(r.right) : clientWidth;
}

int WindowsEditorHost::height() const
{
    RECT r{};
    return hostWindow && GetClientRect(hostWindow, &r) ? int(r.bottom) : clientHeight;
}

std::vector<std::uint32_t> WindowsEditorHost::capture() const
{
    std::vector<std::uint32_t> pixels;
    // The window as it is now: the editor may have resized it.
    const int clientWidth = width(), clientHeight = height();
    if (!hostWindow || clientWidth <= 0 || clientHeight <= 0) return pixels;
    HDC source = GetDC(hostWindow);
    if (!source) return pixels;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = clientWidth;
    info.bmiHeader.biHeight = -clientHeight;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP dib = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory && dib && bits) {
        HGDIOBJ old = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, clientWidth, clientHeight, source, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* p = static_cast<const std::uint32_t*>(bits);
        pixels.assign(p, p + std::size_t(clientWidth) * std::size_t(clientHeight));
        for (auto& v : pixels) v &= 0xFFFFFFu;
        SelectObject(memory, old);
    }
    if (dib) DeleteObject(dib);
    if (memory) DeleteDC(memory);
    ReleaseDC(hostWindow, source);
    return pixels;
}

std::uint32_t WindowsEditorHost::pixel(int x, int y) const
{
    const auto all = capture();
    const int clientWidth = width(), clientHeight = height();
    if (x < 0 || y < 0 || x >= clientWidth || y >= clientHeight || all.empty()) return 0xFFFFFFFFu;
    return all[std::size_t(y) * std::size_t(clientWidth) + std::size_t(x)];
}

bool WindowsEditorHost::saveScreenshot(const std::string& path) const
{
    return platform::PngWriter::write(path, width(), height(), capture());
}
