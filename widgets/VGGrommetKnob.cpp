#include "widgets/VGGrommetKnob.h"

#include "viewframework/ViewConstants.h"
#include "widgets/ARSDrawContext.h"

#include <cmath>
#include <cstdio>

namespace {
ViewRect inset(const ViewRect& r, std::int32_t d)
{
    return ViewRect(r.left + d, r.top + d, r.right - d, r.bottom - d);
}
}  // namespace

VGGrommetKnob::VGGrommetKnob(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette)
    : VGKnobBase(size, listener, tag, palette)
{
}

ViewRect VGGrommetKnob::dotAt(float clockDegrees) const
{
    const ViewRect m(1, 1, width - 1, height - 1);
    const float A = float(m.right - m.left) * 0.125f;
    const ViewRect r2 = inset(m, std::int32_t(A * 0.5f));
    const double radians = double(clockDegrees) * 0.017453292;
    const std::int32_t left = m.left + std::int32_t((std::sin(radians) + 1.0) * 0.5 * r2.width() + 0.5);
    const std::int32_t top = m.top + std::int32_t((1.0 - std::cos(radians)) * 0.5 * r2.height() + 0.5);
    return ViewRect(left, top, std::int32_t(float(left) + A), std::int32_t(float(top) + A));
}

void VGGrommetKnob::readout(char* text, std::size_t capacity) const
{
    const float v = displayMin + drawnValue() * (displayMax - displayMin);
    if (ratioDisplay == 1) {
        if (v > 0.0f)
            std::snprintf(text, capacity, "1:%3.1f %s", double(v + 1.0f), unit);
        else
            std::snprintf(text, capacity, "%3.1f:1 %s", double(1.0f - v), unit);
    } else {
        std::snprintf(text, capacity, displayMax - displayMin > 15.0f ? "%3.1f %s" : "%3.2f %s", double(v), unit);
    }
}

void VGGrommetKnob::paint(CDrawContext* context)
{
    ARSDrawContext* pic = beginPicture(context, true);
    if (!pic) return;
    const VGPalette& p = *palette;
    const ViewRect m(1, 1, width - 1, height - 1);
    const float A = float(m.right - m.left) * 0.125f;

    const float theta = drawnValue() * 300.0f - 120.0f;
    const auto below = [](float a) { return a < 0.0f ? a + 360.0f : a; };
    const auto above = [](float a) { return a >= 360.0f ? a - 360.0f : a; };
    const float start = below(theta - 90.0f), end = above(theta + 210.0f);
    const float dot1 = below(theta), dot2 = above(theta + 300.0f), pointer = above(theta + 330.0f);

    // The ring: a 300-degree pie, its ends capped by dots, its middle cut out in white.
    pic->setBrushColour(p[VGPalette::kBody]);
    pic->sweepArc(m, start, end, 1);
    pic->fillOval(dotAt(dot1));
    pic->fillOval(dotAt(dot2));
    pic->setBrushColour(kColourWhite);
    pic->fillOval(inset(m, std::int32_t(A)));

    const ViewRect dot = dotAt(pointer);
    pic->setBrushColour(p[VGPalette::kAccent]);
    pic->fillOval(dot);
    pic->setPenColour(halfIntensity(p[VGPalette::kAccent]));
    pic->strokeOval(dot);

    const ViewRect c = inset(m, 2 * std::int32_t(A));
    pic->setBrushColour(lightened(p[VGPalette::kFace]));
    pic->fillOval(c);
    pic->setPenColour(p[VGPalette::kFace]);
    pic->strokeOval(c);

    char text[2 * kTextCapacity + 64];  // any float, the ratio signs and the whole unit
    readout(text, sizeof text);
    textRect = ViewRect(m.left, c.top, m.right, c.bottom + 2);
    fitFont(pic, "0123", c.width(), c.height());
    pic->selectFont(fontId, fontSize, fontStyle);
    pic->setTextColour(p[VGPalette::kText]);
    pic->drawText(text, textRect, false, kAlignCentre);

    endPicture(pic, context);
}
