// A device context that draws into another one it does not own: how a headless window hands out
// contexts on its single image. It starts with the clip over the whole surface, whatever the last
// borrower left.
#pragma once

#include "platform/DeviceContext.h"

namespace platform {

class BorrowedDeviceContext : public DeviceContext {
public:
    explicit BorrowedDeviceContext(DeviceContext& target) : to(target) { to.setClip({0, 0, to.width(), to.height()}); }

    int width() const override { return to.width(); }
    int height() const override { return to.height(); }
    bool setBrush(Rgb c) override { return to.setBrush(c); }
    bool setPen(Rgb c, int w, PenStyle s) override { return to.setPen(c, w, s); }
    void setRasterOp(RasterOp op) override { to.setRasterOp(op); }
    void setTextColour(Rgb c) override { to.setTextColour(c); }
    void setTextBackground(bool opaque, Rgb c) override { to.setTextBackground(opaque, c); }
    bool setFont(const FontSpec& f) override { return to.setFont(f); }
    void setCharacterSpacing(int extra) override { to.setCharacterSpacing(extra); }
    void setClip(const Rect& r) override { to.setClip(r); }
    void fillRect(const Rect& r) override { to.fillRect(r); }
    void outlineRect(const Rect& r) override { to.outlineRect(r); }
    void fillEllipse(const Rect& r) override { to.fillEllipse(r); }
    void line(Point a, Point b) override { to.line(a, b); }
    void drawText(Point at, std::string_view t, TextAlign a) override { to.drawText(at, t, a); }
    int textWidth(std::string_view t) override { return to.textWidth(t); }
    void copyTo(DeviceContext& dest, Point at, int w, int h, Point src) override { to.copyTo(dest, at, w, h, src); }
    DeviceContext& drawingSurface() override { return to.drawingSurface(); }
    std::uint32_t pixel(int x, int y) const override { return to.pixel(x, y); }
    std::vector<std::uint32_t> pixels() const override { return to.pixels(); }
    bool writePng(const std::string& path) const override { return to.writePng(path); }

private:
    DeviceContext& to;
};

}  // namespace platform
