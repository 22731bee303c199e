// Aliased drawing on one surface, with the pixel rules of Windows GDI on every system:
// right and bottom edges excluded, ellipses inscribed in their box, no anti-aliasing.
#pragma once

#include "platform/PlatformTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class DeviceContext {
public:
    virtual ~DeviceContext() = default;

    // Size of the surface in pixels.
    virtual int width() const = 0;
    virtual int height() const = 0;

    // Solid brush for fills. False when the system refused it; the previous brush stays.
    virtual bool setBrush(Rgb colour) = 0;
    // Pen for lines and outlines. Wider than 1 pixel a pen is always solid, as GDI's are.
    virtual bool setPen(Rgb colour, int width, PenStyle style) = 0;
    // Applies to pens and brushes (lines, outlines, rectangle and ellipse fills), never to text or copies.
    virtual void setRasterOp(RasterOp op) = 0;

    virtual void setTextColour(Rgb colour) = 0;
    // Opaque text paints its cells (advance width x cell height) in the colour first.
    virtual void setTextBackground(bool opaque, Rgb colour) = 0;
    virtual bool setFont(const FontSpec& font) = 0;
    // Extra pixels after every character, in drawing and in measuring.
    virtual void setCharacterSpacing(int extraPixels) = 0;

    // Every drawing operation and incoming copy stays inside this rectangle; replaces the previous one.
    virtual void setClip(const Rect& clip) = 0;

    // Pixels left..right-1, top..bottom-1 with the brush.
    virtual void fillRect(const Rect& r) = 0;
    // The pen along columns left and right-1 and rows top and bottom-1, every pixel touched once.
    virtual void outlineRect(const Rect& r) = 0;
    // Ellipse inscribed in r, filled with the brush, no outline.
    virtual void fillEllipse(const Rect& r) = 0;
    // The pen from one point to the other; the last point is not drawn.
    virtual void line(Point from, Point to) = 0;

    // Text whose cell top is at anchor.y; anchor.x is its left edge, centre or right edge.
    virtual void drawText(Point anchor, std::string_view text, TextAlign align) = 0;
    virtual int textWidth(std::string_view text) = 0;

    // Block copy of w x h pixels from this surface at src to dest at destAt, clipped by dest's clip.
    virtual void copyTo(DeviceContext& dest, Point destAt, int w, int h, Point src) = 0;
    // The surface this context really draws on: itself, unless it only borrows another's.
    virtual DeviceContext& drawingSurface() { return *this; }

    // Read-back, 0x00RRGGBB words row by row; a pixel outside the surface reads as black.
    virtual std::uint32_t pixel(int x, int y) const = 0;
    virtual std::vector<std::uint32_t> pixels() const = 0;
    virtual bool writePng(const std::string& path) const = 0;

    // An off-screen surface of w x h pixels compatible with the window (or the screen for 0), black.
    // Null when it cannot be made (no memory, absurd size).
    static std::unique_ptr<DeviceContext> createOffscreen(NativeWindow compatibleWith, int w, int h);

    // Which implementation this build carries: "gdi" or "cairo".
    static const char* implementationName();
};

}  // namespace platform
