#include "widgets/VGBottomLabel.h"

#include "viewframework/ViewConstants.h"
#include "widgets/ARSDrawContext.h"

VGBottomLabel::VGBottomLabel(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette)
    : VGControl(size, listener, tag, palette)
{
}

void VGBottomLabel::paint(CDrawContext* context)
{
    // Its own field instead of the white card.
    ARSDrawContext* pic = beginPicture(context, false);
    if (!pic) return;
    const ViewRect all(0, 0, width, height);
    pic->setBrushColour(backColour);
    pic->fillBox(all);
    pic->setPenColour(backColour);
    pic->strokeBox(all);
    fitFont(pic, name, width, height);
    pic->selectFont(fontId, fontSize, 0);
    pic->setTextColour((*palette)[VGPalette::kText]);
    pic->drawText(name, all, false, kAlignCentre);
    endPicture(pic, context);
}

void VGBottomLabel::onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons)
{
    VGControl::onMouseDown(context, where, buttons);
}
