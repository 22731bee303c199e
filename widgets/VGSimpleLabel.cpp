#include "widgets/VGSimpleLabel.h"

#include "viewframework/COffscreenContext.h"
#include "viewframework/ViewConstants.h"

VGSimpleLabel::VGSimpleLabel(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette)
    : VGControl(size, listener, tag, palette)
{
}

void VGSimpleLabel::paint(CDrawContext* context)
{
    if (!context || width <= 0 || height <= 0) return;
    auto* pic = new COffscreenContext(context->ownerFrame(), width, height, kColourBlack);
    if (!pic->valid()) {
        pic->release();
        return;
    }
    const ViewRect all(0, 0, width, height);
    // The aliased fill leaves row 0 and column 0 to the outline, which covers them.
    pic->setBrushColour(kColourWhite);
    pic->fillBox(all);
    pic->setPenColour(kColourWhite);
    pic->drawBox(all, kShapeStroked);
    fitFont(pic, name, width, height);
    fontSize = fontSize > 2 ? fontSize - 2 : 1;
    pic->selectFont(fontId, fontSize, fontStyle);
    pic->setTextColour((*palette)[VGPalette::kText]);
    pic->drawText(name, all, false, kAlignCentre);
    pic->blitTo(context, placement, ViewPoint(0, 0));
    pic->release();
    setNeedsRedraw(false);
}

void VGSimpleLabel::onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons)
{
    VGControl::onMouseDown(context, where, buttons);
}
