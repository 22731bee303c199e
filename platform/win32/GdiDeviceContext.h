// The device context on Win32 GDI: a window's (or paint) device context, or a memory context holding a
// 32-bit top-down DIB section so that pixels read back the same on every display depth.
#pragma once

#include "platform/DeviceContext.h"

#include <windows.h>

namespace platform {

class GdiDeviceContext : public DeviceContext {
public:
    // A memory context compatible with the window (the screen for none); null on failure.
    static std::unique_ptr<GdiDeviceContext> createMemory(HWND compatibleWith, int w, int h);
    // Draws into a device context someone else owns; `releaseFrom` set means ReleaseDC at the end.
    GdiDeviceContext(HDC dc, int w, int h, HWND releaseFrom);
    ~GdiDeviceContext() override;
    GdiDeviceContext(const GdiDeviceContext&) = delete;
    GdiDeviceContext& operator=(const GdiDeviceContext&) = delete;

    int width() const override { return w; }
    int height() const override { return h; }
    bool setBrush(Rgb colour) override;
    bool setPen(Rgb colour, int width, PenStyle style) override;
    void setRasterOp(RasterOp op) override;
    void setTextColour(Rgb colour) override;
    void setTextBackground(bool opaque, Rgb colour) override;
    bool setFont(const FontSpec& font) override;
    void setCharacterSpacing(int extraPixels) override;
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

    HDC handle() const { return dc; }

private:
    GdiDeviceContext() = default;
    void remember();
    void outline(const Rect& r);

    HDC dc = nullptr;
    int w = 0;
    int h = 0;
    HWND releaseFrom = nullptr;
    bool ownsDc = false;
    HBITMAP bitmap = nullptr;
    std::uint32_t* bits = nullptr;
    HGDIOBJ savedBrush = nullptr, savedPen = nullptr, savedFont = nullptr, savedBitmap = nullptr;
    HBRUSH brush = nullptr;
    HPEN pen = nullptr;
    HFONT font = nullptr;
    Rgb brushColour;
    int penWidth = 1;
    DWORD patternRop = PATCOPY;
};

}  // namespace platform
