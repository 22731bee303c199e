#include "widgets/VGMagicEye.h"

#include "viewframework/ViewConstants.h"
#include "widgets/ARSDrawContext.h"

#include <cmath>
#include <cstdio>
#include <cstring>

VGMagicEye::VGMagicEye(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette)
    : VGControl(size, listener, tag, palette), dbTable(new float[kTableSize])
{
    for (std::int32_t i = 0; i < kTableSize; ++i)
        dbTable[i] = float(20.0 * std::log10(double(i + 1) / double(kTableSize)));
    degPerDb = 180.0f / dbTable[0];
    setValue(0.0f);
}

float VGMagicEye::dbOf(float level) const
{
    // Written so that NaN fails the first test and lands at silence.
    if (!(level > 0.0f)) return dbTable[0];
    if (level >= 1.0f) return dbTable[kTableSize - 1];
    const std::int32_t i = std::int32_t(level * float(kTableSize));
    return dbTable[i < kTableSize ? i : kTableSize - 1];
}

void VGMagicEye::paint(CDrawContext* context)
{
    // The picture follows from the two levels in dB, the style and the read-out's text.
    struct {
        float dbA;
        float dbB;
        std::int32_t style;
        char text[kTextCapacity + 64];  // a dB value, a space and the whole unit
    } drawn;
    std::memset(&drawn, 0, sizeof drawn);
    drawn.dbA = dbOf(levelA);
    drawn.dbB = dbOf(levelB);
    drawn.style = style;
    std::snprintf(drawn.text, sizeof drawn.text, "%3.1f %s", double(drawn.dbA > drawn.dbB ? drawn.dbA : drawn.dbB),
                  unit);
    if (showKept(context, &drawn, sizeof drawn)) return;

    ARSDrawContext* pic = beginPicture(context, true);
    if (!pic) return;
    const VGPalette& p = *palette;
    const std::int32_t W = width, H = height;

    plotRect = ViewRect(3, 3, W - 3, H - 3);
    const float pw = float(plotRect.width()), ph = float(plotRect.height());
    readoutRect = ViewRect(std::int32_t(float(plotRect.left) + 0.3f * pw), std::int32_t(float(plotRect.top) + 0.3f * ph),
                           std::int32_t(float(plotRect.right) - 0.3f * pw),
                           std::int32_t(float(plotRect.bottom) - 0.3f * ph));

    const float dbA = drawn.dbA, dbB = drawn.dbB;
    const float a = dbB * degPerDb, b = dbA * degPerDb;

    pic->setPenColour(kColourBlack);
    pic->strokeOval(ViewRect(1, 1, W - 1, H - 1));
    pic->setBrushColour(halfIntensity(p[VGPalette::kAccent]));
    pic->fillOval(plotRect);
    pic->setBrushColour(p[VGPalette::kAccent]);
    if (style == 0) {
        pic->sweepArc(plotRect, -90.0f + a, 90.0f, 1);
        pic->sweepArc(plotRect, -270.0f, -90.0f - b, 1);
        pic->sweepArc(plotRect, 89.0f, 91.0f, 1);
    } else {
        pic->sweepArc(plotRect, -90.0f, -90.0f + a, 1);
        pic->sweepArc(plotRect, 270.0f - b, 270.0f, 1);
        pic->sweepArc(plotRect, 269.0f, -89.0f, 1);
    }

    pic->setBrushColour(p[VGPalette::kBody]);
    pic->fillOval(readoutRect);

    fitFont(pic, "0.00", readoutRect.width(), readoutRect.height());
    fontSize = fontSize > 3 ? fontSize - 2 : 1;
    pic->selectFont(fontId, fontSize, fontStyle);
    pic->setTextColour(p[VGPalette::kFace]);
    pic->drawText(drawn.text, readoutRect, false, kAlignCentre);

    endPicture(pic, context);
    keepState(&drawn, sizeof drawn);
}

void VGMagicEye::onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons)
{
    VGControl::onMouseDown(context, where, buttons);
}
