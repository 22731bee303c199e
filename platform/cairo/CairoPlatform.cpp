// The Cairo build's factories: off-screen surfaces, anti-aliased graphics, the session, and the window
// system (X11).
#include "platform/AntiAliasedGraphics.h"
#include "platform/GraphicsSession.h"
#include "platform/x11/X11WindowSystem.h"
#include "platform/cairo/CairoDeviceContext.h"
#include "platform/cairo/CairoGraphics.h"

namespace platform {

namespace {
constexpr int kMaxSide = 16384;
constexpr long long kMaxPixels = 1LL << 26;
}  // namespace

std::unique_ptr<DeviceContext> DeviceContext::createOffscreen(NativeWindow, int w, int h)
{
    if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide || (long long)w * h > kMaxPixels) return nullptr;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    return std::make_unique<CairoDeviceContext>(s);  // Cairo starts image surfaces at zero: black
}

const char* DeviceContext::implementationName()
{
    return "cairo";
}

std::unique_ptr<AntiAliasedGraphics> AntiAliasedGraphics::create(DeviceContext& target)
{
    auto* dc = dynamic_cast<CairoDeviceContext*>(&target);
    if (!dc) return nullptr;
    return std::make_unique<CairoGraphics>(dc->surface());
}

GraphicsSession::GraphicsSession() : ok(true) {}
GraphicsSession::~GraphicsSession() = default;

WindowSystem& systemWindowSystem()
{
    // Never destroyed. The plug-ins stay loaded for the life of the process, and so does this display
    // connection; closing it from an exit handler would only talk to a server that may be gone by then
    // (a test's private one), and Xlib answers a lost connection by ending the process.
    static X11WindowSystem* const x11 = new X11WindowSystem;
    return *x11;
}

}  // namespace platform
