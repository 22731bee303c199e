// Anti-aliased drawing with Cairo on a Cairo device context's surface, in GDI+'s conventions: integer
// coordinates are pixel centres (hence the half-pixel shift), angles clockwise from 3 o'clock, and text
// laid out as GDI+ lays out a line (a sixth of the em as margin at the near and far sides, the line box
// centred vertically).
#pragma once

#include "platform/AntiAliasedGraphics.h"

#include <cairo.h>

namespace platform {

class CairoGraphics : public AntiAliasedGraphics {
public:
    explicit CairoGraphics(cairo_surface_t* surface);
    ~CairoGraphics() override;
    CairoGraphics(const CairoGraphics&) = delete;
    CairoGraphics& operator=(const CairoGraphics&) = delete;

    void setPen(std::uint32_t argb, float width) override;
    void setBrush(std::uint32_t argb) override { brush = argb; }
    void setTextBrush(std::uint32_t argb) override { textBrush = argb; }
    bool setFont(const std::string& family, float pixelSize, bool bold, bool italic, bool underline) override;
    void line(int x0, int y0, int x1, int y1) override;
    void strokeRect(const RectF& r) override;
    void fillRect(const RectF& r) override;
    void strokeEllipse(const RectF& r) override;
    void fillEllipse(const RectF& r) override;
    void strokeArc(const RectF& r, float startDegrees, float sweepDegrees) override;
    void fillPie(const RectF& r, float startDegrees, float sweepDegrees) override;
    void drawText(std::string_view text, const RectF& layout, TextAlign align) override;
    void flush() override;

private:
    void source(std::uint32_t argb);
    void stroke();
    void ellipsePath(const RectF& r);
    void arcPath(const RectF& r, float start, float sweep, bool pie);

    cairo_t* cr;
    std::uint32_t pen = 0xFF000000;
    float penWidth = 1;
    std::uint32_t brush = 0xFF000000;
    std::uint32_t textBrush = 0xFF000000;
    std::string fontFamily;
    float fontSize = 0;
    bool fontBold = false, fontItalic = false, fontUnderline = false;
};

}  // namespace platform
