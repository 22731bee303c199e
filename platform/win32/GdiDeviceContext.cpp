#include "platform/win32/GdiDeviceContext.h"

#include "platform/GdiRaster.h"
#include "platform/win32/PngWriter.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace platform {

namespace {
COLORREF ref(Rgb c)
{
    return RGB(c.red, c.green, c.blue);
}

// The brush counterparts of the pen's raster operations: P, P|D and ~(P^D).
constexpr DWORD kPatOr = 0x00FA0089;
constexpr DWORD kPatNotXor = 0x00A50065;
constexpr int kMaxSide = 16384;
constexpr long long kMaxPixels = 1LL << 26;
}  // namespace

std::unique_ptr<GdiDeviceContext> GdiDeviceContext::createMemory(HWND compatibleWith, int w, int h)
{
    if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide || (long long)w * h > kMaxPixels) return nullptr;
    HDC windowDc = GetDC(compatibleWith);
    HDC memory = CreateCompatibleDC(windowDc);
    ReleaseDC(compatibleWith, windowDc);
    if (!memory) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        DeleteDC(memory);
        return nullptr;
    }
    std::unique_ptr<GdiDeviceContext> c(new GdiDeviceContext());
    c->dc = memory;
    c->w = w;
    c->h = h;
    c->ownsDc = true;
    c->bitmap = bitmap;
    c->bits = static_cast<std::uint32_t*>(bits);
    std::fill(c->bits, c->bits + std::size_t(w) * std::size_t(h), 0u);
    c->savedBitmap = SelectObject(memory, bitmap);
    c->remember();
    return c;
}

GdiDeviceContext::GdiDeviceContext(HDC handle, int width, int height, HWND release)
    : dc(handle), w(width), h(height), releaseFrom(release)
{
    remember();
}

void GdiDeviceContext::remember()
{
    savedBrush = GetCurrentObject(dc, OBJ_BRUSH);
    savedPen = GetCurrentObject(dc, OBJ_PEN);
    savedFont = GetCurrentObject(dc, OBJ_FONT);
    SetBkMode(dc, TRANSPARENT);
}

GdiDeviceContext::~GdiDeviceContext()
{
    SelectObject(dc, savedBrush);
    SelectObject(dc, savedPen);
    SelectObject(dc, savedFont);
    if (brush) DeleteObject(brush);
    if (pen) DeleteObject(pen);
    if (font) DeleteObject(font);
    if (ownsDc) {
        SelectObject(dc, savedBitmap);
        DeleteDC(dc);
        DeleteObject(bitmap);
    } else if (releaseFrom) {
        ReleaseDC(releaseFrom, dc);
    }
}

bool GdiDeviceContext::setBrush(Rgb colour)
{
    HBRUSH made = CreateSolidBrush(ref(colour));
    if (!made) return false;
    SelectObject(dc, made);
    if (brush) DeleteObject(brush);
    brush = made;
    brushColour = colour;
    return true;
}

bool GdiDeviceContext::setPen(Rgb colour, int width, PenStyle style)
{
    // Wide pens are drawn as side-by-side thin lines (see line and outlineRect): the pen itself is
    // always a one-pixel cosmetic pen, so both builds set the same pixels.
    penWidth = std::max(1, width);
    HPEN made = nullptr;
    if (style == PenStyle::Dotted && penWidth == 1) {
        LOGBRUSH lb{BS_SOLID, ref(colour), 0};
        made = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr);
    } else {
        made = CreatePen(PS_SOLID, 1, ref(colour));
    }
    if (!made) return false;
    SelectObject(dc, made);
    if (pen) DeleteObject(pen);
    pen = made;
    return true;
}

void GdiDeviceContext::setRasterOp(RasterOp op)
{
    switch (op) {
    case RasterOp::Copy:
        SetROP2(dc, R2_COPYPEN);
        patternRop = PATCOPY;
        break;
    case RasterOp::Or:
        SetROP2(dc, R2_MERGEPEN);
        patternRop = kPatOr;
        break;
    case RasterOp::NotXor:
        SetROP2(dc, R2_NOTXORPEN);
        patternRop = kPatNotXor;
        break;
    }
}

void GdiDeviceContext::setTextColour(Rgb colour)
{
    SetTextColor(dc, ref(colour));
}

void GdiDeviceContext::setTextBackground(bool opaque, Rgb colour)
{
    SetBkColor(dc, ref(colour));
    SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
}

bool GdiDeviceContext::setFont(const FontSpec& request)
{
    const int size = std::clamp(request.pixelHeight, 1, 4096);
    const BYTE family = request.family == FontFamily::Decorative ? FF_DECORATIVE : FF_SWISS;
    HFONT made = CreateFontA(-size, 0, 0, 0, request.bold ? FW_BOLD : FW_NORMAL, request.italic, request.underline, FALSE,
                             ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             VARIABLE_PITCH | family, request.face.empty() ? "Arial" : request.face.c_str());
    if (!made) return false;
    SelectObject(dc, made);
    if (font) DeleteObject(font);
    font = made;
    return true;
}

void GdiDeviceContext::setCharacterSpacing(int extraPixels)
{
    SetTextCharacterExtra(dc, std::clamp(extraPixels, -1000, 1000));
}

void GdiDeviceContext::setClip(const Rect& c)
{
    const Rect r = c.clamped();
    HRGN region = CreateRectRgn(r.left, r.top, std::max(r.left, r.right), std::max(r.top, r.bottom));
    SelectClipRgn(dc, region);
    DeleteObject(region);
}

void GdiDeviceContext::fillRect(const Rect& rect)
{
    const Rect r = rect.clamped();
    if (r.empty()) return;
    PatBlt(dc, r.left, r.top, r.width(), r.height(), patternRop);
}

void GdiDeviceContext::outline(const Rect& r)
{
    MoveToEx(dc, r.left, r.top, nullptr);
    LineTo(dc, r.right - 1, r.top);
    LineTo(dc, r.right - 1, r.bottom - 1);
    LineTo(dc, r.left, r.bottom - 1);
    LineTo(dc, r.left, r.top);
}

void GdiDeviceContext::outlineRect(const Rect& rect)
{
    const Rect r = rect.clamped();
    // Nested one-pixel outlines, centred on the thin one with the odd pixel inside.
    for (int i = 0; i < penWidth; ++i) {
        const int grow = (penWidth - 1) / 2 - i;
        const Rect g{r.left - grow, r.top - grow, r.right + grow, r.bottom + grow};
        if (g.right - g.left < 1 || g.bottom - g.top < 1) break;
        outline(g);
    }
}

void GdiDeviceContext::fillEllipse(const Rect& rect)
{
    // GDI's own Ellipse differs between versions on near-tie rows and on very thin boxes; the rows
    // come from the one rule both builds share, each filled with the brush and the raster operation.
    std::vector<Span> spans;
    GdiRaster::ellipseSpans(rect.clamped(), spans);
    for (const Span& s : spans) PatBlt(dc, s.left, s.y, s.right - s.left, 1, patternRop);
}

void GdiDeviceContext::line(Point a, Point b)
{
    a = a.clamped();
    b = b.clamped();
    const bool xMajor = std::abs(b.x - a.x) >= std::abs(b.y - a.y);
    for (int o = -(penWidth / 2); o <= (penWidth - 1) / 2; ++o) {
        const int ox = xMajor ? 0 : o, oy = xMajor ? o : 0;
        MoveToEx(dc, a.x + ox, a.y + oy, nullptr);
        LineTo(dc, b.x + ox, b.y + oy);
    }
}

void GdiDeviceContext::drawText(Point at, std::string_view text, TextAlign align)
{
    if (text.empty()) return;
    const Point p = at.clamped();
    const UINT horizontal = align == TextAlign::Centre ? TA_CENTER : align == TextAlign::Right ? TA_RIGHT : TA_LEFT;
    const UINT previous = SetTextAlign(dc, TA_TOP | horizontal);
    TextOutA(dc, p.x, p.y, text.data(), int(std::min<std::size_t>(text.size(), 8192)));
    SetTextAlign(dc, previous);
}

int GdiDeviceContext::textWidth(std::string_view text)
{
    if (text.empty()) return 0;
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), int(std::min<std::size_t>(text.size(), 8192)), &size);
    return int(size.cx);
}

void GdiDeviceContext::copyTo(DeviceContext& destination, Point destAt, int cw, int ch, Point src)
{
    auto* dest = dynamic_cast<GdiDeviceContext*>(&destination.drawingSurface());
    if (!dest || cw <= 0 || ch <= 0) return;
    destAt = destAt.clamped();
    src = src.clamped();
    BitBlt(dest->dc, destAt.x, destAt.y, std::min(cw, kMaxSide), std::min(ch, kMaxSide), dc, src.x, src.y, SRCCOPY);
}

std::uint32_t GdiDeviceContext::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= w || y >= h) return 0;
    if (bits) {
        GdiFlush();
        return bits[std::size_t(y) * std::size_t(w) + std::size_t(x)] & 0xFFFFFF;
    }
    const COLORREF c = GetPixel(dc, x, y);
    if (c == CLR_INVALID) return 0;
    return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)}.word();
}

std::vector<std::uint32_t> GdiDeviceContext::pixels() const
{
    std::vector<std::uint32_t> out(std::size_t(w) * std::size_t(h));
    if (bits) {
        GdiFlush();
        for (std::size_t i = 0; i < out.size(); ++i) out[i] = bits[i] & 0xFFFFFF;
        return out;
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) out[std::size_t(y) * std::size_t(w) + std::size_t(x)] = pixel(x, y);
    return out;
}

bool GdiDeviceContext::writePng(const std::string& path) const
{
    return PngWriter::write(path, w, h, pixels());
}

}  // namespace platform
