#include "platform/cairo/CairoDeviceContext.h"

#include "platform/GdiRaster.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <cmath>
#include <string>

namespace platform {

namespace {
// The bytes are ANSI (Latin-1 here) like the Windows text calls take; Cairo wants UTF-8.
std::string toUtf8(std::string_view text)
{
    std::string s;
    s.reserve(text.size());
    for (unsigned char c : text) {
        if (c < 0x80) {
            s += char(c);
        } else {
            s += char(0xC0 | (c >> 6));
            s += char(0x80 | (c & 0x3F));
        }
    }
    return s;
}

Rect intersect(const Rect& a, const Rect& b)
{
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

constexpr int kDotLength = 1;  // dotted pens alternate one pixel on, one off
}  // namespace

CairoDeviceContext::CairoDeviceContext(cairo_surface_t* surface)
    : target(surface), w(cairo_image_surface_get_width(surface)), h(cairo_image_surface_get_height(surface)),
      clip{0, 0, w, h}
{
}

CairoDeviceContext::~CairoDeviceContext()
{
    cairo_surface_destroy(target);
}

bool CairoDeviceContext::setBrush(Rgb colour)
{
    brush = colour;
    return true;
}

bool CairoDeviceContext::setPen(Rgb colour, int width, PenStyle style)
{
    pen = colour;
    penWidth = std::max(1, width);
    penStyle = penWidth > 1 ? PenStyle::Solid : style;
    return true;
}

void CairoDeviceContext::setTextBackground(bool opaque, Rgb colour)
{
    textOpaque = opaque;
    textBackground = colour;
}

bool CairoDeviceContext::setFont(const FontSpec& f)
{
    font = f;
    font.pixelHeight = std::clamp(f.pixelHeight, 1, 4096);
    return true;
}

void CairoDeviceContext::setClip(const Rect& c)
{
    clip = c.clamped();
}

Rect CairoDeviceContext::effectiveClip() const
{
    return intersect(clip, Rect{0, 0, w, h});
}

void CairoDeviceContext::beginPixels() const
{
    cairo_surface_flush(target);
}

void CairoDeviceContext::endPixels()
{
    cairo_surface_mark_dirty(target);
}

std::uint32_t* CairoDeviceContext::row(int y) const
{
    unsigned char* data = cairo_image_surface_get_data(target);
    return reinterpret_cast<std::uint32_t*>(data + std::ptrdiff_t(y) * cairo_image_surface_get_stride(target));
}

void CairoDeviceContext::span(int y, int left, int right, std::uint32_t colour)
{
    const Rect c = effectiveClip();
    if (y < c.top || y >= c.bottom) return;
    left = std::max(left, c.left);
    right = std::min(right, c.right);
    if (right <= left) return;
    std::uint32_t* p = row(y);
    switch (rop) {
    case RasterOp::Copy: std::fill(p + left, p + right, colour); break;
    case RasterOp::Or:
        for (int x = left; x < right; ++x) p[x] = (p[x] | colour) & 0xFFFFFF;
        break;
    case RasterOp::NotXor:
        for (int x = left; x < right; ++x) p[x] = ~(p[x] ^ colour) & 0xFFFFFF;
        break;
    }
}

void CairoDeviceContext::plot(int x, int y, std::uint32_t colour)
{
    span(y, x, x + 1, colour);
}

void CairoDeviceContext::fillRect(const Rect& rect)
{
    const Rect r = rect.clamped();
    if (r.empty()) return;
    beginPixels();
    for (int y = std::max(r.top, 0); y < std::min(r.bottom, h); ++y) span(y, r.left, r.right, brush.word());
    endPixels();
}

// One-pixel segment in the pen's pattern, counted from `phase`.
void CairoDeviceContext::penSegment(Point from, Point to, int& phase)
{
    std::vector<Point> pts;
    GdiRaster::linePixels(from, to, pts, effectiveClip());
    const std::uint32_t colour = pen.word();
    for (const Point& p : pts) {
        const bool on = penStyle == PenStyle::Solid || (phase / kDotLength) % 2 == 0;
        ++phase;
        if (on) plot(p.x, p.y, colour);
    }
}

// Wider pens repeat the one-pixel line side by side across the line, the odd pixel of even widths on
// the top or left, so every pixel of the band is set once.
void CairoDeviceContext::penLine(Point from, Point to, int& phase)
{
    if (penWidth == 1) {
        penSegment(from, to, phase);
        return;
    }
    const bool xMajor = std::abs(to.x - from.x) >= std::abs(to.y - from.y);
    for (int o = -(penWidth / 2); o <= (penWidth - 1) / 2; ++o) {
        int ignored = 0;
        if (xMajor)
            penSegment({from.x, from.y + o}, {to.x, to.y + o}, ignored);
        else
            penSegment({from.x + o, from.y}, {to.x + o, to.y}, ignored);
    }
}

void CairoDeviceContext::line(Point from, Point to)
{
    from = from.clamped();
    to = to.clamped();
    beginPixels();
    int phase = 0;
    penLine(from, to, phase);
    endPixels();
}

void CairoDeviceContext::outlineRect(const Rect& rect)
{
    const Rect r = rect.clamped();
    beginPixels();
    if (penWidth == 1) {
        // GDI starts the dot pattern afresh with every segment of the outline.
        const Point a{r.left, r.top}, b{r.right - 1, r.top}, c{r.right - 1, r.bottom - 1}, d{r.left, r.bottom - 1};
        int phase = 0;
        penSegment(a, b, phase);
        phase = 0;
        penSegment(b, c, phase);
        phase = 0;
        penSegment(c, d, phase);
        phase = 0;
        penSegment(d, a, phase);
    } else {
        // Nested one-pixel outlines, centred on the thin one with the odd pixel inside.
        const int saved = penWidth;
        penWidth = 1;
        for (int i = 0; i < saved; ++i) {
            const int grow = (saved - 1) / 2 - i;
            const Rect g{r.left - grow, r.top - grow, r.right + grow, r.bottom + grow};
            if (g.right - g.left < 1 || g.bottom - g.top < 1) break;
            int phase = 0;
            const Point a{g.left, g.top}, b{g.right - 1, g.top}, c{g.right - 1, g.bottom - 1}, d{g.left, g.bottom - 1};
            penSegment(a, b, phase);
            penSegment(b, c, phase);
            penSegment(c, d, phase);
            penSegment(d, a, phase);
        }
        penWidth = saved;
    }
    endPixels();
}

void CairoDeviceContext::fillEllipse(const Rect& r)
{
    std::vector<Span> spans;
    GdiRaster::ellipseSpans(r.clamped(), spans);
    beginPixels();
    for (const Span& s : spans) span(s.y, s.left, s.right, brush.word());
    endPixels();
}

void CairoDeviceContext::prepareFont(cairo_t* cr) const
{
    cairo_select_font_face(cr, font.face.empty() ? "Arial" : font.face.c_str(),
                           font.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, font.pixelHeight);
    cairo_font_options_t* options = cairo_font_options_create();
    // Whole-pixel advances, as GDI measures them.
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

int CairoDeviceContext::textWidth(std::string_view text)
{
    if (text.empty()) return 0;
    cairo_t* cr = cairo_create(target);
    prepareFont(cr);
    double total = 0;
    if (extra == 0) {
        cairo_text_extents_t e;
        cairo_text_extents(cr, toUtf8(text).c_str(), &e);
        total = e.x_advance;
    } else {
        for (char c : text) {
            cairo_text_extents_t e;
            cairo_text_extents(cr, toUtf8(std::string_view(&c, 1)).c_str(), &e);
            total += e.x_advance + extra;
        }
    }
    cairo_destroy(cr);
    return int(std::lround(std::clamp(total, -1e6, 1e6)));
}

void CairoDeviceContext::drawText(Point at, std::string_view text, TextAlign align)
{
    const Point anchor = at.clamped();
    if (text.empty()) return;
    const int width = textWidth(text);
    int left = anchor.x;
    if (align == TextAlign::Centre) left = anchor.x - width / 2;
    if (align == TextAlign::Right) left = anchor.x - width;

    cairo_t* cr = cairo_create(target);
    prepareFont(cr);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    // GDI's cell: whole-pixel ascent and descent.
    const int ascent = int(std::lround(std::clamp(fe.ascent, 0.0, 1e5)));
    const int descent = int(std::lround(std::clamp(fe.descent, 0.0, 1e5)));
    const Rect c = effectiveClip();
    cairo_rectangle(cr, c.left, c.top, c.width(), c.height());
    cairo_clip(cr);
    if (textOpaque) {
        cairo_set_source_rgb(cr, textBackground.red / 255.0, textBackground.green / 255.0, textBackground.blue / 255.0);
        cairo_rectangle(cr, left, anchor.y, width, ascent + descent);
        cairo_fill(cr);
    }
    cairo_set_source_rgb(cr, textColour.red / 255.0, textColour.green / 255.0, textColour.blue / 255.0);
    const double baseline = double(anchor.y) + ascent;
    if (extra == 0) {
        cairo_move_to(cr, left, baseline);
        cairo_show_text(cr, toUtf8(text).c_str());
    } else {
        double x = left;
        for (char ch : text) {
            const std::string one = toUtf8(std::string_view(&ch, 1));
            cairo_text_extents_t e;
            cairo_text_extents(cr, one.c_str(), &e);
            cairo_move_to(cr, x, baseline);
            cairo_show_text(cr, one.c_str());
            x += e.x_advance + extra;
        }
    }
    if (font.underline) {
        const int thickness = std::max(1, int(std::lround(font.pixelHeight / 14.0)));
        const int y = anchor.y + ascent + std::max(1, int(std::lround(font.pixelHeight / 10.0)));
        cairo_rectangle(cr, left, y, width, thickness);
        cairo_fill(cr);
    }
    cairo_destroy(cr);
}

void CairoDeviceContext::copyTo(DeviceContext& destination, Point destAt, int cw, int ch, Point src)
{
    auto* dest = dynamic_cast<CairoDeviceContext*>(&destination.drawingSurface());
    if (!dest || cw <= 0 || ch <= 0) return;
    // Clip once: the columns i and rows j that land inside dest's clip and come from inside this
    // surface. 64 bits, as offsets come from callers and may be absurd.
    const Rect dc = dest->effectiveClip();
    const long long i0 = std::max({0LL, (long long)dc.left - destAt.x, -(long long)src.x});
    const long long i1 = std::min({(long long)cw, (long long)dc.right - destAt.x, (long long)w - src.x});
    const long long j0 = std::max({0LL, (long long)dc.top - destAt.y, -(long long)src.y});
    const long long j1 = std::min({(long long)ch, (long long)dc.bottom - destAt.y, (long long)h - src.y});
    if (i1 <= i0 || j1 <= j0) return;
    beginPixels();
    dest->beginPixels();
    const std::size_t bytes = std::size_t(i1 - i0) * sizeof(std::uint32_t);
    // Top row first, each row whole before the next: within one surface rows may overlap.
    for (long long j = j0; j < j1; ++j) {
        const std::uint32_t* s = row(int(src.y + j)) + (src.x + i0);
        std::uint32_t* d = dest->row(int(destAt.y + j)) + (destAt.x + i0);
        std::memmove(d, s, bytes);
    }
    dest->endPixels();
}

std::uint32_t CairoDeviceContext::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= w || y >= h) return 0;
    beginPixels();
    return row(y)[x] & 0xFFFFFF;
}

std::vector<std::uint32_t> CairoDeviceContext::pixels() const
{
    beginPixels();
    std::vector<std::uint32_t> out(std::size_t(w) * std::size_t(h));
    // A row at a time: the surface is looked up once per row, and the loop is plain enough to vectorise.
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* from = row(y);
        std::uint32_t* to = out.data() + std::size_t(y) * std::size_t(w);
        for (int x = 0; x < w; ++x) to[x] = from[x] & 0xFFFFFF;
    }
    return out;
}

bool CairoDeviceContext::writePng(const std::string& path) const
{
    beginPixels();
    return cairo_surface_write_to_png(target, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace platform
