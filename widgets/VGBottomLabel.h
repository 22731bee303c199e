// The banner strip along the bottom of every editor: the name centred on a light warm grey field.
#pragma once

#include "widgets/VGControl.h"

class VGBottomLabel : public VGControl {
public:
    VGBottomLabel(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette);

    void paint(CDrawContext* context) override;
    void onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons) override;

    ViewColour backColour{239, 232, 229, 255};
};
