// A caption on a white field, drawn with the framework's aliased text rather than anti-aliased.
#pragma once

#include "widgets/VGControl.h"

class VGSimpleLabel : public VGControl {
public:
    VGSimpleLabel(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette);

    void paint(CDrawContext* context) override;
    void onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons) override;
};
