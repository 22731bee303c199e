#include "widgets/VGSlider.h"

#include "viewframework/ViewConstants.h"
#include "widgets/ARSDrawContext.h"

#include <cstdio>

namespace {
std::int32_t part(std::int32_t h, double f)
{
    return std::int32_t(h * f + 0.5);
}
}  // namespace

VGSlider::VGSlider(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette)
    : VGControl(size, listener, tag, palette), trackStart((3 * placement.height()) >> 2), trackEnd(width - trackStart)
{
    setValue(0.0f);
}

std::int32_t VGSlider::thumbCentre() const
{
    // Drawing assumes a value in 0..1; anything else (NaN included) is drawn at the nearer end.
    const float v = value() >= 0.0f ? (value() <= 1.0f ? value() : 1.0f) : 0.0f;
    return std::int32_t(v * float(trackEnd - trackStart)) + trackStart;
}

void VGSlider::paint(CDrawContext* context)
{
    ARSDrawContext* pic = beginPicture(context, true);
    if (!pic) return;
    const std::int32_t W = width, H = height;
    const std::int32_t x = thumbCentre();

    // Track, on the bottom edge, broken around the thumb.
    const std::int32_t a = part(H, 0.25), b = part(H, 0.125), c = part(H, 0.5);
    pic->setBrushColour((*palette)[VGPalette::kFace]);
    pic->fillOval(ViewRect(0, H - a, a, H));
    pic->fillBox(ViewRect(b, H - a, x - part(H, 0.625), H));
    pic->fillOval(ViewRect(x - c - a, H - a, x - c, H));
    pic->fillOval(ViewRect(x + c, H - a, x + c + a, H));
    pic->fillBox(ViewRect(x + c + b, H - a, W - b, H));
    pic->fillOval(ViewRect(std::int32_t(W - (H * 0.25 + 0.5)), H - a, W, H));

    // Thumb: accent, a white rim from the card's pen, then a half-intensity outline.
    const std::int32_t g = std::int32_t(H * 0.5 - 1);
    const ViewRect thumb(x - g, 1, x + g, H - 1);
    pic->setBrushColour((*palette)[VGPalette::kAccent]);
    pic->fillOval(thumb);
    pic->strokeOval(thumb);
    pic->setPenColour(halfIntensity((*palette)[VGPalette::kAccent]));
    pic->strokeOval(thumb);

    // Caption and read-out share the text area and the size that fits the caption.
    const double m = H * 0.125 + 0.5;
    textRect = ViewRect(std::int32_t(3 * m), 0, W - std::int32_t(3 * m), H - std::int32_t(m));
    fitFont(pic, name, textRect.width(), textRect.height());
    textRect.bottom -= 2;
    pic->setTextColour((*palette)[VGPalette::kText]);
    pic->selectFont(fontId, fontSize, 0);
    pic->drawText(name, textRect, false, kAlignLeft);

    char text[2 * kTextCapacity + 64];  // any float, a space and the whole unit
    std::snprintf(text, sizeof text, "%4.2f %s", double(displayValue()), unit);
    pic->drawText(text, textRect, false, kAlignRight);

    endPicture(pic, context);
}

void VGSlider::onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons)
{
    if (!acceptsMouse()) return;
    if (buttons == kButtonsUnread) buttons = context ? context->readButtons() : 0;
    if ((buttons & kModifierMask) && modifierClickTaken(context, buttons)) return;
    if (resetOnDefaultClick(context, buttons)) return;
    if (!(buttons & kButtonLeft) || !context) return;

    const std::int32_t origin = bounds().left + trackStart;
    const float span = float(trackEnd - trackStart);
    float anchor = value();
    std::int32_t prev = buttons;
    if (startEdit()) {
        do {
            const std::int32_t b = context->readButtons();
            if (!(b & kButtonLeft)) break;
            if (b != prev && (b & kModShift)) {
                anchor = value();
                prev = b;
            } else if (!(b & kModShift)) {
                anchor = value();
            }
            // A slider too narrow for a track maps every position to its start.
            const float raw = span > 0.0f ? float(where.h - origin) / span : 0.0f;
            setValue((b & kModShift) ? anchor + (raw - anchor) / kFineDivisor : raw);
            bounceValue();
            if (needsRedraw() && !reportValue(context)) break;
            pointerInView(context, where);
        } while (idleTurn());
    }
    endEdit();
}
