// A ring knob: a 300-degree ring in the body colour with rounded ends, a pointer dot in the accent
// colour riding on it, and a light cap in the middle carrying the read-out (plain or as a ratio).
#pragma once

#include "widgets/VGKnobBase.h"

class VGGrommetKnob : public VGKnobBase {
public:
    VGGrommetKnob(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette);

    void paint(CDrawContext* context) override;

    // 1: the read-out as a ratio ("1:4.0", "10.0:1"); 0: a plain number.
    void setRatioDisplay(std::int32_t on) { ratioDisplay = on; }
    std::int32_t getRatioDisplay() const { return ratioDisplay; }

    // The read-out for the current value, as paint draws it. At least 2 * kTextCapacity bytes.
    void readout(char* text, std::size_t capacity) const;

    // The dot of the ring whose centre sits at a clock angle (degrees clockwise from 12 o'clock),
    // in local coordinates.
    ViewRect dotAt(float clockDegrees) const;

private:
    std::int32_t ratioDisplay = 0;
};
