#include "viewframework/CDrawContext.h"

#include "platform/WindowSystem.h"

#include <algorithm>
#include <string_view>

namespace {
bool buttonsSwapped = false;

platform::Rgb rgb(ViewColour c)
{
    return {c.red, c.green, c.blue};
}

platform::Rect toPlatform(const ViewRect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

// Long enough for anything a widget shows; a missing terminator is not read past this.
constexpr std::size_t kMaxText = 4096;
std::string_view textOf(const char* text)
{
    std::size_t n = 0;
    while (n < kMaxText && text[n]) ++n;
    return {text, n};
}
}  // namespace

CDrawContext::CDrawContext(CDrawContextOwner* owner, platform::DeviceContext* nativeContext,
                           platform::NativeWindow window)
    : native(nativeContext), nativeWindow(window), frame(owner),
      clip(owner ? owner->contextBounds() : ViewRect(0, 0, 1000, 1000))
{
    platform::WindowSystem& system = platform::WindowSystem::current();
    if (!native && window) {
        obtained = system.windowContext(window);
        native = obtained.get();
    }
    if (window) {
        const platform::Point p = system.windowOrigin(window);
        origin = {p.x, p.y};
    }
    applyInitialState();
}

void CDrawContext::applyInitialState()
{
    if (native) native->setTextBackground(false, rgb(brushColourValue));
    setPenColour(kColourWhite);
    setPenStyle(kPenSolid);
    setPenWidth(1);
    setBrushColour(kColourBlack);
    setTextColour(kColourWhite);
    selectFont(kFaceSystem, 0, 0);
    setRasterMode(kRasterCopy);
}

void CDrawContext::restoreInitialState(const ViewRect& initialClip)
{
    offset = {};
    penPosition = {};
    fontSizeValue = -1;
    fontStyleValue = 0;
    fontIdValue = kFaceCount;
    textColourValue = {};
    penWidthValue = 0;
    penColourValue = {};
    brushColourValue = {};
    penStyleValue = kPenDotted;
    raster = kRasterDefault;
    clip = initialClip;
    if (native) native->setClip(toPlatform(clip));
    applyInitialState();
    // The constructor's raster mode equals the native context's own initial one, so setRasterMode
    // sent nothing; this context's native one may hold another from earlier drawing.
    applyRaster();
}

CDrawContext::~CDrawContext() = default;  // the platform context puts back and frees its own objects

void CDrawContext::adoptNative(std::unique_ptr<platform::DeviceContext> made)
{
    obtained = std::move(made);
    native = obtained.get();
    if (!native) return;
    native->setTextBackground(false, rgb(brushColourValue));
    buildPen();
    if (native->setBrush(rgb(brushColourValue))) ++buildCount.brush;
    native->setTextColour(rgb(textColourValue));
    buildFont();
    applyRaster();
}

ViewRect CDrawContext::shifted(const ViewRect& r) const
{
    ViewRect s = r;
    s.offset(offset.h, offset.v);
    return s;
}

void CDrawContext::applyRaster()
{
    if (!native) return;
    // Or merges the pen with the destination, xor draws the inverted exclusive-or, all else copies.
    native->setRasterOp(raster == kRasterOr ? platform::RasterOp::Or
                        : raster == kRasterXor ? platform::RasterOp::NotXor
                                               : platform::RasterOp::Copy);
}

void CDrawContext::setRasterMode(std::int32_t mode)
{
    if (mode == raster) return;
    raster = mode;
    applyRaster();
}

void CDrawContext::buildPen()
{
    ++buildCount.pen;
    if (!native) return;
    native->setPen(rgb(penColourValue), std::clamp(penWidthValue, 0, 1000),
                   penStyleValue == kPenDotted ? platform::PenStyle::Dotted : platform::PenStyle::Solid);
}

void CDrawContext::setPenStyle(std::int32_t style)
{
    if (style == penStyleValue) return;
    penStyleValue = style;
    buildPen();
}

void CDrawContext::setPenWidth(std::int32_t width)
{
    if (width == penWidthValue) return;
    penWidthValue = width;
    buildPen();
}

void CDrawContext::setPenColour(ViewColour colour)
{
    if (colour == penColourValue) return;
    penColourValue = colour;
    buildPen();
}

void CDrawContext::setBrushColour(ViewColour colour)
{
    if (colour == brushColourValue) return;
    // The colour is kept even when the system refuses the brush; the old brush then stays selected.
    brushColourValue = colour;
    ++buildCount.brush;
    if (native) native->setBrush(rgb(colour));
}

void CDrawContext::setTextColour(ViewColour colour)
{
    textColourValue = colour;
    if (native) native->setTextColour(rgb(colour));
}

void CDrawContext::buildFont()
{
    ++buildCount.font;
    if (!native) return;
    native->setCharacterSpacing((fontStyleValue & kFontExpanded) ? 2 : (fontStyleValue & kFontCondensed) ? -2 : 0);
    platform::FontSpec font;
    font.face = kFontTable[fontIdValue].name;
    font.pixelHeight = fontSizeValue;
    font.bold = (fontStyleValue & kFontBold) || fontIdValue == kFaceSystem;
    font.italic = fontStyleValue & kFontItalic;
    font.underline = fontStyleValue & kFontUnderline;
    font.family = fontIdValue == kFaceSymbol ? platform::FontFamily::Decorative : platform::FontFamily::SansSerif;
    native->setFont(font);
}

void CDrawContext::selectFont(std::int32_t id, std::int32_t size, std::int32_t style)
{
    if (id < 0 || id >= kFaceCount) id = kFaceSystem;
    const std::int32_t effective = size != 0 ? size : kFontTable[id].defaultSize;
    if (id == fontIdValue && effective == fontSizeValue && style == fontStyleValue) return;
    fontStyleValue = style;
    fontIdValue = id;
    fontSizeValue = effective;
    buildFont();
}

std::int32_t CDrawContext::measureText(const char* text)
{
    if (!text || !native) return 0;
    return native->textWidth(textOf(text));
}

void CDrawContext::drawText(const char* text, const ViewRect& rect, bool opaque, std::int32_t align)
{
    if (!text || !native) return;
    const ViewRect r = shifted(rect);
    native->setTextBackground(opaque, rgb(brushColourValue));
    platform::Point anchor{0, r.top};
    platform::TextAlign a = platform::TextAlign::Left;
    if (align == kAlignCentre) {
        anchor.x = std::int32_t((std::int64_t(r.left) + (std::int64_t(r.right) - r.left) / 2));
        a = platform::TextAlign::Centre;
    } else if (align == kAlignRight) {
        anchor.x = r.right;
        a = platform::TextAlign::Right;
    } else {
        anchor.x = platform::clampCoordinate(std::int64_t(r.left) + 1);
    }
    native->drawText(anchor, textOf(text), a);
    native->setTextBackground(false, rgb(brushColourValue));
}

void CDrawContext::drawBox(const ViewRect& rect, std::int32_t style)
{
    if (!native) return;
    const platform::Rect r = toPlatform(shifted(rect));
    if (style == kShapeFilled || style == kShapeFilledStroked) native->fillRect(r);
    if (style != kShapeFilled) native->outlineRect(r);
}

void CDrawContext::fillBox(const ViewRect& rect)
{
    if (!native) return;
    // The top row and the left column stay out; the pixels up to right-1 and bottom-1 are covered.
    const platform::Rect r = toPlatform(shifted(rect));
    native->fillRect({platform::clampCoordinate(std::int64_t(r.left) + 1), platform::clampCoordinate(std::int64_t(r.top) + 1),
                      r.right, r.bottom});
}

void CDrawContext::fillOval(const ViewRect& rect)
{
    if (!native) return;
    // Inscribed in the box moved one pixel right and down.
    const platform::Rect r = toPlatform(shifted(rect));
    auto one = [](std::int32_t v) { return platform::clampCoordinate(std::int64_t(v) + 1); };
    native->fillEllipse({one(r.left), one(r.top), one(r.right), one(r.bottom)});
}

void CDrawContext::setClipBox(const ViewRect& rect)
{
    const ViewRect r = shifted(rect);
    if (r == clip) return;
    clip = r;
    if (native) native->setClip(toPlatform(r));
}

ViewRect CDrawContext::clipBox() const
{
    ViewRect r = clip;
    r.offset(-offset.h, -offset.v);
    return r;
}

void CDrawContext::setButtonsSwapped(bool swapped)
{
    buttonsSwapped = swapped;
}

std::int32_t CDrawContext::readButtons() const
{
    const int live = platform::WindowSystem::current().liveButtons();
    std::int32_t bits = 0;
    const bool left = live & platform::kInputLeft, right = live & platform::kInputRight;
    if (left) bits |= buttonsSwapped ? kButtonRight : kButtonLeft;
    if (right) bits |= buttonsSwapped ? kButtonLeft : kButtonRight;
    if (live & platform::kInputMiddle) bits |= kButtonMiddle;
    if (live & platform::kInputShift) bits |= kModShift;
    if (live & platform::kInputControl) bits |= kModControl;
    if (live & platform::kInputAlt) bits |= kModAlt;
    return bits;
}

void CDrawContext::readPointer(ViewPoint& point) const
{
    const platform::Point p = platform::WindowSystem::current().pointerOnScreen();
    point = {platform::clampCoordinate(std::int64_t(p.x) - origin.h), platform::clampCoordinate(std::int64_t(p.y) - origin.v)};
}
