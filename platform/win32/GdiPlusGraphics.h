// Anti-aliased drawing through the flat interface of GDI+, on a GDI device context.
#pragma once

#include "platform/AntiAliasedGraphics.h"

#include <windows.h>
#include <gdiplus.h>

namespace platform {

class GdiPlusGraphics : public AntiAliasedGraphics {
public:
    // Null when GDI+ is not running or refuses the context.
    static std::unique_ptr<GdiPlusGraphics> create(HDC dc);
    ~GdiPlusGraphics() override;
    GdiPlusGraphics(const GdiPlusGraphics&) = delete;
    GdiPlusGraphics& operator=(const GdiPlusGraphics&) = delete;

    void setPen(std::uint32_t argb, float width) override;
    void setBrush(std::uint32_t argb) override;
    void setTextBrush(std::uint32_t argb) override;
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
    GdiPlusGraphics() = default;
    void smooth();

    Gdiplus::GpGraphics* graphics = nullptr;
    Gdiplus::GpPen* pen = nullptr;
    Gdiplus::GpSolidFill* brush = nullptr;
    Gdiplus::GpSolidFill* textBrush = nullptr;
    Gdiplus::GpFontFamily* family = nullptr;
    Gdiplus::GpFont* font = nullptr;
    std::string familyName;
};

}  // namespace platform
