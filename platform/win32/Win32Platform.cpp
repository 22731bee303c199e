// The Windows build's factories: off-screen surfaces, GDI+ graphics and its start-up, the window system.
#include "platform/AntiAliasedGraphics.h"
#include "platform/GraphicsSession.h"
#include "platform/win32/GdiDeviceContext.h"
#include "platform/win32/GdiPlusGraphics.h"
#include "platform/win32/Win32WindowSystem.h"

namespace platform {

std::unique_ptr<DeviceContext> DeviceContext::createOffscreen(NativeWindow compatibleWith, int w, int h)
{
    return GdiDeviceContext::createMemory(reinterpret_cast<HWND>(compatibleWith), w, h);
}

const char* DeviceContext::implementationName()
{
    return "gdi";
}

std::unique_ptr<AntiAliasedGraphics> AntiAliasedGraphics::create(DeviceContext& target)
{
    auto* dc = dynamic_cast<GdiDeviceContext*>(&target);
    if (!dc) return nullptr;
    return GdiPlusGraphics::create(dc->handle());
}

GraphicsSession::GraphicsSession()
{
    // Version 1, no debug callback, background thread not suppressed.
    Gdiplus::GdiplusStartupInput input{};
    input.GdiplusVersion = 1;
    ULONG_PTR t = 0;
    ok = Gdiplus::GdiplusStartup(&t, &input, nullptr) == Gdiplus::Ok;
    token = t;
}

GraphicsSession::~GraphicsSession()
{
    if (ok) Gdiplus::GdiplusShutdown(token);
}

WindowSystem& systemWindowSystem()
{
    static Win32WindowSystem system;
    return system;
}

}  // namespace platform
