// Anti-aliased drawing bound to one device context: ARGB pens and brushes, shapes, pies and arcs, and
// single-line text centred vertically in a box. Coordinates follow GDI+: integer coordinates are pixel
// centres, angles are degrees clockwise from 3 o'clock.
#pragma once

#include "platform/DeviceContext.h"
#include "platform/PlatformTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

struct RectF {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

class AntiAliasedGraphics {
public:
    virtual ~AntiAliasedGraphics() = default;

    // Colours are 0xAARRGGBB.
    virtual void setPen(std::uint32_t argb, float width) = 0;
    virtual void setBrush(std::uint32_t argb) = 0;
    virtual void setTextBrush(std::uint32_t argb) = 0;
    virtual bool setFont(const std::string& family, float pixelSize, bool bold, bool italic, bool underline) = 0;

    virtual void line(int x0, int y0, int x1, int y1) = 0;
    virtual void strokeRect(const RectF& r) = 0;
    virtual void fillRect(const RectF& r) = 0;
    virtual void strokeEllipse(const RectF& r) = 0;
    virtual void fillEllipse(const RectF& r) = 0;
    virtual void strokeArc(const RectF& r, float startDegrees, float sweepDegrees) = 0;
    virtual void fillPie(const RectF& r, float startDegrees, float sweepDegrees) = 0;

    // One line of text (current locale's multibyte encoding, at most 255 characters), no wrapping, no
    // clipping, centred vertically in the box and placed near/centre/far horizontally.
    virtual void drawText(std::string_view text, const RectF& layout, TextAlign align) = 0;

    // Everything drawn so far is in the device context's pixels.
    virtual void flush() = 0;

    // Null when the context cannot carry anti-aliased drawing (or the graphics library is not running).
    static std::unique_ptr<AntiAliasedGraphics> create(DeviceContext& target);
};

}  // namespace platform
