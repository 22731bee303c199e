// The drag of every knob: moving up or right raises the value, one knob height sweeps the whole
// range, and shift makes it zoomFactor times finer without a jump when it is pressed or released.
#pragma once

#include "widgets/VGControl.h"

class VGKnobBase : public VGControl {
public:
    VGKnobBase(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette);

    void onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons) override;

    void setZoomFactor(float f) { zoomFactor = f; }
    float getZoomFactor() const { return zoomFactor; }

protected:
    // The value as the picture shows it: 0..1, anything else (NaN included) at the nearer end.
    float drawnValue() const;

    float zoomFactor = 5.0f;
};
