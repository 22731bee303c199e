#include "platform/win32/Win32WindowSystem.h"

#include "platform/win32/GdiDeviceContext.h"

#include <windows.h>

namespace platform {

namespace {
bool down(int key)
{
    return (GetAsyncKeyState(key) & 0x8000) != 0;
}
}  // namespace

int Win32WindowSystem::liveButtons()
{
    // GetAsyncKeyState reports the logical buttons (already swapped); undo that so callers see the
    // physical ones and apply the swap they recorded themselves.
    const bool swapped = buttonsSwapped();
    int bits = 0;
    if (down(VK_LBUTTON)) bits |= swapped ? kInputRight : kInputLeft;
    if (down(VK_RBUTTON)) bits |= swapped ? kInputLeft : kInputRight;
    if (down(VK_MBUTTON)) bits |= kInputMiddle;
    if (down(VK_SHIFT)) bits |= kInputShift;
    if (down(VK_CONTROL)) bits |= kInputControl;
    if (down(VK_MENU)) bits |= kInputAlt;
    return bits;
}

bool Win32WindowSystem::buttonsSwapped()
{
    return GetSystemMetrics(SM_SWAPBUTTON) != 0;
}

Point Win32WindowSystem::pointerOnScreen()
{
    POINT p{};
    GetCursorPos(&p);
    return {int(p.x), int(p.y)};
}

Point Win32WindowSystem::windowOrigin(NativeWindow window)
{
    POINT p{0, 0};
    if (window) ClientToScreen(reinterpret_cast<HWND>(window), &p);
    return {int(p.x), int(p.y)};
}

std::unique_ptr<DeviceContext> Win32WindowSystem::windowContext(NativeWindow window)
{
    HWND hwnd = reinterpret_cast<HWND>(window);
    if (!hwnd) return nullptr;
    HDC dc = GetDC(hwnd);
    if (!dc) return nullptr;
    RECT r{};
    GetClientRect(hwnd, &r);
    return std::make_unique<GdiDeviceContext>(dc, int(r.right - r.left), int(r.bottom - r.top), hwnd);
}

std::uint32_t Win32WindowSystem::ticks()
{
    return GetTickCount();
}

void Win32WindowSystem::sleep(std::uint32_t milliseconds)
{
    Sleep(milliseconds);
}

}  // namespace platform
