// A pill-shaped on/off switch: caption at the left, a round indicator at the right. While on it may
// show a second caption.
#pragma once

#include "widgets/VGControl.h"

class VGTextButton : public VGControl {
public:
    VGTextButton(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette);

    void paint(CDrawContext* context) override;
    void onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons) override;

    // Shown instead of the name while the value is above 0.5; ignored while empty. Cut at 255.
    void setAltText(const char* text) { copyText(altText, text); }
    const char* getAltText() const { return altText; }
    const ViewRect& getIndicatorRect() const { return indicatorRect; }

private:
    char altText[kTextCapacity] = {};
    ViewRect indicatorRect;
};
