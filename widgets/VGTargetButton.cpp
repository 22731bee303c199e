#include "widgets/VGTargetButton.h"

#include "viewframework/ViewConstants.h"
#include "widgets/ARSDrawContext.h"

VGTargetButton::VGTargetButton(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette)
    : VGControl(size, listener, tag, palette)
{
    setValue(0.0f);
}

void VGTargetButton::paint(CDrawContext* context)
{
    ARSDrawContext* pic = beginPicture(context, true);
    if (!pic) return;
    const VGPalette& p = *palette;
    const ViewRect r(1, 1, width - 1, height - 1);
    const std::int32_t w = r.width(), h = r.height();
    const auto inset = [&](double f) {
        const std::int32_t dx = std::int32_t(w * f + 0.5), dy = std::int32_t(h * f + 0.5);
        return ViewRect(r.left + dx, r.top + dy, r.right - dx, r.bottom - dy);
    };

    pic->setBrushColour(p[VGPalette::kBody]);
    pic->fillOval(r);
    pic->setBrushColour(kColourWhite);
    pic->fillOval(inset(0.125));

    const bool on = value() > 0.5f;
    const ViewRect centre = inset(0.25);
    pic->setBrushColour(on ? p[VGPalette::kAccent] : lightened(p[VGPalette::kFace]));
    pic->fillOval(centre);
    pic->setPenColour(on ? halfIntensity(p[VGPalette::kAccent]) : p[VGPalette::kFace]);
    pic->strokeOval(centre);

    endPicture(pic, context);
}

void VGTargetButton::onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons)
{
    VGControl::onMouseDown(context, where, buttons);
}
