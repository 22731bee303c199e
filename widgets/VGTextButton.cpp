#include "widgets/VGTextButton.h"

#include "viewframework/ViewConstants.h"
#include "widgets/ARSDrawContext.h"

VGTextButton::VGTextButton(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette)
    : VGControl(size, listener, tag, palette)
{
}

void VGTextButton::paint(CDrawContext* context)
{
    ARSDrawContext* pic = beginPicture(context, true);
    if (!pic) return;
    const std::int32_t W = width, H = height;
    const VGPalette& p = *palette;

    const double f = H * 0.125 + 0.5;
    textRect = ViewRect(std::int32_t(3 * f), std::int32_t(f), W - H, H - std::int32_t(f));
    const std::int32_t l = std::int32_t(H * 0.25 + 0.5);
    indicatorRect.top = l;
    indicatorRect.bottom = H - l;
    indicatorRect.right = W - l;
    indicatorRect.left = indicatorRect.right - (indicatorRect.bottom - indicatorRect.top);
    fitFont(pic, name, textRect.width(), textRect.height());

    // A stadium of the body colour over the whole widget, with a white field inside.
    pic->setBrushColour(p[VGPalette::kBody]);
    pic->fillOval(ViewRect(0, 0, H, H));
    pic->fillOval(ViewRect(W - H, 0, W, H));
    pic->fillBox(ViewRect(H >> 1, 0, W - (H >> 1), H));
    const std::int32_t k = (H >> 4) * 3, e = (H >> 4) * 13;
    pic->setBrushColour(kColourWhite);
    pic->fillOval(ViewRect(k, k, e, H - k));
    pic->fillOval(ViewRect(W - e, k, W - k, H - k));
    pic->fillBox(ViewRect((H >> 1) - 1, k, W - (H >> 1) + 1, H - k));

    const bool on = value() > 0.5f;
    pic->setBrushColour(on ? p[VGPalette::kAccent] : lightened(p[VGPalette::kFace]));
    pic->fillOval(indicatorRect);
    pic->setPenColour(on ? halfIntensity(p[VGPalette::kAccent]) : p[VGPalette::kFace]);
    pic->strokeOval(indicatorRect);

    pic->setTextColour(p[VGPalette::kText]);
    fontSize = fontSize > 1 ? fontSize - 1 : 1;
    pic->selectFont(fontId, fontSize, fontStyle);
    textRect.top -= 4;
    textRect.bottom += 4;
    pic->drawText(on && altText[0] ? altText : name, textRect, false, kAlignLeft);

    endPicture(pic, context);
}

void VGTextButton::onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons)
{
    VGControl::onMouseDown(context, where, buttons);
}
