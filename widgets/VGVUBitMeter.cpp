#include "widgets/VGVUBitMeter.h"

#include "viewframework/ViewConstants.h"
#include "widgets/ARSDrawContext.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
constexpr float kMarks[VGVUBitMeter::kLamps + 1] = {1,   0,   -1,  -2,  -3,  -4,  -6,  -8,   -10,
                                                    -12, -14, -16, -20, -24, -28, -32, -40,  -48,
                                                    -56, -64, -80, -96, -116, -128, -144};

enum Channel { kRed, kGreen, kBlue };

// Red if it beats both others, else blue if it beats green, else green.
Channel largest(ViewColour c)
{
    if (c.red > c.green && c.red > c.blue) return kRed;
    return c.blue > c.green ? kBlue : kGreen;
}

ViewColour warning(ViewColour c)
{
    const Channel top = largest(c);
    return {top == kRed ? std::uint8_t(255) : std::uint8_t(c.red >> 3),
            top == kGreen ? std::uint8_t(255) : std::uint8_t(c.green >> 3),
            top == kBlue ? std::uint8_t(255) : std::uint8_t(c.blue >> 3), 255};
}

ViewColour primary(ViewColour c)
{
    const Channel top = largest(c);
    return {std::uint8_t(top == kRed ? 255 : 0), std::uint8_t(top == kGreen ? 255 : 0),
            std::uint8_t(top == kBlue ? 255 : 0), 255};
}

// f of the way from off to on; f is within 0..1.
ViewColour blend(ViewColour on, ViewColour off, float f)
{
    const auto mix = [&](std::uint8_t a, std::uint8_t b) {
        return std::uint8_t((std::int32_t(float(a) * f) + std::int32_t(float(b) * (1.0f - f))) & 0xFF);
    };
    return {mix(on.red, off.red), mix(on.green, off.green), mix(on.blue, off.blue), 255};
}

float unitClamped(float a)
{
    return a > 0.0f ? (a < 1.0f ? a : 1.0f) : 0.0f;  // NaN: 0
}
}  // namespace

VGVUBitMeter::VGVUBitMeter(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette)
    : VGControl(size, listener, tag, palette)
{
    for (int i = 0; i <= kLamps; ++i) {
        dbMarks[i] = kMarks[i];
        thresholds[i] = float(std::pow(10.0, double(kMarks[i]) * 0.05));
    }
    lampArea = ViewRect(1, 1, width - 1, height - 1);
    pitch = float(lampArea.height()) / 72.0f;
}

void VGVUBitMeter::setBitActivity(const float* activity)
{
    if (activity) std::memcpy(bitActivity, activity, sizeof bitActivity);
}

ViewColour VGVUBitMeter::lampColour(int t) const
{
    const ViewColour off = lightened((*palette)[VGPalette::kFace]);
    const ViewColour on = (*palette)[VGPalette::kAccent];
    if (!levelMode) return blend(on, off, unitClamped(bitActivity[kLamps - 1 - t]));
    // A level that is no number shows as silence.
    const float level = value() == value() ? value() : 0.0f;
    if (level < thresholds[t + 1]) return off;
    if (level > thresholds[t]) return level > 1.0f ? warning(on) : on;
    const float f = (level - thresholds[t + 1]) / (thresholds[t] - thresholds[t + 1]);
    const ViewColour mixed = blend(on, off, f);
    return level > 1.0f && t == 0 ? primary(mixed) : mixed;
}

ViewRect VGVUBitMeter::lampSquare(int t) const
{
    const std::int32_t top = std::int16_t(std::int32_t(float(t) * 3.0f * pitch + float(lampArea.top)));
    return ViewRect(lampArea.left, top, lampArea.right, top + lampArea.width());
}

void VGVUBitMeter::paint(CDrawContext* context)
{
    // The picture follows from the lamps' colours, the mode and whether the scale shows.
    struct {
        ViewColour lamps[kLamps];
        bool levels;
        bool scale;
    } drawn{};  // no padding: compared byte for byte
    static_assert(sizeof drawn == kLamps * sizeof(ViewColour) + 2);
    for (int t = 0; t < kLamps; ++t) drawn.lamps[t] = lampColour(t);
    drawn.levels = levelMode;
    drawn.scale = showScale;
    if (showKept(context, &drawn, sizeof drawn)) return;

    ARSDrawContext* pic = beginPicture(context, true);
    if (!pic) return;
    const VGPalette& p = *palette;
    lampArea = ViewRect(1, 1, width - 1, height - 1);
    pitch = float(lampArea.height()) / 72.0f;

    for (int t = 0; t < kLamps; ++t) {
        const ViewRect outer = lampSquare(t);
        const ViewRect inner(outer.left + 2, outer.top + 2, outer.right - 2, outer.bottom - 2);
        pic->setBrushColour(p[VGPalette::kBody]);
        pic->fillOval(outer);
        pic->setBrushColour(drawn.lamps[t]);
        pic->fillOval(inner);
        if (showScale) {
            char text[32];
            if (levelMode)
                std::snprintf(text, sizeof text, "%3.0f", double(dbMarks[t]));
            else
                std::snprintf(text, sizeof text, "%2d", kLamps - t);
            fitFont(pic, "0123", inner.width(), inner.height());
            fontSize += 3;
            pic->selectFont(fontId, fontSize, fontStyle);
            pic->setTextColour(p[VGPalette::kText]);
            pic->drawText(text, inner, false, kAlignCentre);
        }
    }
    endPicture(pic, context);
    keepState(&drawn, sizeof drawn);
}

void VGVUBitMeter::onMouseDown(CDrawContext* context, ViewPoint&, std::int32_t buttons)
{
    if (!clickProceeds(context, buttons)) return;
    showScale = !showScale;
    // The value did not change, but the picture did.
    setNeedsRedraw(true);
    reportClick(context);
}
