#include "platform/win32/GdiPlusGraphics.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace platform {

namespace {
float tame(float v)
{
    if (!std::isfinite(v)) return 0;
    return std::clamp(v, -1e6f, 1e6f);
}

RectF tame(const RectF& r)
{
    return {tame(r.left), tame(r.top), tame(r.width), tame(r.height)};
}

std::wstring widen(const std::string& s)
{
    std::wstring w;
    for (unsigned char c : s) w += wchar_t(c);
    return w;
}
}  // namespace

std::unique_ptr<GdiPlusGraphics> GdiPlusGraphics::create(HDC dc)
{
    std::unique_ptr<GdiPlusGraphics> g(new GdiPlusGraphics());
    if (GdipCreateFromHDC(dc, &g->graphics) != Ok || !g->graphics) return nullptr;
    GdipSetInterpolationMode(g->graphics, InterpolationModeLowQuality);
    GdipSetSmoothingMode(g->graphics, SmoothingModeHighQuality);
    GdipCreatePen1(0xFF000000, 1.0f, UnitWorld, &g->pen);
    GdipCreateSolidFill(0xFF000000, &g->brush);
    GdipCreateSolidFill(0xFF000000, &g->textBrush);
    return g;
}

GdiPlusGraphics::~GdiPlusGraphics()
{
    if (graphics) GdipDeleteGraphics(graphics);
    if (pen) GdipDeletePen(pen);
    if (brush) GdipDeleteBrush(brush);
    if (textBrush) GdipDeleteBrush(textBrush);
    if (font) GdipDeleteFont(font);
    if (family) GdipDeleteFontFamily(family);
}

void GdiPlusGraphics::smooth()
{
    GdipSetSmoothingMode(graphics, SmoothingModeAntiAlias);
}

void GdiPlusGraphics::setPen(std::uint32_t argb, float width)
{
    if (!pen) return;
    GdipSetPenColor(pen, argb);
    GdipSetPenWidth(pen, std::clamp(tame(width), 0.0f, 1e4f));
}

void GdiPlusGraphics::setBrush(std::uint32_t argb)
{
    if (brush) GdipSetSolidFillColor(brush, argb);
}

void GdiPlusGraphics::setTextBrush(std::uint32_t argb)
{
    if (textBrush) GdipSetSolidFillColor(textBrush, argb);
}

bool GdiPlusGraphics::setFont(const std::string& name, float pixelSize, bool bold, bool italic, bool underline)
{
    if (font) {
        GdipDeleteFont(font);
        font = nullptr;
    }
    if (!family || name != familyName) {
        if (family) GdipDeleteFontFamily(family);
        family = nullptr;
        familyName = name;
        const std::wstring wide = widen(name.empty() ? std::string("Arial") : name);
        if (GdipCreateFontFamilyFromName(wide.c_str(), nullptr, &family) != Ok) family = nullptr;
    }
    const float size = std::clamp(tame(pixelSize), 0.0f, 1e4f);
    if (!family || size <= 0) return false;
    INT style = FontStyleRegular;
    if (bold) style |= FontStyleBold;
    if (italic) style |= FontStyleItalic;
    if (underline) style |= FontStyleUnderline;
    return GdipCreateFont(family, size, style, UnitPixel, &font) == Ok;
}

void GdiPlusGraphics::line(int x0, int y0, int x1, int y1)
{
    smooth();
    GdipDrawLineI(graphics, pen, clampCoordinate(x0), clampCoordinate(y0), clampCoordinate(x1), clampCoordinate(y1));
}

void GdiPlusGraphics::strokeRect(const RectF& rr)
{
    const RectF r = tame(rr);
    smooth();
    GdipDrawRectangle(graphics, pen, r.left, r.top, r.width, r.height);
}

void GdiPlusGraphics::fillRect(const RectF& rr)
{
    const RectF r = tame(rr);
    smooth();
    GdipFillRectangle(graphics, brush, r.left, r.top, r.width, r.height);
}

void GdiPlusGraphics::strokeEllipse(const RectF& rr)
{
    const RectF r = tame(rr);
    smooth();
    GdipDrawEllipse(graphics, pen, r.left, r.top, r.width, r.height);
}

void GdiPlusGraphics::fillEllipse(const RectF& rr)
{
    const RectF r = tame(rr);
    smooth();
    GdipFillEllipse(graphics, brush, r.left, r.top, r.width, r.height);
}

void GdiPlusGraphics::strokeArc(const RectF& rr, float start, float sweep)
{
    const RectF r = tame(rr);
    smooth();
    GdipDrawArc(graphics, pen, r.left, r.top, r.width, r.height, tame(start), std::clamp(tame(sweep), -360.0f, 360.0f));
}

void GdiPlusGraphics::fillPie(const RectF& rr, float start, float sweep)
{
    const RectF r = tame(rr);
    smooth();
    GdipFillPie(graphics, brush, r.left, r.top, r.width, r.height, tame(start), std::clamp(tame(sweep), -360.0f, 360.0f));
}

void GdiPlusGraphics::drawText(std::string_view text, const RectF& layout, TextAlign align)
{
    if (text.empty() || !font) return;
    // Widened by the current locale, at most 255 characters.
    const std::string narrow(text.substr(0, std::min<std::size_t>(text.size(), 1023)));
    wchar_t wide[256] = {};
    std::size_t n = std::mbstowcs(wide, narrow.c_str(), 255);
    if (n == std::size_t(-1)) {
        n = std::min<std::size_t>(narrow.size(), 255);
        for (std::size_t i = 0; i < n; ++i) wide[i] = wchar_t((unsigned char)narrow[i]);
    }
    GpStringFormat* format = nullptr;
    // No clipping, no wrapping, no font fallback, display format control.
    if (GdipCreateStringFormat(0x5420, LANG_NEUTRAL, &format) != Ok) return;
    GdipSetStringFormatTrimming(format, StringTrimmingNone);
    GdipSetStringFormatAlign(format, align == TextAlign::Centre  ? StringAlignmentCenter
                                     : align == TextAlign::Right ? StringAlignmentFar
                                                                 : StringAlignmentNear);
    GdipSetStringFormatLineAlign(format, StringAlignmentCenter);
    smooth();
    GdipSetTextRenderingHint(graphics, TextRenderingHintAntiAlias);
    const RectF r = tame(layout);
    Gdiplus::RectF box(r.left, r.top, std::max(r.width, 0.0f), std::max(r.height, 0.0f));
    // Some GDI+ versions lay out nothing that does not fit the box even without wrapping; a box grown
    // to the text's width (about the same anchor) draws the same line everywhere.
    const Gdiplus::RectF unbounded(r.left, r.top, 1e6f, 1e6f);
    Gdiplus::RectF needed;
    if (GdipMeasureString(graphics, wide, INT(n), font, &unbounded, format, &needed, nullptr, nullptr) == Ok &&
        needed.Width > box.Width) {
        const float grow = needed.Width - box.Width;
        if (align == TextAlign::Centre) box.X -= grow / 2;
        if (align == TextAlign::Right) box.X -= grow;
        box.Width = needed.Width;
    }
    GdipDrawString(graphics, wide, INT(n), font, &box, format, textBrush);
    GdipDeleteStringFormat(format);
}

void GdiPlusGraphics::flush()
{
    GdipFlush(graphics, FlushIntentionSync);
    GdiFlush();
}

}  // namespace platform
