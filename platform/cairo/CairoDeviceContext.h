// The device context on a Cairo image surface. Shapes are set pixel by pixel with GDI's rules and raster
// operations (Cairo has no bitwise operators); Cairo itself draws only the text and writes PNG files.
#pragma once

#include "platform/DeviceContext.h"

#include <cairo.h>

namespace platform {

class CairoDeviceContext : public DeviceContext {
public:
    // Takes over one reference of the surface (RGB24).
    explicit CairoDeviceContext(cairo_surface_t* surface);
    ~CairoDeviceContext() override;
    CairoDeviceContext(const CairoDeviceContext&) = delete;
    CairoDeviceContext& operator=(const CairoDeviceContext&) = delete;

    int width() const override { return w; }
    int height() const override { return h; }
    bool setBrush(Rgb colour) override;
    bool setPen(Rgb colour, int width, PenStyle style) override;
    void setRasterOp(RasterOp op) override { rop = op; }
    void setTextColour(Rgb colour) override { textColour = colour; }
    void setTextBackground(bool opaque, Rgb colour) override;
    bool setFont(const FontSpec& font) override;
    void setCharacterSpacing(int extraPixels) override { extra = extraPixels; }
    void setClip(const Rect& clip) override;
    void fillRect(const Rect& r) override;
    void outlineRect(const Rect& r) override;
    void fillEllipse(const Rect& r) override;
    void line(Point from, Point to) override;
    void drawText(Point anchor, std::string_view text, TextAlign align) override;
    int textWidth(std::string_view text) override;
    void copyTo(DeviceContext& dest, Point destAt, int w, int h, Point src) override;
    std::uint32_t pixel(int x, int y) const override;
    std::vector<std::uint32_t> pixels() const override;
    bool writePng(const std::string& path) const override;

    cairo_surface_t* surface() const { return target; }

private:
    void beginPixels() const;
    void endPixels();
    std::uint32_t* row(int y) const;
    void plot(int x, int y, std::uint32_t colour);
    void span(int y, int left, int right, std::uint32_t colour);
    void penLine(Point from, Point to, int& phase);
    void penSegment(Point from, Point to, int& phase);
    void prepareFont(cairo_t* cr) const;
    Rect effectiveClip() const;

    cairo_surface_t* target;
    int w;
    int h;
    Rect clip;
    RasterOp rop = RasterOp::Copy;
    Rgb brush;
    Rgb pen{255, 255, 255};
    int penWidth = 1;
    PenStyle penStyle = PenStyle::Solid;
    Rgb textColour;
    bool textOpaque = false;
    Rgb textBackground{255, 255, 255};
    FontSpec font;
    int extra = 0;
};

}  // namespace platform
