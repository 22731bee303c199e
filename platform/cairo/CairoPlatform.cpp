// The Cairo build's factories: off-screen surfaces, anti-aliased graphics, the session, and the window
// system (X11).
#include "platform/AntiAliasedGraphics.h"
#include "platform/GraphicsSession.h"
#include "platform/x11/X11WindowSystem.h"
#include "platform/cairo/CairoDeviceContext.h"
#include "platform/cairo/CairoGraphics.h"

#include <sys/mman.h>

namespace platform {

namespace {
constexpr int kMaxSide = 16384;
constexpr long long kMaxPixels = 1LL << 26;

struct PixelPages {
    void* start;
    std::size_t bytes;
};
const cairo_user_data_key_t pixelPagesKey{};

void releasePages(void* data)
{
    auto* pages = static_cast<PixelPages*>(data);
    munmap(pages->start, pages->bytes);
    delete pages;
}
}  // namespace

std::unique_ptr<DeviceContext> DeviceContext::createOffscreen(NativeWindow, int w, int h)
{
    if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide || (long long)w * h > kMaxPixels) return nullptr;
    // The pixels get pages of their own: widgets keep pictures as long as an editor is open, and heap
    // blocks that size, freed in another order than taken, would leave the heap fragmented.
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, w);
    if (stride <= 0) return nullptr;
    const std::size_t bytes = std::size_t(stride) * std::size_t(h);
    void* pixels = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pixels == MAP_FAILED) return nullptr;  // fresh anonymous pages are zero: black
    cairo_surface_t* s =
        cairo_image_surface_create_for_data(static_cast<unsigned char*>(pixels), CAIRO_FORMAT_RGB24, w, h, stride);
    auto* mapping = new PixelPages{pixels, bytes};
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_set_user_data(s, &pixelPagesKey, mapping, releasePages) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        releasePages(mapping);
        return nullptr;
    }
    return std::make_unique<CairoDeviceContext>(s);
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
