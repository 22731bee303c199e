#include "platform/cairo/CairoGraphics.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <numbers>
#include <string>

namespace platform {

namespace {
// Coordinates come from widgets' arithmetic; non-finite or huge values would put Cairo into an error
// state for good, so they are tamed first.
double tame(double v)
{
    if (!std::isfinite(v)) return 0;
    return std::clamp(v, -1e6, 1e6);
}

RectF tame(const RectF& r)
{
    return {float(tame(r.left)), float(tame(r.top)), float(tame(r.width)), float(tame(r.height))};
}

std::string wideToUtf8(const wchar_t* w, std::size_t n)
{
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t c = std::uint32_t(w[i]);
        if (c < 0x80) {
            s += char(c);
        } else if (c < 0x800) {
            s += char(0xC0 | (c >> 6));
            s += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            s += char(0xE0 | (c >> 12));
            s += char(0x80 | ((c >> 6) & 0x3F));
            s += char(0x80 | (c & 0x3F));
        } else if (c < 0x110000) {
            s += char(0xF0 | (c >> 18));
            s += char(0x80 | ((c >> 12) & 0x3F));
            s += char(0x80 | ((c >> 6) & 0x3F));
            s += char(0x80 | (c & 0x3F));
        }
    }
    return s;
}
}  // namespace

CairoGraphics::CairoGraphics(cairo_surface_t* surface) : cr(cairo_create(surface))
{
    // GDI+ puts pixel centres on integer coordinates.
    cairo_translate(cr, 0.5, 0.5);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);
}

CairoGraphics::~CairoGraphics()
{
    cairo_destroy(cr);
}

void CairoGraphics::source(std::uint32_t argb)
{
    cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
                          (argb >> 24) / 255.0);
}

void CairoGraphics::setPen(std::uint32_t argb, float width)
{
    pen = argb;
    penWidth = float(std::clamp(tame(width), 0.0, 1e4));
}

bool CairoGraphics::setFont(const std::string& family, float pixelSize, bool bold, bool italic, bool underline)
{
    fontFamily = family;
    fontSize = float(std::clamp(tame(pixelSize), 0.0, 1e4));
    fontBold = bold;
    fontItalic = italic;
    fontUnderline = underline;
    return fontSize > 0;
}

void CairoGraphics::stroke()
{
    source(pen);
    // GDI+ draws a zero-width pen one pixel wide.
    cairo_set_line_width(cr, std::max(penWidth, 1.0f));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_stroke(cr);
}

void CairoGraphics::line(int x0, int y0, int x1, int y1)
{
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    stroke();
}

void CairoGraphics::strokeRect(const RectF& rr)
{
    const RectF r = tame(rr);
    cairo_rectangle(cr, r.left, r.top, r.width, r.height);
    stroke();
}

void CairoGraphics::fillRect(const RectF& rr)
{
    const RectF r = tame(rr);
    cairo_rectangle(cr, r.left, r.top, r.width, r.height);
    source(brush);
    cairo_fill(cr);
}

void CairoGraphics::ellipsePath(const RectF& r)
{
    if (r.width == 0 || r.height == 0) return;
    cairo_save(cr);
    cairo_translate(cr, r.left + r.width / 2.0, r.top + r.height / 2.0);
    cairo_scale(cr, r.width / 2.0, r.height / 2.0);
    cairo_arc(cr, 0, 0, 1, 0, 2 * std::numbers::pi);
    cairo_restore(cr);
}

void CairoGraphics::strokeEllipse(const RectF& r)
{
    ellipsePath(tame(r));
    stroke();
}

void CairoGraphics::fillEllipse(const RectF& r)
{
    ellipsePath(tame(r));
    source(brush);
    cairo_fill(cr);
}

// Angles are measured on the ellipse as GDI+ measures them: the angle of the ray from the centre in
// the box's own (unscaled) space, clockwise from 3 o'clock, which y-down Cairo shares.
void CairoGraphics::arcPath(const RectF& r, float start, float sweep, bool pie)
{
    if (r.width == 0 || r.height == 0) return;
    double s = tame(start), sw = std::clamp(tame(sweep), -360.0, 360.0);
    const double cx = r.left + r.width / 2.0, cy = r.top + r.height / 2.0;
    const double a = r.width / 2.0, b = r.height / 2.0;
    auto param = [&](double degrees) {
        // The ray at `degrees` meets the ellipse at parameter atan2(a sin, b cos), in the same turn.
        const double t = degrees * std::numbers::pi / 180.0;
        const double p = std::atan2(a * std::sin(t), b * std::cos(t));
        return p + 2 * std::numbers::pi * std::round((t - p) / (2 * std::numbers::pi));
    };
    const double p0 = param(s);
    double p1 = param(s + sw);
    if (std::fabs(sw) >= 360.0) p1 = p0 + (sw > 0 ? 2 : -2) * std::numbers::pi;
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, a, b);
    if (pie) cairo_move_to(cr, 0, 0);
    if (sw >= 0)
        cairo_arc(cr, 0, 0, 1, p0, std::max(p1, p0));
    else
        cairo_arc_negative(cr, 0, 0, 1, p0, std::min(p1, p0));
    if (pie) cairo_close_path(cr);
    cairo_restore(cr);
}

void CairoGraphics::strokeArc(const RectF& r, float startDegrees, float sweepDegrees)
{
    arcPath(tame(r), startDegrees, sweepDegrees, false);
    stroke();
}

void CairoGraphics::fillPie(const RectF& r, float startDegrees, float sweepDegrees)
{
    arcPath(tame(r), startDegrees, sweepDegrees, true);
    source(brush);
    cairo_fill(cr);
}

void CairoGraphics::drawText(std::string_view text, const RectF& layout, TextAlign align)
{
    if (text.empty() || fontSize <= 0) return;
    // Widened by the current locale, at most 255 characters, as the Windows build does.
    const std::string narrow(text.substr(0, std::min<std::size_t>(text.size(), 1023)));
    wchar_t wide[256] = {};
    std::size_t n = std::mbstowcs(wide, narrow.c_str(), 255);
    if (n == std::size_t(-1)) {
        // Not valid in this locale: take the bytes as Latin-1 rather than draw nothing.
        n = std::min<std::size_t>(narrow.size(), 255);
        for (std::size_t i = 0; i < n; ++i) wide[i] = wchar_t((unsigned char)narrow[i]);
    }
    const std::string utf8 = wideToUtf8(wide, n);
    const RectF r = tame(layout);

    cairo_save(cr);
    cairo_select_font_face(cr, fontFamily.empty() ? "Arial" : fontFamily.c_str(),
                           fontItalic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           fontBold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, fontSize);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);

    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    cairo_text_extents_t te;
    cairo_text_extents(cr, utf8.c_str(), &te);
    const double margin = fontSize / 6.0;
    double x = r.left + margin;
    if (align == TextAlign::Centre) x = r.left + (r.width - te.x_advance) / 2.0;
    if (align == TextAlign::Right) x = r.left + r.width - margin - te.x_advance;
    const double lineHeight = fe.ascent + fe.descent;
    const double baseline = r.top + (r.height - lineHeight) / 2.0 + fe.ascent;
    source(textBrush);
    cairo_move_to(cr, x, baseline);
    cairo_show_text(cr, utf8.c_str());
    if (fontUnderline) {
        cairo_rectangle(cr, x, baseline + fontSize / 10.0, te.x_advance, std::max(1.0, fontSize / 14.0));
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

void CairoGraphics::flush()
{
    cairo_surface_flush(cairo_get_target(cr));
}

}  // namespace platform
