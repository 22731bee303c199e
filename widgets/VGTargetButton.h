// A small round bull's-eye switch; the editors use it to swap their palette for random colours.
#pragma once

#include "widgets/VGControl.h"

class VGTargetButton : public VGControl {
public:
    VGTargetButton(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette);

    void paint(CDrawContext* context) override;
    void onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons) override;
};
